#pragma once

#include <QString>

namespace platform {

// Hands a document path, folder, URL or mail link to the user's default program.
// Returns whether the desktop accepted it; the program does not report failures.
bool OpenWithDesktop(const QString& target);

// Puts text on the clipboard, replacing its content.
void SetClipboardText(const QString& text);

} // namespace platform
