// Score records: every kept mock paper with its score and time, totals, review and deletion.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmCheck;
}
namespace widgets {
class RecordsetModel;
}

class TFrmCheck : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCheck(QWidget* parent = nullptr);
    ~TFrmCheck() override;

    std::unique_ptr<Ui::TFrmCheck> ui;

    void FormShow();
    void epEfButton3Click();
    void epEfTrBtn1Click();
    void SpeedButton4Click();
    // Full marks / 5, remainder dropped, x 3.
    static int PassMark();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    std::unique_ptr<widgets::RecordsetModel> model_;
};

extern TFrmCheck* FrmCheck;
