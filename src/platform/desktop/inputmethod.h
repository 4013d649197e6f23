// The input methods of the running input-method framework, and switching a text box to one.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace desktop {

// Names of the input methods the running framework offers: the engines of ibus (by their
// long name, then their id) and the current method of fcitx5. Empty when no framework
// answers within a short time; the text boxes then keep the default method.
QStringList installedInputMethods();

// Switches to the named input method for typing into widget; false when it could not, in
// which case the default method stays.
bool selectInputMethod(QWidget* widget, const QString& name);

// Stands in for the framework, so that tests decide which methods exist and see which one
// was chosen. A member left empty uses the real framework; a default provider restores it.
struct InputMethodProvider {
    std::function<QStringList()> list;
    std::function<bool(QWidget* widget, const QString& name)> select;
};
void setInputMethodProvider(InputMethodProvider provider);

} // namespace desktop
