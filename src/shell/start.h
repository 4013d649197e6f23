// The main window: borderless, white and maximised, it plays the menu movie and runs its commands.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TFrmStart;
}

class TFrmStart : public QWidget {
    Q_OBJECT
public:
    explicit TFrmStart(QWidget* parent = nullptr);
    ~TFrmStart() override;

    std::unique_ptr<Ui::TFrmStart> ui;

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    // Loads TypeIds and TypeIntervals from the type table of PaperKind.
    void LoadTypeTimes();
    // A command word sent by the menu movie.
    void ShockwaveFlash1FSCommand(const QString& command, const QString& args);

    // True once a termination was requested (it takes effect when the event loop runs).
    bool terminationRequested() const { return terminating_; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void requestTermination();
    bool shown_ = false;
    bool terminating_ = false;
};

extern TFrmStart* FrmStart;

// True when the screen reports 96 logical pixels per inch.
bool IsSmallFonts();
