// Test doubles: a fixed clock, scripted random draws, and answers for dialogs given in advance.
#pragma once

#include <QDateTime>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

class QDialog;

// Fixes the program's clock while alive; advance() moves both the time and the steady clock.
class FakeClock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
    ~FakeClock();
    void set(const QDateTime& t) { now_ = t; }
    void advance(qint64 ms);
    QDateTime now() const { return now_; }

private:
    QDateTime now_;
    qint64 steady_ = 0;
};

// Random draws from a fixed seed (reproducible) or a scripted list of values.
class ScriptedRandom {
public:
    explicit ScriptedRandom(quint32 seed = 1);
    explicit ScriptedRandom(std::vector<int> values); // each draw takes the next value, clamped
    ~ScriptedRandom();
};

// Answers message boxes and modal dialogs in order, and records what was shown.
class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    // The next message box returns this button.
    void answerMessage(QMessageBox::StandardButton button) { messageAnswers_.push_back(button); }
    // The next modal dialog is handled by this function (it may click buttons) and returns its result.
    void answerDialog(std::function<int(QDialog&)> handler) { dialogAnswers_.push_back(std::move(handler)); }
    void answerFile(const QString& path) { fileAnswers_.push_back(path); }

    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    const std::vector<Shown>& messages() const { return messages_; }
    QStringList dialogTitles() const { return dialogTitles_; }
    // Unanswered requests: messages answer Ok, dialogs reject, files cancel; counted here.
    int unanswered() const { return unanswered_; }

private:
    std::deque<QMessageBox::StandardButton> messageAnswers_;
    std::deque<std::function<int(QDialog&)>> dialogAnswers_;
    std::deque<QString> fileAnswers_;
    std::vector<Shown> messages_;
    QStringList dialogTitles_;
    int unanswered_ = 0;
};
