#include "singleinstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

namespace desktop {

SingleInstance::SingleInstance(const QString& key, const QString& lockFolder, QObject* parent)
    : QObject(parent)
{
    QString folder = lockFolder;
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QDir().mkpath(folder);
    const QByteArray id =
        QCryptographicHash::hash((key + u'|' + QDir::home().path() + u'|' + folder).toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    serverName_ = QStringLiteral("prepdesk-") + QString::fromLatin1(id);
    lock_ = std::make_unique<QLockFile>(QDir(folder).filePath(serverName_ + QStringLiteral(".lock")));
    lock_->setStaleLockTime(0); // only a lock whose process is gone is stale
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_.nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains("activate")) emit activationRequested();
                s->disconnectFromServer();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

SingleInstance::~SingleInstance()
{
    server_.close();
    if (lock_ && lock_->isLocked()) lock_->unlock();
}

bool SingleInstance::activateRunningInstance()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock_->tryLock(0)) {
            QLocalServer::removeServer(serverName_);
            server_.setSocketOptions(QLocalServer::UserAccessOption);
            server_.listen(serverName_);
            return false;
        }
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(1000)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(500);
            return true;
        }
        // The lock is held but nobody answers: the copy may be starting up; wait once.
        if (attempt == 0) QThread::msleep(300);
    }
    return true;
}

void bringToFront(QWidget* window)
{
    QWidget* target = QApplication::activeModalWidget();
    if (!target) target = window;
    if (!target) return;
    if (window && window->isMinimized()) window->showNormal();
    if (target->isMinimized()) target->showNormal();
    target->raise();
    target->activateWindow();
}

} // namespace desktop
