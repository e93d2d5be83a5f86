#include "platform/Desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QUrl>

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

} // namespace platform
