#include "common.h"

#include "dm.h"
#include "platform/sound/volume.h"
#include "udlg.h"

#include <QCoreApplication>

#include <cmath>

// The pictures and style sheet compiled into this library are registered at load time:
// a static library's own registration would be dropped by the linker.
static int RegisterUiResources()
{
    Q_INIT_RESOURCE(ui);
    return 0;
}
[[maybe_unused]] static const int UiResourcesRegistered = RegisterUiResources();

QString AppPath;
QString QuestionSql;
QString CurrentChapterTitle;
bool NoteHasText = false;
bool MusicOn = false;
QString MusicFile;
QVector<int> TypeIntervals;
QVector<int> TypeIds;
int ConfigMode = 0;
QString PaperTitle;
int PaperKind = 0;
int CurrentSubject = 0;
QString ScreenMode;
int SelectedLawCount = 0;
QString FirstQuestionId;

namespace {
bool g_ending = false;
}

void EndProgram()
{
    g_ending = true;
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool ProgramEnding() { return g_ending; }

void ResetGlobals()
{
    g_ending = false;
    AppPath.clear();
    QuestionSql.clear();
    CurrentChapterTitle.clear();
    NoteHasText = false;
    MusicOn = false;
    MusicFile.clear();
    TypeIntervals.clear();
    TypeIds.clear();
    ConfigMode = 0;
    PaperTitle.clear();
    PaperKind = 0;
    CurrentSubject = 0;
    ScreenMode.clear();
    SelectedLawCount = 0;
    FirstQuestionId.clear();
}

int64_t TimeToSeconds(const QString& text)
{
    int64_t total = 0;
    int part = 0;
    QString rest = text;
    while (rest.contains(u':')) {
        const qsizetype colon = rest.indexOf(u':');
        const int64_t value = rest.left(colon).trimmed().toLongLong();
        rest = rest.mid(colon + 1);
        if (part == 0)
            total += value * 3600;
        else if (part == 1)
            total += value * 60;
        else
            rest.clear();
        ++part;
    }
    if (part == 2) total += rest.left(2).trimmed().toLongLong();
    return total;
}

QString SecondsToTime(int64_t seconds)
{
    const int64_t hours = seconds / 3600;
    const int64_t minutes = (seconds - hours * 3600) / 60;
    const int64_t rest = seconds - hours * 3600 - minutes * 60;
    auto two = [](int64_t v) { return v < 10 ? u'0' + QString::number(v) : QString::number(v); };
    return two(hours) + u':' + two(minutes) + u':' + two(rest);
}

int IntervalOfMinutes(double minutes)
{
    // The small allowance keeps values such as 0.3 minutes from truncating to 179 ms.
    return int(std::trunc(minutes * 600.0 + 1e-6));
}

int ShowDlg(const QString& title, const QString& text, int layout, int page, const QString& variant)
{
    if (!FrmDlg) FrmDlg = new TFrmDlg; // lives until the end of the program, like the one made at start
    return FrmDlg->ShowDlg(title, text, layout, page, variant);
}

int TotalScore()
{
    db::Table& tx = DM1->Cn1Table_tx;
    tx.openIfClosed();
    int total = 0;
    for (int i = 1; i <= tx.recordCount(); ++i) {
        tx.setRecNo(i);
        total += int(tx.integer(QStringLiteral("B2")) * tx.integer(QStringLiteral("B3")));
    }
    return total;
}

uint32_t SetWaveVolume(int level)
{
    level = std::clamp(level, 1, 16);
    const uint32_t word = uint32_t(level - 1) * 0x11111111u;
    sound::setWaveVolume(word);
    return word;
}

uint32_t CurrentWaveVolume()
{
    return sound::waveVolume();
}

void DropPaperTable(const QString& table)
{
    try {
        bool listed = false;
        for (const QString& t : DM1->ADOCn1.userTables())
            listed = listed || t.compare(table, Qt::CaseInsensitive) == 0;
        if (!listed) return;
        // Table and score row go together or not at all.
        DM1->ADOCn1.begin();
        try {
            DM1->ADOCn1.dropTable(table);
            DM1->Cn1Table_cj.openIfClosed();
            if (DM1->Cn1Table_cj.locate(QStringLiteral("A1"), table)) DM1->Cn1Table_cj.remove();
            DM1->ADOCn1.commit();
        } catch (...) {
            DM1->ADOCn1.rollback();
            if (DM1->Cn1Table_cj.isOpen()) DM1->Cn1Table_cj.requery();
        }
    } catch (...) {
        // Failures leave things as they were, without a message.
    }
}

void AllowZeroLength(const QString& table, const QString& connectionString)
{
    const QStringList columns{QStringLiteral("A2"), QStringLiteral("A14"), QStringLiteral("E2"),
                              QStringLiteral("E2_1"), QStringLiteral("csbs")};
    if (DM1 && DM1->ADOCn1.isOpen() && DM1->ADOCn1.connectionString() == connectionString) {
        DM1->ADOCn1.allowZeroLength(table, columns);
        return;
    }
    db::Connection catalogue;
    catalogue.open(connectionString);
    catalogue.allowZeroLength(table, columns);
}
