// The about window: the product's artwork and a close button.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmAbout;
}

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget* parent = nullptr);
    ~TFrmAbout() override;
    std::unique_ptr<Ui::TFrmAbout> ui;
};

extern TFrmAbout* FrmAbout;
