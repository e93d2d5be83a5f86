#pragma once

#include <QEvent>
#include <QObject>

namespace platform {

inline constexpr int WM_USER = 0x400;

// A posted window message: delivered to its receiver's event() after the poster has
// returned to the event loop. The message number is the event type (Qt user range).
class MessageEvent : public QEvent {
public:
    MessageEvent(int message, qintptr wParam, qintptr lParam)
        : QEvent(static_cast<QEvent::Type>(message)), WParam(wParam), LParam(lParam) {}
    int Message() const { return static_cast<int>(type()); }
    const qintptr WParam;
    const qintptr LParam;
};

// Posts a message to the receiver's thread; safe from any thread.
void PostMessage(QObject* receiver, int message, qintptr wParam, qintptr lParam);

} // namespace platform
