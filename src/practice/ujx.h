// The explanation window: a question's or a chapter's explanation (rich text), read-only.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmJx;
}
namespace db {
class DataSource;
}

class TFrmJx : public QDialog {
    Q_OBJECT
public:
    explicit TFrmJx(QWidget* parent = nullptr);
    ~TFrmJx() override;

    std::unique_ptr<Ui::TFrmJx> ui;

    // Binds the view to the field of ds (callers pass "jx"); a failure leaves the view empty.
    void bind(db::DataSource* ds, const QString& field);

    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TFrmJx* FrmJx;
