#include "dm.h"

#include "common.h"
#include "platform/system/clock.h"
#include "schema.h"

#include <QCoreApplication>
#include <QDir>

TDM1* DM1 = nullptr;

TDM1::TDM1(const QString& programFolder, QObject* parent) : QObject(parent), programFolder_(programFolder)
{
    Cn1Table_kmmc.setTableName(QStringLiteral("tab_kmmc"));
    Cn1Table_kmmc.setIndexFieldNames(QStringLiteral("bh"));
    Cn1Table_tx.setTableName(QStringLiteral("tab_tx1"));
    Cn1Table_tx.setIndexFieldNames(QStringLiteral("A1"));
    Cn1Table_rz.setTableName(QStringLiteral("tab_rz"));
    Cn1Table_cj.setTableName(QStringLiteral("tab_cj"));
    Cn1Table_fgmc.setTableName(QStringLiteral("tab_fgmc"));
    Cn1Table_plan.setTableName(QStringLiteral("tab_plan"));
    connect(&Cn1DS_kmmc, &db::DataSource::dataChange, this, &TDM1::Cn1DS_kmmcDataChange);
    DataModuleCreate();
}

TDM1::~TDM1()
{
    if (DM1 == this) DM1 = nullptr;
}

void TDM1::DataModuleCreate()
{
    try {
        QString folder = programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
        folder = QDir::fromNativeSeparators(folder);
        if (!folder.endsWith(u'/')) folder += u'/';
        AppPath = folder;
        const QString cs = schema::connectionString(AppPath + QString::fromLatin1(schema::BankRelativePath),
                                                    QString::fromLatin1(schema::BankPassword));
        if (ADOCn1.isOpen()) ADOCn1.close();
        ADOCn1.open(cs);
        ConnectOk = true;
    } catch (const std::exception&) {
        ConnectOk = false;
    }
}

void TDM1::Cn1DS_kmmcDataChange()
{
    CurrentChapterTitle.clear();
    try {
        if (Cn1Table_kmmc.isOpen() && !Cn1Table_kmmc.isEmpty())
            CurrentChapterTitle = Cn1Table_kmmc.text(QStringLiteral("C1_1"));
    } catch (const std::exception&) {
        // The handler never fails visibly.
    }
}

void TDM1::LogAnswer(int firstToday, int wrong, int previousWrong)
{
    Cn1Table_rz.openIfClosed();
    const QDate today = platform::today();
    if (!Cn1Table_rz.locate(QStringLiteral("A1"), today)) {
        Cn1Table_rz.append();
        Cn1Table_rz.setValue(QStringLiteral("A1"), today);
        Cn1Table_rz.setValue(QStringLiteral("A2"), 1);
        Cn1Table_rz.setValue(QStringLiteral("B1"), 1);
        if (wrong == 2) {
            Cn1Table_rz.setValue(QStringLiteral("A3"), 1);
            Cn1Table_rz.setValue(QStringLiteral("B2"), 1);
        }
        Cn1Table_rz.post();
        return;
    }
    auto add = [this](const char* field, int delta) {
        const QString f = QString::fromLatin1(field);
        Cn1Table_rz.setValue(f, Cn1Table_rz.integer(f) + delta);
    };
    Cn1Table_rz.edit();
    add("A2", 1);
    if (wrong == 2) add("A3", 1);
    if (firstToday == 2) {
        add("B1", 1);
        if (wrong == 2) add("B2", 1);
    } else {
        if (previousWrong == 1 && wrong == 2) add("B2", 1);
        if (previousWrong == 2 && wrong == 1) add("B2", -1);
    }
    Cn1Table_rz.post();
}

void TDM1::CountChapterAnswer(const QString& chapterCode, int firstEver, int wrong)
{
    Cn1Table_kmmc.openIfClosed();
    for (qsizetype len = chapterCode.size(); len >= 1; --len) {
        if (!Cn1Table_kmmc.locate(QStringLiteral("C1"), chapterCode.left(len))) continue;
        Cn1Table_kmmc.edit();
        if (firstEver == 2)
            Cn1Table_kmmc.setValue(QStringLiteral("C4"), Cn1Table_kmmc.integer(QStringLiteral("C4")) + 1);
        Cn1Table_kmmc.setValue(QStringLiteral("D1"), Cn1Table_kmmc.integer(QStringLiteral("D1")) + 1);
        if (wrong == 2)
            Cn1Table_kmmc.setValue(QStringLiteral("D2"), Cn1Table_kmmc.integer(QStringLiteral("D2")) + 1);
        Cn1Table_kmmc.post();
    }
}

namespace {
QString percentText(qint64 total, qint64 wrong)
{
    if (total <= 0) return QStringLiteral("0");
    return QString::number(double(total - wrong) / double(total) * 100.0, 'f', 2);
}
} // namespace

void TDM1::AddStudyTime(const QString& elapsed)
{
    Cn1Table_rz.openIfClosed();
    if (Cn1Table_rz.locate(QStringLiteral("A1"), platform::today())) {
        Cn1Table_rz.edit();
        Cn1Table_rz.setValue(QStringLiteral("A4"), percentText(Cn1Table_rz.integer(QStringLiteral("A2")),
                                                               Cn1Table_rz.integer(QStringLiteral("A3"))));
        const int64_t total = TimeToSeconds(Cn1Table_rz.text(QStringLiteral("D1"))) + TimeToSeconds(elapsed);
        Cn1Table_rz.setValue(QStringLiteral("D1"), SecondsToTime(total));
        Cn1Table_rz.post();
    }
    // Every chapter's overall score, in one transaction: one durable write, not one per row.
    Cn1Table_kmmc.openIfClosed();
    ADOCn1.begin();
    try {
        for (Cn1Table_kmmc.first(); !Cn1Table_kmmc.eof(); Cn1Table_kmmc.next()) {
            const QString c6 = percentText(Cn1Table_kmmc.integer(QStringLiteral("D1")),
                                           Cn1Table_kmmc.integer(QStringLiteral("D2")));
            if (Cn1Table_kmmc.isNull(QStringLiteral("C6")) ||
                Cn1Table_kmmc.text(QStringLiteral("C6")) != c6) {
                Cn1Table_kmmc.setValue(QStringLiteral("C6"), c6);
                Cn1Table_kmmc.post();
            }
        }
        ADOCn1.commit();
    } catch (...) {
        Cn1Table_kmmc.cancel();
        ADOCn1.rollback();
        Cn1Table_kmmc.requery(); // drop what the rolled-back posts left in memory
        throw;
    }
}

void TDM1::CountLawAnswer(const QString& articleList, const QString& keyPointList, const QString& headingList,
                          int firstEver, int wrong)
{
    auto run = [this, &articleList, &keyPointList, &headingList](const QString& column) {
        ADOQuery3.execSql(QStringLiteral("update tab_rule set %1=%1+1 where ftid in ").arg(column) +
                          articleList);
        ADOQuery3.execSql(QStringLiteral("update tab_fgmc set %1=%1+1 where id in ").arg(column) +
                          keyPointList);
        ADOQuery3.execSql(QStringLiteral("update tab_fgmc set %1=%1+1 where id in ").arg(column) +
                          headingList);
    };
    run(QStringLiteral("q2"));
    if (firstEver == 2) run(QStringLiteral("q1"));
    if (wrong == 2) run(QStringLiteral("q4"));
}

QString TDM1::CodeList(const QStringList& codes)
{
    QStringList quoted;
    for (QString c : codes)
        quoted << u'\'' + c.replace(u'\'', QStringLiteral("''")) + u'\'';
    return u'(' + quoted.join(u',') + u')';
}
