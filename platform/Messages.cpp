#include "platform/Messages.h"

#include <QCoreApplication>

namespace platform {

void PostMessage(QObject* receiver, int message, qintptr wParam, qintptr lParam) {
    QCoreApplication::postEvent(receiver, new MessageEvent(message, wParam, lParam));
}

} // namespace platform
