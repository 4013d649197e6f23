// The main window: borderless, white and maximised, it plays the menu movie and runs its commands.
#pragma once

#include <QApplication>
#include <QWidget>

#include <memory>

class QDialog;

namespace sound {
class MidiPlayer;
}

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
    // Starts (true) or stops (false) the background tune.
    void PlayMusic(const QString& path, bool play);
    // Generates a mock paper of kind 1..5 and runs the exam.
    void mnks(int kind);
    // The study-plan check of "quit"; closes the main window when the learner agrees.
    void QuitCheck();

    // The invisible player of the background music.
    std::unique_ptr<sound::MidiPlayer> MidiMediaPlayer;

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

// Shows a menu window modally (through the seam tests answer).
int ExecMenuWindow(QDialog& window);

// Opens a menu window modally: creates it, keeps it in its global reference while it is
// open, frees it and clears the reference afterwards, also when showing it fails. With
// busy set, the hourglass shows from before creation until the window is freed.
template <typename T, typename Prepare> int OpenMenuWindow(T*& reference, bool busy, Prepare&& prepare)
{
    struct Guard {
        T*& ref;
        bool busy;
        ~Guard()
        {
            delete ref;
            ref = nullptr;
            if (busy) QApplication::restoreOverrideCursor();
        }
    };
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    Guard guard{reference, busy};
    reference = new T;
    prepare(*reference);
    return ExecMenuWindow(*reference);
}

// True when the screen reports 96 logical pixels per inch.
bool IsSmallFonts();
