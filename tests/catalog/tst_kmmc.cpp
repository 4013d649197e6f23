// Subject catalog: rows and columns, the totals board, returning to the launched row, the
// question-set statements, empty sets, real practice, arrangements and the menu command.
#include "catalog/ukmmc.h"
#include "platform/widgets/recordsetmodel.h"
#include "practice/ujx.h"
#include "practice/ulxxt.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "shell/uconfig.h"
#include "shell/udlg.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_udlg.h"
#include "ui_ukmmc.h"

#include <QDir>
#include <QFile>
#include <QLCDNumber>
#include <QTableView>
#include <QTest>

namespace {
const QString Cols =
    QStringLiteral("a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,"
                   "xx,csbs,ecount from tab_answ");
const QString NewText = QStringLiteral("请联系书店，购买Veldmark《Orvanta》一书！");
} // namespace

class TestKmmc : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<TFrmkmmc> w_;
    struct DlgSeen {
        QString title, text;
        int page = -1;
    };
    std::vector<DlgSeen> dlgs_;

    void sql(const QString& s, const db::Params& p = {}) { DM1->ADOCn1.execute(s, p); }
    int count(const QString& select)
    {
        DM1->Cn1Query2.open(select);
        return DM1->Cn1Query2.recordCount();
    }

    void start(std::unique_ptr<TempBank> bank)
    {
        bank_ = std::move(bank);
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(StartProgram(nullptr, bank_->folder()));
    }
    // The small bank with the pictures the practice window draws its question grid with.
    // False when the source tree has no pictures to copy.
    bool startWithPictures()
    {
        start(std::make_unique<TempBank>());
        const QString pics = QFINDTESTDATA("../../assets/pic");
        const QStringList files = QDir(pics).entryList({QStringLiteral("*.bmp")});
        if (pics.isEmpty() || files.isEmpty()) return false;
        QDir().mkpath(bank_->folder() + QStringLiteral("pic"));
        for (const QString& f : files)
            QFile::copy(pics + u'/' + f, bank_->folder() + QStringLiteral("pic/") + f);
        return true;
    }
    // Creates the catalog and shows it, as the menu's modal loop would.
    TFrmkmmc& open()
    {
        w_ = std::make_unique<TFrmkmmc>();
        Frmkmmc = w_.get();
        w_->show();
        return *w_;
    }
    // Answers the next modal dialog: the program's message dialog is recorded, others rejected.
    void answerNext()
    {
        dialogs_->answerDialog([this](QDialog& d) {
            if (auto* dlg = qobject_cast<TFrmDlg*>(&d))
                dlgs_.push_back({dlg->ui->Label1->text(), dlg->ui->fcLabel1->text(),
                                 dlg->ui->epNoteBook1->currentIndex()});
            return int(QDialog::Rejected);
        });
    }
    // Makes the row with code current through the grid, as a click would.
    void selectRow(TFrmkmmc& w, const QString& code)
    {
        for (int r = 0; r < w.GridModel->rowCount(); ++r)
            if (w.GridModel->value(r, QStringLiteral("C1")).toString() == code) {
                w.ui->DBGrid1->setCurrentIndex(w.GridModel->index(r, 0));
                QCOMPARE(DM1->Cn1Table_kmmc.text(QStringLiteral("C1")), code);
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no grid row ") + code));
    }
    void launch(TFrmkmmc& w, const QString& trigger)
    {
        if (trigger == u"double") {
            emit w.ui->DBGrid1->doubleClicked(w.ui->DBGrid1->currentIndex());
            return;
        }
        QPushButton* b[] = {w.ui->SpeedButton1, w.ui->SpeedButton2, w.ui->SpeedButton3};
        b[trigger.toInt() - 1]->click();
    }
    // A bank with a subject, a part and chapters whose figures the test chooses.
    void addChapter(int bh, const QString& code, int c3, int d1, int d2)
    {
        sql(QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C4, D1, D2, C6) "
                           "values (:bh, :c, :t, :n, :c3, 0, :d1, :d2, '0')"),
            {{"bh", bh},
             {"c", code},
             {"t", QStringLiteral("标题") + code},
             {"n", QStringLiteral("名称") + code},
             {"c3", c3},
             {"d1", d1},
             {"d2", d2}});
    }

