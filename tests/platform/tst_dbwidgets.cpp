// Bound rich-text view and editors: following the current row, nulls, closed sets, writing back.
#include "platform/db/connection.h"
#include "platform/db/table.h"
#include "platform/richtext/rtfreader.h"
#include "platform/widgets/dbrichedit.h"
#include "platform/widgets/dbrichview.h"

#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// RTF in code page 936 as the bank stores it, each Chinese character as \'hh byte pairs.
QByteArray gbkRtf(const QString& text, bool bold = false)
{
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(text);
    QByteArray body;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            body += c;
        else
            body += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
    }
    return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0" +
           QByteArray(bold ? "\\b " : " ") + body + "\\par}";
}

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

} // namespace

class TestDbWidgets : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<db::Connection> cn_;
    std::unique_ptr<db::Recordset> rs_;
    std::unique_ptr<db::DataSource> ds_;

    // The stored value of a column, read afresh from the file.
    QVariant stored(const QString& column, const QString& key)
    {
        return cn_->scalar(QStringLiteral("select %1 from t where A1 = :k").arg(column), {{"k", key}});
    }

private slots:
    void initTestCase()
    {
        const QString path = dir_.filePath(QStringLiteral("w.db"));
        db::Connection::create(path, {});
        cn_ = std::make_unique<db::Connection>();
        cn_->openFile(path, {});
        cn_->execute(QStringLiteral("CREATE TABLE t (A1 TEXT(10) NOT NULL PRIMARY KEY, jx IMAGE, A14 MEMO)"));
        cn_->allowZeroLength(QStringLiteral("t"), {QStringLiteral("A14")});
    }

    void init()
    {
        cn_->execute(QStringLiteral("delete * from t"));
        const struct {
            const char* key;
            QVariant jx;
            QVariant note;
        } rows[] = {
            {"r1", gbkRtf(u8("第一题的解析：适用第十二条。")), u8("旧笔记")},
            {"r2", QVariant(), QVariant()},
            {"r3", u8("不是RTF的纯文本").toUtf8(), u8("")},
            {"r4", gbkRtf(u8("加粗的要点"), true), u8("  ")},
        };
        for (const auto& r : rows)
            cn_->execute(QStringLiteral("insert into t (A1, jx, A14) values (:k, :j, :n)"),
                         {{"k", QString::fromLatin1(r.key)}, {"j", r.jx}, {"n", r.note}});
        rs_ = std::make_unique<db::Recordset>(*cn_);
        rs_->open(QStringLiteral("select * from t order by A1"));
        ds_ = std::make_unique<db::DataSource>(rs_.get());
    }

    void cleanup()
    {
        ds_.reset();
        rs_.reset();
    }

    void viewFollowsTheCurrentRow()
    {
        widgets::DBRichView view;
        view.setDataSource(ds_.get(), QStringLiteral("jx"));
        QStringList seen;
        for (rs_->first(); !rs_->eof(); rs_->next())
            seen << view.plainText();
        QCOMPARE(seen, (QStringList{u8("第一题的解析：适用第十二条。"), QString(), u8("不是RTF的纯文本"),
                                    u8("加粗的要点")}));
        // Past the end the last row stays current and shown; back on a row by number.
        QVERIFY(rs_->eof());
        QCOMPARE(view.plainText(), u8("加粗的要点"));
        rs_->setRecNo(1);
        QCOMPARE(view.plainText(), u8("第一题的解析：适用第十二条。"));
        QVERIFY(view.isReadOnly());

        rs_->close();
        QCOMPARE(view.plainText(), QString());
        rs_->open(QStringLiteral("select * from t where A1 = 'r4'"));
        QCOMPARE(view.plainText(), u8("加粗的要点"));
        rs_->setFilter(QStringLiteral("A1 = 'none'"));
        rs_->setFiltered(true);
        QCOMPARE(view.plainText(), QString());
        rs_->setFiltered(false);
        QCOMPARE(view.plainText(), u8("加粗的要点"));

        view.setDataSource(nullptr, {});
        QCOMPARE(view.plainText(), QString());
        rs_->requery();
        QCOMPARE(view.plainText(), QString()); // unbound: no longer follows
    }

    void viewShowsGbkFormatting()
    {
        rs_->setRecNo(4);
        widgets::DBRichView view;
        view.setDataSource(ds_.get(), QStringLiteral("JX")); // field names ignore case
        QCOMPARE(view.plainText(), u8("加粗的要点"));
        QTextCursor c(view.document());
        c.setPosition(1);
        QVERIFY(c.charFormat().fontWeight() >= QFont::Bold);
    }

    void viewFollowsValueChanges()
    {
        widgets::DBRichView view;
        view.setDataSource(ds_.get(), QStringLiteral("jx"));
        rs_->setValue(QStringLiteral("jx"), gbkRtf(u8("改过的解析")));
        QCOMPARE(view.plainText(), u8("改过的解析"));
        rs_->cancel();
        QCOMPARE(view.plainText(), u8("第一题的解析：适用第十二条。"));
        rs_->setValue(QStringLiteral("jx"), QVariant());
        QCOMPARE(view.plainText(), QString());
        rs_->cancel();
    }

    // Signals that leave the shown bytes as they are do not load the document again.
    void viewSkipsUnchangedRows()
    {
        widgets::DBRichView view;
        view.setDataSource(ds_.get(), QStringLiteral("jx"));
        QSignalSpy loads(view.document(), &QTextDocument::contentsChanged);
        rs_->setValue(QStringLiteral("A14"), u8("别的字段"));
        rs_->post(); // raises dataChanged and currentChanged for the same row
        rs_->setRecNo(1);
        QCOMPARE(loads.count(), 0);
        rs_->next();
        QVERIFY(loads.count() > 0);
    }

    void missingFieldShowsNothing()
    {
        widgets::DBRichView view;
        view.setDataSource(ds_.get(), QStringLiteral("nosuch"));
        QCOMPARE(view.plainText(), QString());
        rs_->next();
        QCOMPARE(view.plainText(), QString());
        widgets::DBRichView empty;
        empty.setDataSource(ds_.get(), QString());
        QVERIFY(empty.dataSource() == nullptr);
    }

    void editorWritesRtfBack()
    {
        rs_->setRecNo(2); // null explanation
        widgets::DBRichEdit edit;
        edit.setDataSource(ds_.get(), QStringLiteral("jx"));
        QCOMPARE(edit.toPlainText(), QString());
        QTextCursor c(edit.document());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.insertText(u8("要点："), bold);
        c.insertText(u8("第三十条"), QTextCharFormat());
        edit.setTextCursor(c);
        edit.updateRecord();
        QCOMPARE(rs_->state(), db::Recordset::State::Edit);
        QCOMPARE(edit.textCursor().position(), c.position()); // the echo did not reload the editor
        rs_->post();

        const QByteArray rtf = stored(QStringLiteral("jx"), QStringLiteral("r2")).toByteArray();
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QTextDocument back;
        QVERIFY(richtext::readRtf(rtf, &back));
        QCOMPARE(back.toPlainText(), u8("要点：第三十条"));
        QTextCursor at(&back);
        at.setPosition(2);
        QVERIFY(at.charFormat().fontWeight() >= QFont::Bold);
        at.setPosition(5);
        QVERIFY(at.charFormat().fontWeight() < QFont::Bold);

        rs_->first();
        QCOMPARE(edit.toPlainText(), u8("第一题的解析：适用第十二条。"));
        rs_->next();
        QCOMPARE(edit.toPlainText(), u8("要点：第三十条"));
        QVERIFY(!edit.document()->isUndoAvailable()); // no undo into another row's text
    }

    void memoWritesPlainText_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed"); // "*" deletes everything; empty types nothing
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("untouched null stays null") << 2 << "" << QVariant();
        QTest::newRow("untouched text") << 1 << "" << QVariant(u8("旧笔记"));
        QTest::newRow("typed into null") << 2 << u8("第一行\n第二行") << QVariant(u8("第一行\n第二行"));
        QTest::newRow("appended") << 1 << u8("，再看") << QVariant(u8("旧笔记，再看"));
        QTest::newRow("blanks kept") << 3 << "  " << QVariant(u8("  "));
        QTest::newRow("all deleted") << 1 << "*" << QVariant(u8(""));
    }
    void memoWritesPlainText()
    {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QVariant, expected);
        rs_->setRecNo(row);
        const QString key = rs_->text(QStringLiteral("A1"));
        widgets::DBMemo memo;
        memo.setDataSource(ds_.get(), QStringLiteral("A14"));
        QCOMPARE(memo.toPlainText(), rs_->text(QStringLiteral("A14")));
        memo.moveCursor(QTextCursor::End);
        if (typed == QStringLiteral("*")) {
            memo.selectAll();
            QTest::keyClick(&memo, Qt::Key_Delete);
        } else if (!typed.isEmpty()) {
            memo.insertPlainText(typed);
        }
        memo.updateRecord();
        rs_->post();
        const QVariant now = stored(QStringLiteral("A14"), key);
        QCOMPARE(now.isNull(), expected.isNull());
        QCOMPARE(now.toString(), expected.toString());
        QVERIFY(!memo.isModified());
    }

    void unboundEditorsWriteNothing()
    {
        widgets::DBMemo memo;
        memo.insertPlainText(u8("无处可写"));
        memo.updateRecord();
        widgets::DBRichEdit edit;
        edit.setDataSource(ds_.get(), QStringLiteral("jx"));
        edit.setDataSource(nullptr, QStringLiteral("jx"));
        QCOMPARE(edit.toPlainText(), QString());
        edit.insertPlainText(u8("也无处可写"));
        edit.updateRecord();
        QCOMPARE(rs_->state(), db::Recordset::State::Browse);
    }
};

QTEST_MAIN(TestDbWidgets)
#include "tst_dbwidgets.moc"
