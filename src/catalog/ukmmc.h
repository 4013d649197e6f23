// The subject catalog: chapters with the learner's figures, bank totals, and the launcher of chapter
// practice.
#pragma once

#include <QDialog>
#include <QPoint>

#include <memory>

namespace Ui {
class TFrmkmmc;
}
namespace widgets {
class RecordsetModel;
}

class TFrmkmmc : public QDialog {
    Q_OBJECT
public:
    explicit TFrmkmmc(QWidget* parent = nullptr);
    ~TFrmkmmc() override;

    std::unique_ptr<Ui::TFrmkmmc> ui;
    widgets::RecordsetModel* GridModel = nullptr;

    // C1 of the row practice was last launched from; the grid returns to it on every showing.
    QString LastChapterCode;

    // The steps run whenever the window becomes visible.
    void FormShow();
    // Bank totals over the chapter rows, shown on the board.
    void RefreshTotals();
    // Places the controls for ScreenMode ("800" compact, otherwise large).
    void ArrangeControls();
    // Practice of the current row: mode 1 new, 2 wrong, 3 review; doubleClick is the grid's variant.
    void LaunchPractice(int mode, bool doubleClick = false);
    void SpeedButton4Click();
    void ExplanationClick();

    // The select statement of a practice set for the chapter code.
    static QString PracticeSql(int mode, const QString& code, bool doubleClick = false);

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void FormClose();
    QPoint dragOffset_;
    bool dragging_ = false;
    int headerHeight_ = 56;
};

extern TFrmkmmc* Frmkmmc;
