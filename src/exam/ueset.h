// Exam settings: the lowest score for which a marked paper is kept, and the time allowed.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmEset;
}

class TFrmEset : public QDialog {
    Q_OBJECT
public:
    explicit TFrmEset(QWidget* parent = nullptr);
    ~TFrmEset() override;

    std::unique_ptr<Ui::TFrmEset> ui;

    void FormShow();
    void suiCheckBox1Click();
    void suiButton1Click();
    void suiNumberEdit1Change();
    // Saves both values into the first tab_plan row; "保存设置失败！" when that fails.
    void suiButton2Click();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    bool saved_ = false;
    qint64 storedMinutes_ = 0;
};

extern TFrmEset* FrmEset;
