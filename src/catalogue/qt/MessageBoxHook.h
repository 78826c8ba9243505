#pragma once
// The catalogue window's own message boxes (OK only, modal). Tests replace the box with a hook that
// records the text and returns at once, so no test waits on a box.

#include <QString>
#include <functional>

class QWidget;

namespace catalogue {

// Shows text in a message box with only an OK button and returns when the user has closed it; with a
// hook installed, calls the hook instead.
void showMessageBox(QWidget* parent, const QString& text);

// Installs hook (an empty one restores the real box).
void setMessageBoxHook(std::function<void(const QString&)> hook);

} // namespace catalogue
