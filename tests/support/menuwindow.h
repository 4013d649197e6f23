// Opens a menu window through its command word, lets a test act on it while it is shown, then
// presses the window's close button; the modal showing is answered through ScriptedDialogs.
#pragma once

#include "fakes.h"
#include "shell/start.h"

#include <QDialog>
#include <QPushButton>

#include <functional>

template <typename Window>
void RunMenuWindow(ScriptedDialogs& dialogs, const QString& word, const char* closeButton,
                   const std::function<void(Window&)>& act)
{
    dialogs.answerDialog([act, closeButton](QDialog& d) {
        auto& w = static_cast<Window&>(d);
        w.show();
        act(w);
        w.template findChild<QPushButton*>(QLatin1String(closeButton))->click();
        return w.result();
    });
    FrmStart->ShockwaveFlash1FSCommand(word, QString());
}
