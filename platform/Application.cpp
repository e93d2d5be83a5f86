#include "platform/Application.h"

#include "platform/Exceptions.h"
#include "platform/SessionEnd.h"

#include <QMessageBox>
#include <QProcess>
#include <QSet>
#include <QThread>

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::StartAgain() const {
    // The executable as it is now on disk (an update may have replaced it), in the folder the
    // user started from, with the environment this run was given.
    return QProcess::startDetached(applicationFilePath(), arguments().mid(1));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return true;
    }
}

QString Application::MessageOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QString();
    }
}

void Application::ShowException(std::exception_ptr error) {
    const QString message = MessageOf(error);
    if (OnException) {
        OnException(message);
        return;
    }
    // Once the program was asked to end, a box would close as soon as it opened: the message
    // goes where the program's other output goes.
    if (SessionEnd::Requested()) {
        qWarning("%s", qUtf8Printable(message));
        return;
    }
    QMessageBox box(QMessageBox::Critical, Title, message, QMessageBox::Ok, activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ShowErrorOnce(const QString& message) {
    static QSet<QString> shown;
    if (shown.contains(message))
        return;
    shown.insert(message);
    auto* app = Application::instance();
    if (!app) {
        qWarning("%s", qUtf8Printable(message));
        return;
    }
    QMetaObject::invokeMethod(
        app, [app, message] { app->ShowException(std::make_exception_ptr(Exception(message))); },
        Qt::QueuedConnection);
}

namespace {
ScreenCursor currentCursor = ScreenCursor::Default;

void applyScreenCursor(ScreenCursor cursor) {
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (cursor == ScreenCursor::HourGlass)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    currentCursor = cursor;
}
} // namespace

void SetScreenCursor(ScreenCursor cursor) {
    if (!qApp)
        return;
    if (QThread::currentThread() == qApp->thread())
        applyScreenCursor(cursor);
    else
        QMetaObject::invokeMethod(
            qApp, [cursor] { applyScreenCursor(cursor); }, Qt::QueuedConnection);
}

ScreenCursor CurrentScreenCursor() {
    return currentCursor;
}

} // namespace platform
