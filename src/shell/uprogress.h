// The progress notice shown, without blocking, while a long operation runs.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TFrmProgress;
}

class TFrmProgress : public QWidget {
    Q_OBJECT
public:
    explicit TFrmProgress(QWidget* parent = nullptr);
    ~TFrmProgress() override;

    // Shows the notice with a message and paints it at once.
    void ShowNotice(const QString& message);
    // Changes the message of the showing notice and paints it at once.
    void SetNotice(const QString& message);
    void HideNotice() { hide(); }
    QString notice() const;

    std::unique_ptr<Ui::TFrmProgress> ui;
};

extern TFrmProgress* FrmProgress;
