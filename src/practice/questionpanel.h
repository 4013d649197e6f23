// The question panel every question window embeds: question text (with a shared stem above),
// one answer page per answer kind, and a panel that slides over the text to reveal the answer.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class QuestionPanel;
}
namespace db {
class DataSource;
class Recordset;
} // namespace db
class QAbstractButton;
class QButtonGroup;

class QuestionPanel : public QWidget {
    Q_OBJECT
public:
    explicit QuestionPanel(QWidget* parent = nullptr);
    ~QuestionPanel() override;

    std::unique_ptr<Ui::QuestionPanel> ui;

    // Where the texts come from: the question's tab_exer row (its data source), and the query
    // and data source that hold the shared stem.
    void setTextSources(db::DataSource* textRow, db::Recordset* stemQuery, db::DataSource* stemRow);
    // The form's buttons this panel drives; any may be null.
    void setButtons(QAbstractButton* explanation, QAbstractButton* lawPoints, QAbstractButton* reveal,
                    QAbstractButton* notes);
    void setNavigationButtons(QAbstractButton* previous, QAbstractButton* next);
    // Chapter practice sizes the reveal panel to the text area's height before sliding.
    void setRevealFullHeight(bool on) { revealFullHeight_ = on; }

    // Shows the question text for a key; a key with "-" shows its shared stem above.
    // False (after "无法打开试题！") when the text cannot be shown.
    bool ShowQuestionText(const QString& key);

    int page() const;
    void setPage(int page);
    // The side label of the subjective page, one character per line.
    void setSubjectiveLabel(const QString& label);

    // Sets the controls of a page from an answer string, showing optionCount option buttons.
    void LoadAnswerControls(int page, const QString& answer, int optionCount);
    // The answer string the page's controls hold now; empty when nothing is chosen.
    QString ReadAnswerControls(int page, int optionCount) const;
    // Record-based forms of the two above: E2_1 and A2_1 of the current row.
    void LoadAnswerControls(int page, const db::Recordset& record);
    QString ReadAnswerControls(int page, const db::Recordset& record) const;

    // Button states for the question just shown; hasExplanation: its jx is not null.
    void UpdateQuestionButtons(const db::Recordset& record, bool hasExplanation);
    // The "答案" button: fills the reveal panel (when shut) and slides it open or shut.
    void RevealAnswer(const QString& correct);
    void ToggleAnswerPanel();
    // Shuts the reveal panel at once (another question is shown).
    void ShutAnswerPanel();
    bool answerPanelOpen() const;

    // Letter, Backspace and Enter keys; true when the key was used.
    bool HandleKey(int key);

    // The option buttons of pages 0, 1 and 5 and the judgement buttons.
    QAbstractButton* optionButton(int page, int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QButtonGroup* groupOf(int page) const;
    void setChecked(QAbstractButton* b, bool on);
    void placeRevealPanel(int width);

    db::DataSource* textRow_ = nullptr;
    db::Recordset* stemQuery_ = nullptr;
    db::DataSource* stemRow_ = nullptr;
    QAbstractButton* jx_ = nullptr;
    QAbstractButton* kd_ = nullptr;
    QAbstractButton* reveal_ = nullptr;
    QAbstractButton* notes_ = nullptr;
    QAbstractButton* prev_ = nullptr;
    QAbstractButton* next_ = nullptr;
    QButtonGroup* one_;
    QButtonGroup* many_;
    QButtonGroup* pw_;
    QButtonGroup* yn_;
    bool lowerShown_ = false;
    bool revealFullHeight_ = false;
};
