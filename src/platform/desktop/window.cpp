#include "window.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace desktop {

namespace {
QScreen* screenOf(QWidget* w)
{
    QScreen* s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}
} // namespace

QSize screenSize()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

double logicalDpiX()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

void centreOnScreen(QWidget* window)
{
    QScreen* s = screenOf(window);
    if (!s) return;
    const QRect area = s->availableGeometry();
    QRect r = window->frameGeometry();
    r.moveCenter(area.center());
    window->move(r.topLeft());
    keepOnScreen(window);
}

void keepOnScreen(QWidget* window)
{
    QScreen* s = screenOf(window);
    if (!s) return;
    const QRect area = s->availableGeometry();
    QRect r = window->frameGeometry();
    if (r.right() > area.right()) r.moveRight(area.right());
    if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
    if (r.left() < area.left()) r.moveLeft(area.left());
    if (r.top() < area.top()) r.moveTop(area.top());
    window->move(r.topLeft());
}

void minimiseAll()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->showMinimized();
}

} // namespace desktop
