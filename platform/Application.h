#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace platform {

// The application object. An exception escaping an event handler is shown in a message box
// and the program goes on; no exception crosses the event loop.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the error in a message box captioned with the application's title.
    void ShowException(std::exception_ptr error);

    // The text the message box shows for an error (empty for unknown kinds).
    static QString MessageOf(std::exception_ptr error);

    // The caption of error boxes. Not Qt's display name: Qt would append that to the title
    // of every other window, the message boxes' own captions included.
    QString Title;

    // Set during the run when the program is to start again at its end: main starts it once
    // this run has let go of its data folder, which the new one would otherwise find taken.
    bool RestartRequested = false;
    // Starts this program anew, with the arguments it was given; false when it did not start.
    bool StartAgain() const;

    // Called instead of the message box when set (the tests record what would be shown).
    std::function<void(const QString&)> OnException;

    static Application* instance() { return qobject_cast<Application*>(qApp); }
};

// Shows the message in the error box later, from the event loop, and only once in the run of
// the program: a file refused at every read would otherwise bring up the same box again and
// again. For errors that must not end the handler that found them.
void ShowErrorOnce(const QString& message);

// The application-wide screen cursor: crDefault restores the normal cursor. Callable from any
// thread; the change is applied on the GUI thread.
enum class ScreenCursor { Default, HourGlass };
void SetScreenCursor(ScreenCursor cursor);
ScreenCursor CurrentScreenCursor();

} // namespace platform
