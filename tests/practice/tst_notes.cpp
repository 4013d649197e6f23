// Notes and explanation windows: what is stored on closing, NoteHasText, input-method choice,
// the explanation shown read-only.
#include "platform/desktop/inputmethod.h"
#include "platform/desktop/modal.h"
#include "practice/ubj.h"
#include "practice/ujx.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/startup.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_ubj.h"
#include "ui_ujx.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QStringEncoder>
#include <QTest>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// An explanation as the bank stores it: RTF with the Chinese text as GBK byte pairs.
QByteArray gbkRtf(const QString& text)
{
    QStringEncoder gbk("GBK");
    QByteArray body;
    for (const char c : QByteArray(gbk.encode(text))) {
        const auto b = static_cast<unsigned char>(c);
        body += b < 0x80 ? QByteArray(1, c) : "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
    }
    return "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0 " + body +
           "\\par}";
}

// What the learner does in the notes window before closing it.
enum class Typing { Nothing, Append, ReplaceWithBlanks, DeleteAll };

} // namespace

Q_DECLARE_METATYPE(Typing)

class TestNotes : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    QStringList offered_;  // input methods the test framework pretends to have
    QStringList refusing_; // of those, the ones that cannot be switched to
    QStringList selected_; // what the window asked for, in order
    QWidget* selectedFor_ = nullptr;

    // Every column of a tab_answ row, read with a fresh query.
    QVariantList answRow(const QString& key)
    {
        db::Recordset rs(DM1->ADOCn1);
        rs.open(QStringLiteral("select * from tab_answ where A1 = :k"), {{"k", key}});
        QVariantList values;
        for (int i = 0; i < rs.fieldCount(); ++i)
            values << rs.value(i);
        return values;
    }
    int a14Index()
    {
        db::Recordset rs(DM1->ADOCn1);
        rs.open(QStringLiteral("select * from tab_answ where A1 = ''"));
        return rs.fieldIndex(QStringLiteral("A14"));
    }

    // Opens the notes window on the question with the key as a practice window does.
    void openNotes(const QString& key, const std::function<void(TFrmBj&)>& act, bool closeBox = false)
    {
        QVERIFY(DM1->Cn1Query_tm.locate(QStringLiteral("A1"), key));
        FrmBj = new TFrmBj;
        FrmBj->bind(&DM1->Cn1DS_tm, QStringLiteral("A14"));
        dialogs_->answerDialog([&](QDialog& d) {
            auto& w = static_cast<TFrmBj&>(d);
            w.show();
            act(w);
            if (closeBox)
                w.close();
            else
                w.ui->epEfTrBtn1->click();
            return w.result();
        });
        desktop::execModal(*FrmBj);
        delete FrmBj;
        QVERIFY(FrmBj == nullptr);
    }

