// Program-wide globals by which windows pass state, and the helpers several subsystems share.
#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

// Folder of the program file, always ending in '/'.
extern QString AppPath;
// The complete select statement of the question set to practise.
extern QString QuestionSql;
// C1_1 of the current tab_kmmc row.
extern QString CurrentChapterTitle;
// The note just edited is not blank.
extern bool NoteHasText;
extern bool MusicOn;
extern QString MusicFile;
// Per question type of the current paper kind: answer-timer interval (ms) and type code.
extern QVector<int> TypeIntervals;
extern QVector<int> TypeIds;
// 0: music and sounds; 1: answer times.
extern int ConfigMode;
extern QString PaperTitle;
// Current mock-paper kind 1 to 5 (0 is read as 1).
extern int PaperKind;
extern int CurrentSubject;
// "800" or "1024".
extern QString ScreenMode;
extern int SelectedLawCount;
extern QString FirstQuestionId;

// Ends the program after a failure it cannot go on from: the event loop quits as soon as it
// runs again. ProgramEnding() tells callers to stop what they were doing.
void EndProgram();
bool ProgramEnding();

// Puts every global back to its initial value (tests start from a clean program state).
void ResetGlobals();

// Hours:minutes:seconds to seconds: 1:05:30 gives 3930; no colon gives 0; with a third
// colon the seconds are dropped.
int64_t TimeToSeconds(const QString& text);
// Seconds as hours:minutes:seconds with two-digit minutes and seconds (hours may be longer).
QString SecondsToTime(int64_t seconds);

// The answer-timer interval in milliseconds for minutes allowed per question
// (minutes x 600, truncated; a hundredth of the time per tick).
int IntervalOfMinutes(double minutes);

// The program's message dialog: layout 0 to 3, icon page 0 to 2; returns 1, 2 or 3.
int ShowDlg(const QString& title, const QString& text, int layout, int page, const QString& variant);

// Full marks of a paper: the sum of B2 x B3 over the rows of the data module's type table.
int TotalScore();

// Clamps the level into 1..16 and applies the volume word (level - 1) x 0x11111111.
uint32_t SetWaveVolume(int level);
// The volume word last applied.
uint32_t CurrentWaveVolume();

// Removes a mock-paper table and then its score row; nothing when the table is missing.
// Failures are silent.
void DropPaperTable(const QString& table);

// Lets A2, A14, E2, E2_1 and csbs of a paper table hold empty strings; failures propagate.
void AllowZeroLength(const QString& table, const QString& connectionString);
