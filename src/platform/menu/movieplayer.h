// The menu movie surface: plays a QML movie that sends command words through fscommand(word, arg).
#pragma once

#include <QQuickWidget>

namespace menu {

class MoviePlayer : public QQuickWidget {
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget* parent = nullptr);
    // Loads the movie from a file and starts it; false when it cannot be loaded.
    bool setMovie(const QString& path);
    QString movie() const { return movie_; }

    // Called by the movie's buttons.
    Q_INVOKABLE void fscommand(const QString& command, const QString& args = {});

signals:
    // A command word from the movie, with its argument.
    void FSCommand(const QString& command, const QString& args);

private:
    QString movie_;
};

// True when the QML runtime with QtQuick can load a movie on this machine.
bool isMovieRuntimeInstalled();

} // namespace menu
