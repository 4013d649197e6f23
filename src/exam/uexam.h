// The exam window: sits a timed mock paper, marks it, and reviews marked papers.
#pragma once

#include "exammarking.h"
#include "examsheet.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmExam;
}
class QFrame;
class QTimer;

class TFrmExam : public QDialog {
    Q_OBJECT
public:
    explicit TFrmExam(QWidget* parent = nullptr);
    ~TFrmExam() override;

    std::unique_ptr<Ui::TFrmExam> ui;

    // Stores the paper to show; in mode "new" it also draws and inserts the questions.
    void SetUpExam(const QString& paperTable, const QString& paperName, const QString& mode, double score,
                   const QString& usedTime);
    // Opens the paper table in the data module's Cn1Query_exam; ends the program after
    // "无法打开试卷！" when it cannot.
    bool OpenPaper();

    QString PaperName;
    QString PaperTable;
    QString ExamMode; // "new" or "old"
    double PaperScore = 0;
    QString UsedTime = QStringLiteral("0:00:00");

    // Set by marking: the score is below the lowest kept score, so closing the review deletes it.
    bool BelowLeast = false;
    // Positions of the answer sheet: 90, or more when the paper has more questions.
    int GridSize = 90;

    AnswerSheet* fcBG_th() const { return sheet_; }
    QFrame* suiPanel1() const { return cover_; }
    ScrollingText* epRunPanel1() const { return coverText_; }
    const ExamClock& KZTimeCounter1() const { return clock_; }
    bool ticksEnabled() const;
    bool picturesLoaded() const { return picturesOk_; }
    // The paper position on screen (1-based; 0 before the first is shown).
    int currentPosition() const { return current_; }

    // Mode set-up: buttons, caption, clock page, answer sheet and clock for the current mode.
    void FormShow();
    void InitAnswerGrid(int count);
    // Records the answer of the controls for a paper position; the sheet picture only if asked.
    void SaveExamAnswer(int position, int page, bool updateGrid);
    // One clock tick: shows the time and ends the exam when the time limit is reached.
    void KZTimeCounter1Timer();
    // Marks the paper with the time used and reopens it for review; false after a failure
    // (the window is back in taking mode with its answers).
    bool MarkPaper(const QString& usedTime);

    // Button handlers, public so that the menu and tests reach the same paths.
    void epEfTrBtn3Click();  // 交卷 / 关闭
    void epEfTrBtn13Click(); // 暂停考试 / 继续考试
    void epEfTrBtn12Click(); // 本题作废 / 取消作废

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;
    void reject() override {} // the window closes only through its own buttons
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void ArrangeForScreen();
    void fcBG_thChange(SheetButton* previous, SheetButton* now);
    void ShowQuestionButtons();
    bool ShowQuestionText(const QString& key);
    void SetSheetPicture(SheetButton* b, const QString& state);
    void StartTicks(bool on);
    void StopForTimeUp();
    void RestoreTaking();
    void PlaceCover();
    // The question panel's answer notebook.
    QWidget* answerArea() const;
    void FormCloseQuery();

    void epEfTrBtn4Click(); // 解析
    void epEfTrBtn5Click(); // 笔记
    void epEfTrBtn6Click(); // 答案
    void epEfTrBtn8Click(); // 设置

    AnswerSheet* sheet_;
    QFrame* cover_;
    ScrollingText* coverText_;
    QTimer* ticks_;
    ExamClock clock_;
    SheetPictures pictures_;
    bool picturesOk_ = false;
    int current_ = 0;
    bool prevWasEnabled_ = false;
    bool nextWasEnabled_ = false;
    bool keepClock_ = false; // the next mode set-up continues the clock (after a marking failure)
    bool closed_ = false;
    QPoint dragFrom_;
};

extern TFrmExam* FrmExam;
