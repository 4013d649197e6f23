// The notes window: the learner's free-text note on the question on screen, stored on closing.
#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

namespace Ui {
class TFrmBj;
}
namespace db {
class DataSource;
}

class TFrmBj : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBj(QWidget* parent = nullptr);
    ~TFrmBj() override;

    std::unique_ptr<Ui::TFrmBj> ui;

    // Puts the dataset of ds into edit state and binds the text box to the field (callers
    // pass "A14").
    void bind(db::DataSource* ds, const QString& field);

    // Prefers "智能ABC输入法", then "五笔字型输入法", else keeps the default input method.
    void FormShow();
    // Writes the text into the field, posts, and sets NoteHasText. Errors propagate.
    void FormClose();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    QPointer<db::DataSource> ds_;
};

extern TFrmBj* FrmBj;
