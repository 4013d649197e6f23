#include "movieplayer.h"

#include <QFileInfo>
#include <QJSEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QUrl>

namespace menu {

MoviePlayer::MoviePlayer(QWidget* parent) : QQuickWidget(parent)
{
    setResizeMode(QQuickWidget::SizeRootObjectToView);
    setClearColor(Qt::white);
    // The movie calls fscommand(word, arg) as a plain function.
    QJSValue self = engine()->newQObject(this);
    QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);
    engine()->globalObject().setProperty(QStringLiteral("__player"), self);
    QJSValue fn =
        engine()->evaluate(QStringLiteral("(function (word, arg) { __player.fscommand(String(word), arg === "
                                          "undefined ? '' : String(arg)); })"));
    engine()->globalObject().setProperty(QStringLiteral("fscommand"), fn);
}

bool MoviePlayer::setMovie(const QString& path)
{
    movie_ = path;
    if (!QFileInfo::exists(path)) return false;
    setSource(QUrl::fromLocalFile(path));
    return status() == QQuickWidget::Ready;
}

void MoviePlayer::fscommand(const QString& command, const QString& args)
{
    emit FSCommand(command, args);
}

bool isMovieRuntimeInstalled()
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nItem {}\n", QUrl());
    if (!component.isReady()) return false;
    std::unique_ptr<QObject> item(component.create());
    return item != nullptr;
}

} // namespace menu
