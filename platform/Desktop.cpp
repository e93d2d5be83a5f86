#include "platform/Desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QUrl>
#include <QWidget>

namespace platform {

bool OpenWithDesktop(const QString& target) {
    const QUrl asUrl(target, QUrl::StrictMode);
    // Plain paths (also those with a drive-like "x:" part) go as local files.
    const bool isUrl = asUrl.isValid() && asUrl.scheme().size() > 1;
    const QUrl url = isUrl ? asUrl : QUrl::fromLocalFile(QDir::cleanPath(target));
    return QDesktopServices::openUrl(url);
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