private slots:
    void init()
    {
        ResetGlobals();
        dlgs_.clear();
    }
    void cleanup()
    {
        w_.reset();
        Frmkmmc = nullptr;
        StopProgram();
        dialogs_.reset();
        bank_.reset();
    }

    void gridShowsRowsInOrderWithoutXx()
    {
        start(std::make_unique<TempBank>());
        sql(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3) values (0, 'xx', '隐藏', 1)"));
        sql(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3) values (99999, 'XX', '隐藏', 1)"));
        TFrmkmmc& w = open();
        DM1->Cn1Query2.open(QStringLiteral("select C1, C2 from tab_kmmc where c1<>'xx' order by bh"));
        QVERIFY(DM1->Cn1Query2.recordCount() > 8);
        QCOMPARE(w.GridModel->rowCount(), DM1->Cn1Query2.recordCount());
        for (int r = 0; !DM1->Cn1Query2.eof(); DM1->Cn1Query2.next(), ++r) {
            const QString code = DM1->Cn1Query2.text(QStringLiteral("C1"));
            QCOMPARE(w.GridModel->value(r, QStringLiteral("C1")).toString(), code);
            // Names are indented one full-width blank per level below the subject.
            const int level = code.length() <= 1 ? 0 : code.length() == 2 ? 1 : code.length() <= 4 ? 2 : 3;
            QCOMPARE(w.GridModel->index(r, 0).data().toString(),
                     QString(level, QChar(0x3000)) + DM1->Cn1Query2.text(QStringLiteral("C2")));
        }
        const QStringList headings{"章节名称", "习题数目", "已做题数", "已做道次", "做错道次", "综合成绩"};
        QCOMPARE(w.GridModel->columnCount(), 6);
        for (int c = 0; c < 6; ++c)
            QCOMPARE(w.GridModel->headerData(c, Qt::Horizontal).toString(), headings[c]);
        QVERIFY(w.GridModel->index(0, 5).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QVERIFY(!(w.GridModel->flags(w.GridModel->index(0, 1)) & Qt::ItemIsEditable));
        QCOMPARE(w.ui->DBGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(w.ui->DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        // Grid and dataset follow each other, and the chapter title follows the row.
        selectRow(w, QStringLiteral("320101"));
        QCOMPARE(CurrentChapterTitle, DM1->Cn1Table_kmmc.text(QStringLiteral("C1_1")));
        QVERIFY(!CurrentChapterTitle.isEmpty());
        QVERIFY(DM1->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("100201")));
        QCOMPARE(w.GridModel->value(w.ui->DBGrid1->currentIndex().row(), QStringLiteral("C1")).toString(),
                 QStringLiteral("100201"));
        // A figure written through the dataset appears in the grid.
        DM1->Cn1Table_kmmc.setValue(QStringLiteral("D1"), 4321);
        DM1->Cn1Table_kmmc.post();
        QCOMPARE(w.GridModel->index(w.ui->DBGrid1->currentIndex().row(), 3).data().toString(),
                 QStringLiteral("4321"));
    }

    void board_data()
    {
        QTest::addColumn<int>("c3");
        QTest::addColumn<int>("d1");
        QTest::addColumn<int>("d2");
        QTest::addColumn<int>("shownAll");
        QTest::addColumn<QString>("score");
        QTest::newRow("two thirds") << 40 << 3 << 1 << 80 << "66.67";
        QTest::newRow("eight and three") << 40 << 8 << 3 << 80 << "62.50";
        QTest::newRow("capped") << 12345 << 10 << 0 << 10000 << "100.00";
        QTest::newRow("all wrong") << 6 << 5 << 5 << 12 << "0.00";
        QTest::newRow("no answers") << 7 << 0 << 0 << 14 << "分数";
    }
    void board()
    {
        QFETCH(int, c3);
        QFETCH(int, d1);
        QFETCH(int, d2);
        QFETCH(int, shownAll);
        QFETCH(QString, score);
        start(std::make_unique<TempBank>(TempBank::EmptyBank{}));
        // Two chapters share the figures; the subject and part rows repeat them and must not count.
        addChapter(1, QStringLiteral("3"), c3 * 2, d1 * 2, d2 * 2);
        addChapter(2, QStringLiteral("31"), c3 * 2, d1 * 2, d2 * 2);
        addChapter(3, QStringLiteral("310101"), c3, d1, d2);
        addChapter(4, QStringLiteral("310102"), c3, d1, d2);
        TFrmkmmc& w = open();
        QCOMPARE(int(w.ui->epNum_all->value()), shownAll);
        QCOMPARE(int(w.ui->epNum_ok->value()), d1 * 2);
        QCOMPARE(int(w.ui->epNum_Err->value()), d2 * 2);
        QCOMPARE(w.ui->epNum_all->digitCount(), 5);
        QCOMPARE(w.ui->Lb_fs->text(), score);
    }

    void scoreKeptWithoutAnswers()
    {
        start(std::make_unique<TempBank>(TempBank::EmptyBank{}));
        addChapter(1, QStringLiteral("310101"), 10, 4, 1);
        TFrmkmmc& w = open();
        QCOMPARE(w.ui->Lb_fs->text(), QStringLiteral("75.00"));
        sql(QStringLiteral("update tab_kmmc set D1=0, D2=0"));
        w.hide();
        w.show();
        QCOMPARE(int(w.ui->epNum_ok->value()), 0);
        QCOMPARE(w.ui->Lb_fs->text(), QStringLiteral("75.00"));
    }

    void returnsToLastChapter()
    {
        start(std::make_unique<TempBank>(TempBank::EmptyBank{}));
        addChapter(1, QStringLiteral("A"), 0, 0, 0);
        addChapter(2, QStringLiteral("A1"), 0, 0, 0);
        addChapter(3, QStringLiteral("A10101"), 0, 0, 0);
        addChapter(4, QStringLiteral("A10102"), 0, 0, 0);
        TFrmkmmc& w = open();
        QCOMPARE(DM1->Cn1Table_kmmc.text(QStringLiteral("C1")), QStringLiteral("A")); // fresh: first row
        QCOMPARE(w.ui->DBGrid1->currentIndex().row(), 0);
        w.LastChapterCode = QStringLiteral("a10102");
        w.hide();
        w.show();
        QCOMPARE(DM1->Cn1Table_kmmc.text(QStringLiteral("C1")), QStringLiteral("A10102"));
        QCOMPARE(w.ui->DBGrid1->currentIndex().row(), 3);
        QCOMPARE(CurrentChapterTitle, QStringLiteral("标题A10102"));
        w.LastChapterCode = QStringLiteral("Z9");
        w.hide();
        w.show();
        QCOMPARE(DM1->Cn1Table_kmmc.recNo(), 1);
    }

    void headingRowsAreRefused_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("subject, new") << "3"
                                      << "1";
        QTest::newRow("part, wrong") << "31"
                                     << "2";
        QTest::newRow("part, review") << "32"
                                      << "3";
        QTest::newRow("subject, double click") << "1"
                                               << "double";
    }
    void headingRowsAreRefused()
    {
        QFETCH(QString, code);
        QFETCH(QString, trigger);
        start(std::make_unique<TempBank>());
        TFrmkmmc& w = open();
        selectRow(w, code);
        launch(w, trigger);
        QCOMPARE(dialogs_->messages().size(), size_t(1));
        QCOMPARE(dialogs_->messages()[0].text, QStringLiteral("请选择具体章节目录！"));
        QCOMPARE(dialogs_->messages()[0].title, QStringLiteral("提示"));
        QCOMPARE(dialogs_->messages()[0].icon, QMessageBox::Information);
        QVERIFY(dialogs_->dialogTitles().isEmpty());
        QVERIFY(QuestionSql.isEmpty());
        QCOMPARE(w.LastChapterCode, code);
        QVERIFY(w.isVisible());
    }

    void questionSql_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("expected");
        const QString where = QStringLiteral(" where (left(A10,6) = '310102')");
        QTest::newRow("new") << "310102"
                             << "1"
                             << "select a1 ," + Cols + where +
                                    " and (E2 = '' or E2 is null)  and (f1<>1)  order by a13,a10,xx,a1";
        QTest::newRow("wrong") << "310102"
                               << "2"
                               << "select a1," + Cols + " " + where +
                                      " and (E4 < 0)  and (f1<>1) order by a13,e3,e4,e1,xx,a1";
        QTest::newRow("review") << "310102"
                                << "3"
                                << "select a1," + Cols + where +
                                       " and (E2 is not null and E2 <> '') order by a13,e3,e4,e1,xx,a1";
        QTest::newRow("double click") << "310102"
                                      << "double"
                                      << "select a1 ," + Cols + where +
                                             " and (E2 = '' or E2 is null)  and (f1<>1)  order by a13,a10,xx";
        QTest::newRow("section") << "3201"
                                 << "1"
                                 << "select a1 ," + Cols +
                                        " where (left(A10,4) = '3201') and (E2 = '' or E2 is null)  and "
                                        "(f1<>1)  order by a13,a10,xx,a1";
        QTest::newRow("quote doubled") << "31'02"
                                       << "3"
                                       << "select a1," + Cols +
                                              " where (left(A10,5) = '31''02') and (E2 is not null and E2 "
                                              "<> '') order by a13,e3,e4,e1,xx,a1";
    }
    void questionSql()
    {
        QFETCH(QString, code);
        QFETCH(QString, trigger);
        QFETCH(QString, expected);
        start(std::make_unique<TempBank>());
        sql(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3) values (99999, :c, '引号', 0)"),
            {{"c", code}});
        TFrmkmmc& w = open();
        selectRow(w, code);
        answerNext();
        launch(w, trigger);
        QCOMPARE(QuestionSql, expected);
        QCOMPARE(w.LastChapterCode, code);
        QVERIFY(dialogs_->messages().empty());
        // The statement runs on the bank.
        DM1->Cn1Query2.open(QuestionSql);
        QVERIFY(DM1->Cn1Query2.isOpen());
    }

    void emptySets_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        const QString all = QStringLiteral("update tab_answ set E2='A', E4=0 where A10 like '310102%'");
        QTest::newRow("no wrong questions") << ""
                                            << "2"
                                            << "本章节下没有错题！" << 1;
        QTest::newRow("never answered") << ""
                                        << "3"
                                        << "本章节习题还未曾做过！" << 1;
        QTest::newRow("only empty answers") << "update tab_answ set E2='' where A10 like '310102%'"
                                            << "3"
                                            << "本章节习题还未曾做过！" << 1;
        QTest::newRow("all answered") << all << "1" << NewText << 0;
        QTest::newRow("all answered, double click") << all << "double" << NewText << 0;
        QTest::newRow("f1 null") << "update tab_answ set f1=null where A10 like '310102%'"
                                 << "1" << NewText << 0;
        QTest::newRow("wrong but voided") << "update tab_answ set E4=-1, f1=1 where A10 like '310102%'"
                                          << "2"
                                          << "本章节下没有错题！" << 1;
    }
    void emptySets()
    {
        QFETCH(QString, setup);
        QFETCH(QString, trigger);
        QFETCH(QString, text);
        QFETCH(int, page);
        if (!startWithPictures()) QSKIP("the practice pictures are not in the source tree");
        QVERIFY(count(QStringLiteral("select a1 from tab_answ where A10 like '310102%'")) > 0);
        if (!setup.isEmpty()) sql(setup);
        TFrmkmmc& w = open();
        selectRow(w, QStringLiteral("310102"));
        answerNext();
        launch(w, trigger);
        QCOMPARE(count(QuestionSql), 0);
        QCOMPARE(dlgs_.size(), size_t(1));
        QCOMPARE(dlgs_[0].title, QStringLiteral("提示"));
        QCOMPARE(dlgs_[0].text, text);
        QCOMPARE(dlgs_[0].page, page);
        QVERIFY(w.isVisible());
        QVERIFY(!FrmLxxt);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(DM1->Cn1Table_kmmc.text(QStringLiteral("C1")), QStringLiteral("310102"));
    }

    void launchesPractice_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("new") << ""
                             << "1";
        QTest::newRow("wrong") << "update tab_answ set E2='B', E4=-1 where A10 like '320101%'"
                               << "2";
        QTest::newRow("review of a voided one")
            << "update tab_answ set E2='zero', f1=1 where A10 like '320101%'"
            << "3";
    }
    void launchesPractice()
    {
        QFETCH(QString, setup);
        QFETCH(QString, trigger);
        if (!startWithPictures()) QSKIP("the practice pictures are not in the source tree");
        if (!setup.isEmpty()) sql(setup);
        TFrmkmmc& w = open();
        selectRow(w, QStringLiteral("320101"));
        selectRow(w, QStringLiteral("310102")); // elsewhere, then back: the launched row is what counts
        selectRow(w, QStringLiteral("320101"));
        const QString title = CurrentChapterTitle;
        bool catalogHidden = false;
        bool isPractice = false;
        dialogs_->answerDialog([&](QDialog& d) {
            isPractice = qobject_cast<TFrmLxxt*>(&d) && FrmLxxt == &d;
            catalogHidden = !w.isVisible();
            // Something the practice counts: the catalog shows it on return.
            sql(QStringLiteral("update tab_kmmc set D1=D1+7 where C1='320101'"));
            return int(QDialog::Rejected);
        });
        selectRow(w, QStringLiteral("3")); // the board must come back fresh, not from this row
        selectRow(w, QStringLiteral("320101"));
        const int before = int(w.ui->epNum_ok->value());
        launch(w, trigger);
        QVERIFY(count(QuestionSql) > 0);
        QVERIFY(isPractice);
        QVERIFY(catalogHidden);
        QVERIFY(dlgs_.empty());
        QVERIFY(w.isVisible());
        QVERIFY(!FrmLxxt);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(CurrentChapterTitle, title);
        QCOMPARE(DM1->Cn1Table_kmmc.text(QStringLiteral("C1")), QStringLiteral("320101"));
        QCOMPARE(int(w.ui->epNum_ok->value()), before + 7);
    }

    void buttons()
    {
        start(std::make_unique<TempBank>());
        TFrmkmmc& w = open();
        const std::pair<QPushButton*, const char*> captions[] = {
            {w.ui->SpeedButton1, "练习新题"}, {w.ui->SpeedButton2, "错题重做"},
            {w.ui->SpeedButton3, "习题重温"}, {w.ui->SpeedButton5, "试题录入"},
            {w.ui->SpeedButton4, "设置"},     {w.ui->SpeedButton6, "关闭"},
            {w.ui->SpeedButton7, "解析指导"}};
        for (const auto& [b, caption] : captions)
            QCOMPARE(b->text(), QString::fromUtf8(caption));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        // Entry does nothing yet.
        w.ui->SpeedButton5->click();
        QVERIFY(dialogs_->dialogTitles().isEmpty());
        // Explanation of the current row, then the normal cursor.
        selectRow(w, QStringLiteral("310102"));
        bool jx = false;
        dialogs_->answerDialog([&](QDialog& d) {
            jx = qobject_cast<TFrmJx*>(&d) && FrmJx == &d;
            return int(QDialog::Accepted);
        });
        w.ui->SpeedButton7->click();
        QVERIFY(jx);
        QVERIFY(!FrmJx);
        QVERIFY(!QApplication::overrideCursor());
        // Settings in music mode, owned by the catalog.
        ConfigMode = 1;
        bool config = false;
        dialogs_->answerDialog([&](QDialog& d) {
            config = qobject_cast<TFrmConfig*>(&d) && FrmConfig == &d && d.parent() == &w && ConfigMode == 0;
            return int(QDialog::Rejected);
        });
        w.ui->SpeedButton4->click();
        QVERIFY(config);
        QVERIFY(!FrmConfig);
        // Closing closes the catalog's datasets.
        QVERIFY(DM1->Cn1Table_kmmc.isOpen() && DM1->Cn1Query1.isOpen());
        w.ui->SpeedButton6->click();
        QVERIFY(!w.isVisible());
        QVERIFY(!DM1->Cn1Table_kmmc.isOpen());
        QVERIFY(!DM1->Cn1Query1.isOpen());
    }

    void arrangements_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QSize>("screen");
        QTest::newRow("800") << "800" << QSize(800, 600);
        QTest::newRow("1024") << "1024" << QSize(1024, 768);
    }
    void arrangements()
    {
        QFETCH(QString, mode);
        QFETCH(QSize, screen);
        start(std::make_unique<TempBank>());
        ScreenMode = mode;
        TFrmkmmc& w = open();
        QVERIFY(w.width() <= screen.width() && w.height() <= screen.height());
        QVERIFY(w.width() > screen.width() * 3 / 4);
        QList<QWidget*> parts{w.ui->DBGrid1,      w.ui->BoardFrame,   w.ui->SpeedButton1,
                              w.ui->SpeedButton2, w.ui->SpeedButton3, w.ui->SpeedButton7,
                              w.ui->SpeedButton5, w.ui->SpeedButton4, w.ui->SpeedButton6};
        for (QWidget* p : parts) {
            QVERIFY2(w.rect().contains(p->geometry()), qPrintable(p->objectName()));
            for (QWidget* q : parts)
                if (p != q) QVERIFY2(!p->geometry().intersects(q->geometry()), qPrintable(p->objectName()));
        }
        for (QWidget* v : {static_cast<QWidget*>(w.ui->epNum_all), static_cast<QWidget*>(w.ui->Lb_fs)})
            QVERIFY(w.ui->BoardFrame->rect().contains(v->geometry()));
        // The figure columns fit beside a name column that keeps most of the width.
        int figures = 0;
        for (int c = 1; c < 6; ++c)
            figures += w.ui->DBGrid1->columnWidth(c);
        QVERIFY(w.ui->DBGrid1->columnWidth(0) >= figures * 2 / 3);
    }

    void menuCommandOpensCatalog_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("subject");
        QTest::newRow("lx") << "lx" << 1;
        QTest::newRow("lx3") << "lx3" << 3;
        QTest::newRow("lx5") << "lx5" << 5;
    }
    void menuCommandOpensCatalog()
    {
        QFETCH(QString, word);
        QFETCH(int, subject);
        start(std::make_unique<TempBank>());
        bool opened = false;
        int seenSubject = 0;
        dialogs_->answerDialog([&](QDialog& d) {
            auto* w = qobject_cast<TFrmkmmc*>(&d);
            opened = w && Frmkmmc == w;
            seenSubject = CurrentSubject;
            d.show(); // what the modal loop does first
            if (w) w->ui->SpeedButton6->click();
            return d.result();
        });
        FrmStart->ShockwaveFlash1FSCommand(word, QString());
        QVERIFY(opened);
        QCOMPARE(seenSubject, subject);
        QCOMPARE(CurrentSubject, subject);
        QVERIFY(!Frmkmmc);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!DM1->Cn1Table_kmmc.isOpen());
    }
};

QTEST_MAIN(TestKmmc)
#include "tst_kmmc.moc"
