#include "notice/GetInternetData.h"

#include "app/AppCore.h"
#include "platform/Application.h"
#include "platform/FileAccess.h"
#include "platform/HttpClient.h"
#include "ui/Glyphorama.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QScopeGuard>
#include <utility>

namespace {

QString userAgent() {
    // The window's core carries the version; without a window (tests) the built-in one.
    if (Glyphorama && Glyphorama->AppCore)
        return QStringLiteral("Glyphorama2 /%1#%2")
            .arg(Glyphorama->AppCore->MajorVersion)
            .arg(Glyphorama->AppCore->MinorVersion);
    const TAppCore builtIn{QString(), QString()};
    return QStringLiteral("Glyphorama2 /%1#%2").arg(builtIn.MajorVersion).arg(builtIn.MinorVersion);
}

} // namespace

TGetInternetData::TGetInternetData(QObject* notifyWindow, platform::HttpClient* http,
                                   const QString& url, const QString& filePath)
    : Thread(true), NotifyWindow(notifyWindow), Http(http), Url(url), FilePath(filePath) {
    FreeOnTerminate = true;
    if (http) {
        http->Accept = QStringLiteral("text/html, */*");
        http->UserAgent = userAgent();
        http->Acquire();
        borrowed_ = http;
    }
}

TGetInternetData::~TGetInternetData() {
    // Destroyed early, the worker must be out of Execute before the client is touched.
    if (!Finished())
        WaitFor(true);
    giveBackClient(); // never started
    if (Http && Http->Connected())
        Http->Disconnect();
    platform::SetScreenCursor(platform::ScreenCursor::Default);
}

void TGetInternetData::Execute() {
    platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
    GetFinished = false;
    if (!borrowed_)
        return;
    // The window regards the check as over once the termination handler has run and may then
    // release the client: its connections are closed here, while it surely exists.
    const auto giveBack = qScopeGuard([this] {
        borrowed_->Disconnect();
        giveBackClient();
    });
    download(*borrowed_);
}

void TGetInternetData::giveBackClient() {
    if (borrowed_)
        std::exchange(borrowed_, nullptr)->Release();
}

void TGetInternetData::download(platform::HttpClient& http) {
    try {
        http.Head(Url);
    } catch (const platform::EHttpError&) {
        if (http.ResponseCode() != 302) {
            postStatus(QCoreApplication::translate("TGetInternetData", "中断(1)"));
            return;
        }
        try {
            http.Head(http.Location());
        } catch (const platform::EHttpError&) {
            return;
        }
    }

    // A notice that could not be kept is not worth fetching.
    if (!platform::CanReplaceFile(FilePath))
        return;
    // Collected whole (the client caps its size) and only then put in place of the old notice,
    // so a cut-off reply or a full disk keeps the notice of an earlier run. The announcement is
    // a courtesy: a failure says nothing more than that the download stopped.
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    bool completed = false;
    try {
        http.Get(Url, body);
        completed = platform::WriteFileAtomically(FilePath, body.data());
    } catch (const platform::EHttpError&) {
    }
    GetFinished = true;
    postStatus(completed ? QCoreApplication::translate("TGetInternetData", "完了")
                         : QCoreApplication::translate("TGetInternetData", "中断(2)"));
}

void TGetInternetData::postStatus(const QString& text) {
    if (NotifyWindow)
        QCoreApplication::postEvent(NotifyWindow, new DownloadStatusMessage(text));
}
