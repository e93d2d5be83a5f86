#pragma once

#include "platform/Messages.h"
#include "platform/Thread.h"

#include <QPointer>
#include <QString>

namespace platform {
class HttpClient;
}

// The download's status, posted to the window that started it: "完了", "中断(1)" (stopped at
// the HEAD) or "中断(2)" (stopped at the GET). LParam points to the text, which lives as long
// as the message.
inline constexpr int WM_DOWNLOAD_STATUS = platform::WM_USER + 120;

namespace notice_detail {
struct StatusText {
    QString Text;
};
} // namespace notice_detail

class DownloadStatusMessage : private notice_detail::StatusText, public platform::MessageEvent {
public:
    explicit DownloadStatusMessage(const QString& text)
        : StatusText{text},
          MessageEvent(WM_DOWNLOAD_STATUS, 0, reinterpret_cast<qintptr>(Text.utf16())) {}
    const QString& Status() const { return Text; }
};

// Fetches the notice file: HEAD of the URL (following one 302 with a HEAD of its Location),
// then GET of the URL, whose body replaces the file. The file is replaced only by a complete
// successful GET that is written whole, so a failed download leaves the notice of an earlier
// run as it was.
//
// Created suspended and freeing itself when it ends. The thread borrows the window's HTTP
// client from its construction until Execute ends, and closes the client's connections
// before giving it back: the window may release the client as soon as the termination
// handler has run, and should the window go away earlier, the client's destruction stops
// the download and waits for it (see HttpClient).
class TGetInternetData : public platform::Thread {
public:
    TGetInternetData(QObject* notifyWindow, platform::HttpClient* http, const QString& url,
                     const QString& filePath);
    ~TGetInternetData() override;

    QObject* const NotifyWindow;
    const QPointer<platform::HttpClient> Http;
    const QString Url;
    const QString FilePath;
    // Set once the GET has been tried, with or without success; read after Execute.
    bool GetFinished = false;

protected:
    void Execute() override;

private:
    void giveBackClient();
    void postStatus(const QString& text);
    void download(platform::HttpClient& http);

    platform::HttpClient* borrowed_ = nullptr;
};
