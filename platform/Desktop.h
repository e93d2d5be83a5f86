#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace platform {

// Hands a document path, folder, URL or mail link to the user's default program.
// Returns whether the desktop accepted it; the program does not report failures.
bool OpenWithDesktop(const QString& target);

// The same hand-over for a launcher that tells the user when nothing opened: nothingOpened
// runs, on the GUI thread while context lives, when there is no opener on this desktop, or when
// xdg-open ends in failure (no program for the target). An opener that is still running has
// opened something; it is left running when the context goes.
void OpenWithDesktop(const QString& target, QObject* context, std::function<void()> nothingOpened);

// Puts text on the clipboard, replacing its content.
void SetClipboardText(const QString& text);

// Shows the window where the user is looking: restored if minimised, above the others, with
// the keyboard focus (which the window manager may refuse, marking the window urgent instead).
void BringToFront(QWidget& window);

} // namespace platform
