#include "notice/GetInternetData.h"
#include "notice/NoticeFile.h"
#include "notice/VersionCheck.h"
#include "platform/BalloonHint.h"
#include "ui/Glyphorama.h"

#include <QPointer>
#include <QScopeGuard>

namespace {

const QString NetWork = QStringLiteral("NetWork");
const QString NoticeFileName = QStringLiteral("isvc.dat");

} // namespace

platform::Thread* StartVersionCheck(TGlyphorama* window) {
    const TAppCore& core = *window->AppCore;
    if (core.IniReadInteger(SettingsFileName, NetWork, QStringLiteral("VersionCheck"), 1) == 0)
        return nullptr;
    QString host =
        core.IniReadString(SettingsFileName, NetWork, QStringLiteral("NoticeHost"), QString())
            .trimmed();
    if (host.isEmpty())
        host = core.NoticeHost;
    const QString url = QStringLiteral("http://") + host + core.VersionFilePath;
    VersionCheckRunning = true;
    auto* thread =
        new TGetInternetData(window, window->IdHTTP, url, core.DataDir + u'/' + NoticeFileName);
    // Closing waits for the check; a window destroyed during it all the same gets no call.
    thread->OnTerminate = [window = QPointer<TGlyphorama>(window)](platform::Thread* sender) {
        if (window)
            window->GetInternetDataTerminate(sender);
        else
            VersionCheckRunning = false;
    };
    thread->Start();
    return thread;
}

void TGlyphorama::GetInternetDataTerminate(platform::Thread* sender) {
    // Closing is allowed again whatever happens below.
    const auto checkOver = qScopeGuard([] { VersionCheckRunning = false; });
    const auto* download = dynamic_cast<TGetInternetData*>(sender);
    if (!download || !download->GetFinished || !AppCore)
        return;
    try {
        const TNoticeFile notice =
            ReadNoticeFile(AppCore->DataDir + u'/' + NoticeFileName, HomePageUrl);
        if (!IsNewerVersion(AppCore->MajorVersion, AppCore->MinorVersion, notice.MajorVersion,
                            notice.MinorVersion))
            return;
        const QString ignored = AppCore->IniReadString(
            SettingsFileName, NetWork, QStringLiteral("IgnoreThis"), QStringLiteral("200#0"));
        if (VersionKey(notice.MajorVersion, notice.MinorVersion) == ignored)
            return;

        NoticeHint->Images = ImageList24;
        NoticeHint->Title = notice.Name;
        NoticeHint->Description =
            tr("新しいバージョンが公開されています。\r\n公式ページをご確認下さい。\r\n");
        NoticeHint->ImageIndex = 8;
        NoticeHint->HideAfter = 10000;
        const QPoint centre(width() / 2, height() / 2);
        NoticeHint->ShowHint(mapToGlobal(centre) - QPoint(0, 30));
    } catch (...) {
        // The announcement is a courtesy: a notice that cannot be read is not worth a word.
    }
}
