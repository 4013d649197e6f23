// Settings: background music on/off and tune (music mode), minutes per question type (answer-time mode).
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmConfig;
}
class QDoubleSpinBox;

class TFrmConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfig(QWidget* parent = nullptr);
    ~TFrmConfig() override;

    std::unique_ptr<Ui::TFrmConfig> ui;

    // The "sztime" arrangement: no music controls, the answer-time list at the top.
    void ArrangeForAnswerTimes();
    // The answer-time field of line i (counted from 1), or null.
    QDoubleSpinBox* timeField(int line) const;
    int lineCount() const { return lineCount_; }

    void FormShow();
    void FormClose();
    void RxSwitch1On();
    void RxSwitch1Off();
    void FlatComboBox1Change();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    void BuildTimeLines();
    int lineCount_ = 0;
    bool closed_ = false;
};

extern TFrmConfig* FrmConfig;
