// The exam's answer sheet: one numbered picture button per question, in five columns, exactly
// one down at a time; and the scrolling text of the pause cover.
#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <vector>

class QButtonGroup;
class QGridLayout;
class QTimer;

// The seven pictures of the sheet, loaded from the program's pic folder.
struct SheetPictures {
    QPixmap up;        // unanswered or spare
    QPixmap down;      // down in taking mode, and spare
    QPixmap right;     // review: answered right
    QPixmap wrong;     // review: not answered right
    QPixmap answered;  // taking: an answer is recorded
    QPixmap downRight; // review, down, right
    QPixmap downWrong; // review, down, wrong
    // False when any picture is missing.
    bool load(const QString& programFolder);
    void clear() { *this = SheetPictures{}; }
};

// One position of the sheet: its number, its up and down pictures, and its paper position
// (tag; 0 for a spare button beyond the paper).
class SheetButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SheetButton(int number, QWidget* parent = nullptr);
    int tag = 0;
    // "up", "answered", "right" or "wrong": the state the pictures show.
    QString state;
    void setPictures(const QPixmap& up, const QPixmap& down, const QString& stateName);
    void setCellSize(const QSize& s);
    QSize sizeHint() const override { return size_; }
    QSize minimumSizeHint() const override { return size_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap up_, down_;
    QSize size_{40, 24};
};

class AnswerSheet : public QWidget {
    Q_OBJECT
public:
    explicit AnswerSheet(QWidget* parent = nullptr);
    // Makes count buttons captioned 1..count (only ever grows).
    void setButtonCount(int count);
    int buttonCount() const { return int(buttons_.size()); }
    SheetButton* button(int number) const { return buttons_[number - 1]; }
    // The button that is down, or null.
    SheetButton* current() const { return current_; }
    // Puts a button down and raises changed(previous, button); a button already down does nothing.
    void press(SheetButton* b);
    // Releases the button that is down without raising changed (the sheet is rebuilt).
    void clearCurrent();
    void setCellSize(const QSize& s);

signals:
    void changed(SheetButton* previous, SheetButton* now);

private:
    QGridLayout* grid_;
    QButtonGroup* group_;
    std::vector<SheetButton*> buttons_;
    SheetButton* current_ = nullptr;
    QSize cellSize_{40, 24};
};

// A few lines of text scrolling upward without end while the widget is visible.
class ScrollingText : public QWidget {
    Q_OBJECT
public:
    explicit ScrollingText(QWidget* parent = nullptr);
    void setLines(const QStringList& lines);
    bool running() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    QStringList lines_;
    QTimer* timer_;
    int offset_ = 0;
};
