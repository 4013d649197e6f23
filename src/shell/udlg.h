// The program's own message dialog: a title strip, an icon, a message and up to three buttons.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmDlg;
}

class TFrmDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDlg(QWidget* parent = nullptr);
    ~TFrmDlg() override;

    // Layout 0..3 picks the buttons, page 0..2 the icon, variant "Exam" the hand-in captions.
    // Returns 1, 2 or 3 for the button pressed.
    int ShowDlg(const QString& title, const QString& text, int layout, int page, const QString& variant);

    int designWidth() const { return designWidth_; }
    std::unique_ptr<Ui::TFrmDlg> ui;

protected:
    void reject() override {} // the buttons are the only way to answer
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    int designWidth_;
    QPoint dragFrom_;
};

extern TFrmDlg* FrmDlg;
