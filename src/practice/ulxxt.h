// Chapter practice: the questions the subject catalog chose, by type tab and in groups of 20,
// with a per-question time gauge and the visit's elapsed time.
#pragma once

#include "recordanswer.h"

#include <QDialog>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <memory>

namespace Ui {
class TFrmLxxt;
}
class PictureButton;
class QButtonGroup;
class QTimer;

class TFrmLxxt : public QDialog {
    Q_OBJECT
public:
    explicit TFrmLxxt(QWidget* parent = nullptr);
    ~TFrmLxxt() override;

    std::unique_ptr<Ui::TFrmLxxt> ui;

    // Loads the set of QuestionSql; true when it holds at least one question.
    bool OpenPractice();

    enum GridMode { GridFirst, GridPrevious, GridNext };
    // Cuts the tab's questions into groups of 20 and shows a group in the grid.
    void FillQuestionGrid(GridMode mode, int count);
    // Saves the question left (navigate feedback) and shows another one.
    void GoToQuestion(int oldRecord, int newRecord);
    // Filters the question list on a type ("A13=61"), or clears the filter for an empty text.
    void ApplyTypeFilter(const QString& filterText);

    // Grid cell 1..20 and the type tabs ("任意" first), for the form's own use and for tests.
    PictureButton* cell(int n) const { return cells_[n - 1]; }
    QList<PictureButton*> typeTabs() const { return tabs_; }
    int currentRecord() const { return current_; }
    int groupFirst() const { return groupFirst_; }
    int groupSize() const { return groupSize_; }
    QTimer* questionTimer() const { return questionTimer_; }
    // Whether creating the form found all of its pictures.
    bool picturesLoaded() const { return picturesOk_; }

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void ArrangeForScreen();
    bool LoadGridPictures();
    void FormShow();
    void FormClose();
    void SelectTab(PictureButton* tab);
    void SelectCell(int n);
    void PressCell(int n);
    void PrevQuestion();
    void NextQuestion();
    void PrevGroup();
    void NextGroup();
    void QuestionTimerTick();
    void UpdateClock();
    void DiscardClick();
    void NotesClick();
    void SettingsClick();
    void EditClick();
    void ShowGroupLabels();
    void SetCellPicture(int n, bool pressed, CellState state);
    CellState StateOfCurrentRow() const;
    AnswerFeedback Feedback();
    int GroupLast() const { return groupFirst_ + groupSize_ - 1; }

    std::array<PictureButton*, 20> cells_{};
    std::array<int, 20> cellRecord_{};
    QButtonGroup* cellGroup_;
    QButtonGroup* tabGroup_;
    QList<PictureButton*> tabs_;
    QPointer<PictureButton> selectedTab_;
    // Released and pressed pictures by CellState.
    std::array<QPixmap, 3> released_;
    std::array<QPixmap, 3> pressed_;
    bool picturesOk_ = false;

    int current_ = 0;
    int groupFirst_ = 1;
    int groupSize_ = 0;
    int groupCount_ = 0;
    int questionCount_ = 0;
    int groupNo_ = 0;

    QTimer* questionTimer_;
    QTimer* clockTimer_;
    qint64 clockStart_ = 0;
    bool shown_ = false;
    bool closed_ = false;
    QPoint dragFrom_;
};

extern TFrmLxxt* FrmLxxt;
