#include "shellopen.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace desktop {

namespace {
OpenHandler& handler()
{
    static OpenHandler h;
    return h;
}
} // namespace

bool openDocument(const QString& path)
{
    // Doubled separators from joined paths are harmless; clean them for the desktop.
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (handler()) return handler()(clean);
    if (!QFileInfo::exists(clean)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(clean));
}

void setOpenHandler(OpenHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