private slots:
    void init()
    {
        ResetGlobals();
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        DM1 = new TDM1(bank_->folder());
        QVERIFY(DM1->ConnectOk);
        ApplyLook(AppPath);
        dialogs_ = std::make_unique<ScriptedDialogs>();
        offered_.clear();
        refusing_.clear();
        selected_.clear();
        selectedFor_ = nullptr;
        desktop::setInputMethodProvider({[this] { return offered_; },
                                         [this](QWidget* w, const QString& name) {
                                             selected_ << name;
                                             selectedFor_ = w;
                                             return !refusing_.contains(name);
                                         }});
        // Three questions: a note, no note, a note of blanks; article links unused (null).
        const struct {
            const char* key;
            QVariant note;
            QVariant jx;
        } rows[] = {
            {"1010101001", u8("旧笔记：注意第五条"), gbkRtf(u8("本题考查消防安全责任制。"))},
            {"1010101002", QVariant(), QVariant()},
            {"1010101003", u8("   "), gbkRtf(u8("第二题解析"))},
        };
        for (const auto& r : rows) {
            const QString key = QString::fromLatin1(r.key);
            DM1->ADOCn1.execute(
                QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, A14, E3, E4, F1) "
                               "values (:k, 'A', 4, '101010', 61, :n, 2, 1, 0)"),
                {{"k", key}, {"n", r.note}});
            DM1->ADOCn1.execute(QStringLiteral("insert into tab_exer (A1, A15, jx) values (:k, :q, :j)"),
                                {{"k", key}, {"q", gbkRtf(u8("题干"))}, {"j", r.jx}});
        }
        DM1->Cn1Query_tm.open(QStringLiteral("select * from tab_answ order by A1"));
        DM1->cn1query_nr.open(QStringLiteral("select * from tab_exer order by A1"));
    }
    void cleanup()
    {
        desktop::setInputMethodProvider({});
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        dialogs_.reset();
        delete DM1;
        bank_.reset();
    }

    void notesAreStoredOnClosing_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Typing>("typing");
        QTest::addColumn<QString>("text"); // typed, through the input method
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("hasText");
        QTest::newRow("untouched note")
            << "1010101001" << Typing::Nothing << "" << false << QVariant(u8("旧笔记：注意第五条")) << true;
        QTest::newRow("untouched, no note")
            << "1010101002" << Typing::Nothing << "" << false << QVariant() << false;
        QTest::newRow("untouched blanks")
            << "1010101003" << Typing::Nothing << "" << false << QVariant(u8("   ")) << false;
        QTest::newRow("typed new note") << "1010101002" << Typing::Append << u8("易错：期限是三十日") << false
                                        << QVariant(u8("易错：期限是三十日")) << true;
        QTest::newRow("added to a note") << "1010101001" << Typing::Append << u8("；已复习") << false
                                         << QVariant(u8("旧笔记：注意第五条；已复习")) << true;
        QTest::newRow("only blanks") << "1010101002" << Typing::ReplaceWithBlanks << "" << false
                                     << QVariant(u8("  \n ")) << false;
        QTest::newRow("all deleted") << "1010101001" << Typing::DeleteAll << "" << false << QVariant(u8(""))
                                     << false;
        QTest::newRow("closed by the close box")
            << "1010101002" << Typing::Append << u8("记住") << true << QVariant(u8("记住")) << true;
    }
    void notesAreStoredOnClosing()
    {
        QFETCH(QString, key);
        QFETCH(Typing, typing);
        QFETCH(QString, text);
        QFETCH(bool, closeBox);
        QFETCH(QVariant, stored);
        QFETCH(bool, hasText);
        const QVariantList before = answRow(key);
        NoteHasText = !hasText; // the window must set it either way
        QString shownAtOpen;
        bool editing = false;
        openNotes(
            key,
            [&](TFrmBj& w) {
                editing = DM1->Cn1Query_tm.state() == db::Recordset::State::Edit;
                QPlainTextEdit* memo = w.ui->DBMemo1;
                shownAtOpen = memo->toPlainText();
                switch (typing) {
                case Typing::Nothing:
                    break;
                case Typing::Append: {
                    memo->moveCursor(QTextCursor::End);
                    QInputMethodEvent commit;
                    commit.setCommitString(text);
                    QApplication::sendEvent(memo, &commit);
                    break;
                }
                case Typing::ReplaceWithBlanks:
                    QTest::keyClicks(memo, QStringLiteral("  "));
                    QTest::keyClick(memo, Qt::Key_Return);
                    QTest::keyClick(memo, Qt::Key_Space);
                    break;
                case Typing::DeleteAll:
                    memo->selectAll();
                    QTest::keyClick(memo, Qt::Key_Backspace);
                    break;
                }
            },
            closeBox);
        QVERIFY(editing);
        QCOMPARE(shownAtOpen, before.value(a14Index()).toString());
        QCOMPARE(NoteHasText, hasText);
        QCOMPARE(DM1->Cn1Query_tm.state(), db::Recordset::State::Browse);
        QCOMPARE(DM1->Cn1Query_tm.text(QStringLiteral("A1")), key); // still on the question
        QVariantList expected = before;
        expected[a14Index()] = stored;
        const QVariantList after = answRow(key);
        QCOMPARE(after.size(), expected.size());
        for (int i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].isNull(), expected[i].isNull());
            QCOMPARE(after[i].toString(), expected[i].toString());
        }
    }

    void notesWindowLooksAsSpecified()
    {
        QString caption, button;
        bool scrollBar = false, modal = false;
        openNotes(QStringLiteral("1010101001"), [&](TFrmBj& w) {
            caption = w.windowTitle();
            button = w.ui->epEfTrBtn1->text();
            scrollBar = w.ui->DBMemo1->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
            modal = w.isModal();
        });
        QCOMPARE(caption, u8("笔记"));
        QCOMPARE(button, u8("关  闭"));
        QVERIFY(scrollBar);
        QVERIFY(modal);
    }

    void postErrorReachesTheCaller()
    {
        QVERIFY(DM1->Cn1Query_tm.locate(QStringLiteral("A1"), QStringLiteral("1010101002")));
        TFrmBj w;
        w.bind(&DM1->Cn1DS_tm, QStringLiteral("A14"));
        w.show();
        w.ui->DBMemo1->insertPlainText(u8("写不进去"));
        DM1->ADOCn1.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON tab_answ "
                                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        QVERIFY_THROWS_EXCEPTION(db::Error, w.FormClose());
        QCOMPARE(DM1->Cn1Query_tm.state(), db::Recordset::State::Edit); // not swallowed, not posted
        QVERIFY(answRow(QStringLiteral("1010101002")).value(a14Index()).isNull());
        DM1->Cn1Query_tm.cancel();
        DM1->ADOCn1.execute(QStringLiteral("DROP TRIGGER refuse"));
    }

    void inputMethodPreference_data()
    {
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("refusing");
        QTest::addColumn<QStringList>("asked"); // the selections tried, in order
        const QString abc = u8("智能ABC输入法"), wubi = u8("五笔字型输入法"), other = u8("拼音输入法");
        QTest::newRow("both") << QStringList{wubi, other, abc} << QStringList{} << QStringList{abc};
        QTest::newRow("only wubi") << QStringList{other, wubi} << QStringList{} << QStringList{wubi};
        QTest::newRow("neither") << QStringList{other} << QStringList{} << QStringList{};
        QTest::newRow("no framework") << QStringList{} << QStringList{} << QStringList{};
        QTest::newRow("abc cannot switch")
            << QStringList{abc, wubi} << QStringList{abc} << QStringList{abc, wubi};
        QTest::newRow("names match exactly")
            << QStringList{u8("智能ABC"), wubi + u' '} << QStringList{} << QStringList{};
    }
    void inputMethodPreference()
    {
        QFETCH(QStringList, offered);
        QFETCH(QStringList, refusing);
        QFETCH(QStringList, asked);
        offered_ = offered;
        refusing_ = refusing;
        QWidget* memo = nullptr;
        openNotes(QStringLiteral("1010101002"), [&](TFrmBj& w) {
            memo = w.ui->DBMemo1;
            QTest::keyClicks(w.ui->DBMemo1, QStringLiteral("ok"));
        });
        QCOMPARE(selected_, asked);
        if (!asked.isEmpty()) QCOMPARE(selectedFor_, memo);
        // Whatever the method, the note is typed and kept.
        QCOMPARE(answRow(QStringLiteral("1010101002")).value(a14Index()).toString(), QStringLiteral("ok"));
        QVERIFY(NoteHasText);
    }

    void explanationShowsTheRow_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("explanation") << "1010101001"
                                     << "jx" << u8("本题考查消防安全责任制。");
        QTest::newRow("another row") << "1010101003"
                                     << "jx" << u8("第二题解析");
        QTest::newRow("null explanation") << "1010101002"
                                          << "jx" << QString();
        QTest::newRow("missing field") << "1010101001"
                                       << "nosuch" << QString();
    }
    void explanationShowsTheRow()
    {
        QFETCH(QString, key);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        QVERIFY(DM1->cn1query_nr.locate(QStringLiteral("A1"), key));
        // Callers set the hourglass while they build the window.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        FrmJx = new TFrmJx;
        FrmJx->bind(&DM1->Cn1DS_nr, field); // a failed binding is swallowed
        QString text, caption, button;
        bool readOnly = false, cursorRestored = false;
        dialogs_->answerDialog([&](QDialog& d) {
            auto& w = static_cast<TFrmJx&>(d);
            w.show();
            cursorRestored = QApplication::overrideCursor() == nullptr;
            readOnly = w.ui->RxDBRichEdit1->isReadOnly();
            text = w.ui->RxDBRichEdit1->plainText();
            caption = w.windowTitle();
            button = w.ui->epEfTrBtn1->text();
            QTest::keyClicks(w.ui->RxDBRichEdit1, QStringLiteral("x"));
            w.ui->epEfTrBtn1->click();
            return w.result();
        });
        QCOMPARE(desktop::execModal(*FrmJx), int(QDialog::Accepted));
        delete FrmJx;
        QVERIFY(FrmJx == nullptr);
        QCOMPARE(text, shown);
        QVERIFY(readOnly);
        QVERIFY(cursorRestored);
        QCOMPARE(caption, u8("解析"));
        QCOMPARE(button, u8("关闭"));
        // Read-only: the explanation in the bank is as it was.
        QCOMPARE(DM1->cn1query_nr.state(), db::Recordset::State::Browse);
    }

    void explanationWithoutDataSource()
    {
        TFrmJx w;
        w.bind(nullptr, QStringLiteral("jx"));
        QCOMPARE(w.ui->RxDBRichEdit1->plainText(), QString());
        DM1->cn1query_nr.close();
        TFrmJx closed;
        closed.bind(&DM1->Cn1DS_nr, QStringLiteral("jx")); // closed dataset: bound, shows nothing
        QCOMPARE(closed.ui->RxDBRichEdit1->plainText(), QString());
        DM1->cn1query_nr.open(QStringLiteral("select * from tab_exer order by A1"));
        QCOMPARE(closed.ui->RxDBRichEdit1->plainText(), u8("本题考查消防安全责任制。"));
    }
};

QTEST_MAIN(TestNotes)
#include "tst_notes.moc"
