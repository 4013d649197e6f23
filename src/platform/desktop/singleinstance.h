// One running copy per user: a lock file, and a local socket by which a second copy asks
// the first to come to the front.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

namespace desktop {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key names the program; lockFolder defaults to the user's runtime or temporary folder.
    explicit SingleInstance(const QString& key, const QString& lockFolder = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy already runs; that copy has then been asked to come to the front.
    // False when this copy is the first: it now holds the lock and listens for later copies.
    bool activateRunningInstance();

signals:
    void activationRequested();

private:
    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

// Brings a window to the front, restoring it when minimised; when a modal window of the
// program is open, that window is the one activated.
void bringToFront(QWidget* window);

} // namespace desktop
