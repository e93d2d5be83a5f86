#pragma once

#include <QString>

class QWidget;

namespace platform {

// Hands a document path, folder, URL or mail link to the user's default program.
// Returns whether the desktop accepted it; the program does not report failures.
bool OpenWithDesktop(const QString& target);

// Puts text on the clipboard, replacing its content.
void SetClipboardText(const QString& text);

// Shows the window where the user is looking: restored if minimised, above the others, with
// the keyboard focus (which the window manager may refuse, marking the window urgent instead).
void BringToFront(QWidget& window);

} // namespace platform
