#include "platform/Desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace platform {

namespace {

QUrl urlOf(const QString& target) {
    const QUrl asUrl(target, QUrl::StrictMode);
    // Plain paths (also those with a drive-like "x:" part) go as local files.
    const bool isUrl = asUrl.isValid() && asUrl.scheme().size() > 1;
    return isUrl ? asUrl : QUrl::fromLocalFile(QDir::cleanPath(target));
}

} // namespace

bool OpenWithDesktop(const QString& target) {
    return QDesktopServices::openUrl(urlOf(target));
}

void OpenWithDesktop(const QString& target, QObject* context, std::function<void()> nothingOpened) {
    const QUrl url = urlOf(target);
    // Qt hands the target to xdg-open too where there is one, but started apart from us: its
    // failure to find a program (exit status 3 on a desktop without a file manager) never
    // comes back. Started here, its end is seen.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            nothingOpened();
        return;
    }
    // Not a child of the context: closing a window must not end the program it opened. In a
    // desktop without its own opener, xdg-open waits for that program to end.
    auto* opener = new QProcess(QCoreApplication::instance());
    // The opened program inherits these: a pipe of ours would break under it when we go.
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->setStandardInputFile(QProcess::nullDevice());
    const QPointer<QObject> asker(context);
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, asker, nothingOpened](int status, QProcess::ExitStatus how) {
                         opener->deleteLater();
                         if (asker && (how != QProcess::NormalExit || status != 0))
                             nothingOpened();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, asker, nothingOpened](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         opener->deleteLater();
                         if (asker)
                             nothingOpened();
                     });
    opener->start(xdgOpen,
                  {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
}

void SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void BringToFront(QWidget& window) {
    // A window the user has not shown yet (the start is still going on) comes up in front.
    if (!window.isVisible())
        return;
    if (window.isMinimized())
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
}

} // namespace platform
