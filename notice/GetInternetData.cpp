#include "notice/GetInternetData.h"

#include "app/AppCore.h"
#include "platform/Application.h"
#include "platform/HttpClient.h"
#include "ui/Glyphorama.h"

#include <QCoreApplication>
#include <QSaveFile>
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

    // Written beside the notice file and put in its place only when complete. Unbuffered, a
    // full disk fails the write and so the download; the flush and the error check before the
    // commit also catch a failure that only the last write would report (Qt 6.4's commit()
    // would otherwise put the empty file in place of the old notice). The announcement is a
    // courtesy: a failure keeps the old notice and says nothing.
    QSaveFile file(FilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    bool completed = false;
    try {
        http.Get(Url, file);
        completed = file.flush() && file.error() == QFileDevice::NoError && file.commit();
    } catch (const platform::EHttpError&) {
    }
    if (!completed)
        file.cancelWriting();
    if (completed)
        postStatus(QCoreApplication::translate("TGetInternetData", "完了"));
    GetFinished = true;
    if (!completed)
        postStatus(QCoreApplication::translate("TGetInternetData", "中断(2)"));
}

void TGetInternetData::postStatus(const QString& text) {
    if (NotifyWindow)
        QCoreApplication::postEvent(NotifyWindow, new DownloadStatusMessage(text));
}
