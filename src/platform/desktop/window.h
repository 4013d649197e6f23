// Screen facts and window placement.
#pragma once

#include <QSize>

class QWidget;

namespace desktop {

// Size of the primary screen in pixels, and its logical dots per inch horizontally.
QSize screenSize();
double logicalDpiX();
// Centres a window on the screen it is on (the primary one before it is shown).
void centreOnScreen(QWidget* window);
// Moves a window so that it lies on the screen's available area.
void keepOnScreen(QWidget* window);
// Minimises every top-level window of the program (the "show desktop" key).
void minimiseAll();

} // namespace desktop
