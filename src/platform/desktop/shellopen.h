// Opening documents with the desktop's own programs, through a seam tests can watch.
#pragma once

#include <QString>

#include <functional>

namespace desktop {

// Asks the desktop to open a file with its usual program; false when it could not.
bool openDocument(const QString& path);
using OpenHandler = std::function<bool(const QString& path)>;
void setOpenHandler(OpenHandler handler);

} // namespace desktop
