#include "TestHttpServer.h"

#include "notice/GetInternetData.h"
#include "platform/Application.h"
#include "platform/HttpClient.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <gtest/gtest.h>

using notice_test::SeenRequest;
using notice_test::SilentServer;
using notice_test::TestHttpServer;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteBytes;
using namespace std::chrono_literals;

namespace {

const QString NoticePath = QStringLiteral("/istore/version.dat");
const std::string NewNotice = "[STATE]\nmajorVersion=300\nminorVersion=0\nName=x\n";
const QByteArray OldNotice = "[STATE]\nmajorVersion=250\nminorVersion=0\nName=old\n";

// Stands in for the main window: keeps the status messages it is sent.
class StatusReceiver : public QObject {
public:
    QStringList statuses;

protected:
    bool event(QEvent* event) override {
        if (event->type() != static_cast<QEvent::Type>(WM_DOWNLOAD_STATUS))
            return QObject::event(event);
        const auto* message = static_cast<DownloadStatusMessage*>(event);
        // The text is handed over as a pointer, as a window message would.
        statuses.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(message->LParam)));
        return true;
    }
};

struct Outcome {
    bool terminated = false;
    bool getFinished = false;
    QStringList statuses;
    bool connectedAfterRun = true;
};

// Runs one download as the window does and waits until the thread has freed itself.
class Download {
public:
    explicit Download(const QString& url) {
        auto* thread = new TGetInternetData(&receiver_, &http, url, folder.file("isvc.dat"));
        thread_ = thread;
        thread->OnTerminate = [this](platform::Thread* sender) {
            outcome_.terminated = true;
            outcome_.getFinished = static_cast<TGetInternetData*>(sender)->GetFinished;
            outcome_.connectedAfterRun = http.Connected();
        };
    }
    Outcome run() {
        thread_->Start();
        const bool ended = WaitUntil([this] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return thread_.isNull();
        });
        EXPECT_TRUE(ended) << "the thread did not end";
        QCoreApplication::processEvents();
        outcome_.statuses = receiver_.statuses;
        return outcome_;
    }
    QString file() const { return folder.file("isvc.dat"); }

    TempFolder folder;
    platform::HttpClient http;

private:
    StatusReceiver receiver_;
    Outcome outcome_;
    QPointer<TGetInternetData> thread_;
};

std::vector<std::string> methodsAndPaths(const std::vector<SeenRequest>& requests) {
    std::vector<std::string> seen;
    for (const auto& request : requests)
        seen.push_back(request.method + " " + request.path);
    return seen;
}

} // namespace

TEST(GetInternetData, ASuccessfulDownloadReplacesTheNoticeFile) {
    TestHttpServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content(NewNotice, "text/plain");
    });
    Download download(server.url(NoticePath));
    WriteBytes(download.file(), OldNotice);
    const Outcome outcome = download.run();

    EXPECT_TRUE(outcome.terminated);
    EXPECT_TRUE(outcome.getFinished);
    EXPECT_EQ(outcome.statuses, QStringList{QStringLiteral("完了")});
    EXPECT_EQ(ReadBytes(download.file()).toStdString(), NewNotice);
    EXPECT_FALSE(outcome.connectedAfterRun)
        << "the client is released before the window learns that the check is over";
    const auto requests = server.requests();
    EXPECT_EQ(methodsAndPaths(requests),
              (std::vector<std::string>{"HEAD /istore/version.dat", "GET /istore/version.dat"}));
    for (const auto& request : requests) {
        EXPECT_EQ(request.userAgent, "Glyphorama2 /200#0");
        EXPECT_EQ(request.accept, "text/html, */*");
    }
    // Nothing but the notice file is left in the folder.
    EXPECT_EQ(QDir(download.folder.path()).entryList(QDir::Files), QStringList{"isvc.dat"});
}

TEST(GetInternetData, AFailedHeadTouchesNoFile) {
    TestHttpServer server(
        [](const httplib::Request&, httplib::Response& response) { response.status = 404; });
    Download download(server.url(NoticePath));
    WriteBytes(download.file(), OldNotice);
    const Outcome outcome = download.run();

    EXPECT_TRUE(outcome.terminated);
    EXPECT_FALSE(outcome.getFinished);
    EXPECT_EQ(outcome.statuses, QStringList{QStringLiteral("中断(1)")});
    EXPECT_EQ(ReadBytes(download.file()), OldNotice);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(GetInternetData, AMovedNoticeIsCheckedThereAndFetchedFromItsOwnAddress) {
    TestHttpServer server([](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/mirror/version.dat")
            response.status = 200;
        else if (request.method == "HEAD")
            response.set_redirect("/mirror/version.dat", 302);
        else
            response.set_content(NewNotice, "text/plain");
    });
    Download download(server.url(NoticePath));
    const Outcome outcome = download.run();

    EXPECT_EQ(methodsAndPaths(server.requests()),
              (std::vector<std::string>{"HEAD /istore/version.dat", "HEAD /mirror/version.dat",
                                        "GET /istore/version.dat"}));
    EXPECT_TRUE(outcome.getFinished);
    EXPECT_EQ(outcome.statuses, QStringList{QStringLiteral("完了")});
    EXPECT_EQ(ReadBytes(download.file()).toStdString(), NewNotice);
}

TEST(GetInternetData, AMovedNoticeWhoseNewPlaceFailsEndsQuietly) {
    TestHttpServer server([](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/mirror/version.dat")
            response.status = 404;
        else
            response.set_redirect("/mirror/version.dat", 302);
    });
    Download download(server.url(NoticePath));
    WriteBytes(download.file(), OldNotice);
    const Outcome outcome = download.run();

    EXPECT_TRUE(outcome.terminated);
    EXPECT_FALSE(outcome.getFinished);
    EXPECT_TRUE(outcome.statuses.isEmpty());
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(ReadBytes(download.file()), OldNotice);
}

// After a successful HEAD, every way a GET can fail keeps the notice of an earlier run.
TEST(GetInternetData, AFailedGetKeepsTheEarlierNoticeFile) {
    const std::vector<std::pair<std::string, TestHttpServer::Handler>> failures = {
        {"not found",
         [](const httplib::Request&, httplib::Response& response) { response.status = 404; }},
        {"redirected",
         [](const httplib::Request&, httplib::Response& response) {
             response.set_redirect("/elsewhere", 302);
             response.set_content("moved", "text/html");
         }},
        {"cut off",
         [](const httplib::Request&, httplib::Response& response) {
             response.set_content_provider(1000, "text/plain",
                                           [](size_t offset, size_t, httplib::DataSink& sink) {
                                               if (offset > 0)
                                                   return false;
                                               sink.write("[STATE]\nmajorVersion=9", 23);
                                               return true;
                                           });
         }},
        {"oversized",
         [](const httplib::Request&, httplib::Response& response) {
             response.set_content(std::string(65 * 1024, 'x'), "text/plain");
         }},
    };
    for (const auto& [name, onGet] : failures) {
        SCOPED_TRACE(name);
        TestHttpServer server(
            [&onGet](const httplib::Request& request, httplib::Response& response) {
                if (request.method == "HEAD")
                    response.status = 200;
                else
                    onGet(request, response);
            });
        Download download(server.url(NoticePath));
        WriteBytes(download.file(), OldNotice);
        const Outcome outcome = download.run();

        EXPECT_TRUE(outcome.getFinished);
        EXPECT_EQ(outcome.statuses, QStringList{QStringLiteral("中断(2)")});
        EXPECT_EQ(ReadBytes(download.file()), OldNotice);
        EXPECT_EQ(QDir(download.folder.path()).entryList(QDir::Files), QStringList{"isvc.dat"})
            << "no partial file is left behind";
        EXPECT_EQ(
            methodsAndPaths(server.requests()),
            (std::vector<std::string>{"HEAD /istore/version.dat", "GET /istore/version.dat"}));
    }
}

// The announcement is a courtesy: a full disk keeps the old notice and shows nothing.
TEST(GetInternetData, AFullDiskKeepsTheEarlierNoticeFile) {
    TestHttpServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content(NewNotice, "text/plain");
    });
    Download download(server.url(NoticePath));
    WriteBytes(download.file(), OldNotice);
    Outcome outcome;
    {
        const testing_support::FileSizeLimit full(8);
        outcome = download.run();
    }
    EXPECT_TRUE(outcome.getFinished);
    EXPECT_EQ(outcome.statuses, QStringList{QStringLiteral("中断(2)")});
    EXPECT_EQ(ReadBytes(download.file()), OldNotice);
    EXPECT_EQ(QDir(download.folder.path()).entryList(QDir::Files), QStringList{"isvc.dat"});
}

TEST(GetInternetData, AFileThatCannotBeCreatedEndsBeforeTheGet) {
    TestHttpServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content(NewNotice, "text/plain");
    });
    StatusReceiver receiver;
    platform::HttpClient http;
    TempFolder folder;
    bool terminated = false;
    bool getFinished = true;
    auto* thread = new TGetInternetData(&receiver, &http, server.url(NoticePath),
                                        folder.file("missing-folder/isvc.dat"));
    thread->OnTerminate = [&](platform::Thread* sender) {
        terminated = true;
        getFinished = static_cast<TGetInternetData*>(sender)->GetFinished;
    };
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return terminated; }));
    EXPECT_FALSE(getFinished);
    QCoreApplication::processEvents();
    EXPECT_TRUE(receiver.statuses.isEmpty());
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(GetInternetData, AHangingServerCannotHoldTheCheckForLong) {
    SilentServer silent;
    Download download(silent.url(NoticePath));
    download.http.ConnectTimeout = 300ms;
    download.http.RequestTimeout = 500ms;
    download.http.SessionTimeout = 800ms;
    const Outcome outcome = download.run();
    EXPECT_TRUE(outcome.terminated);
    EXPECT_EQ(outcome.statuses, QStringList{QStringLiteral("中断(1)")});
}

TEST(GetInternetData, TheHourGlassShowsWhileTheThreadLives) {
    std::atomic<bool> release{false};
    TestHttpServer server([&](const httplib::Request&, httplib::Response& response) {
        while (!release)
            std::this_thread::sleep_for(10ms);
        response.set_content(NewNotice, "text/plain");
    });
    StatusReceiver receiver;
    platform::HttpClient http;
    TempFolder folder;
    bool terminated = false;
    platform::ScreenCursor cursorInHandler = platform::ScreenCursor::Default;
    auto* thread =
        new TGetInternetData(&receiver, &http, server.url(NoticePath), folder.file("isvc.dat"));
    QPointer<TGetInternetData> alive(thread);
    thread->OnTerminate = [&](platform::Thread*) {
        terminated = true;
        cursorInHandler = platform::CurrentScreenCursor();
    };
    thread->Start();
    EXPECT_TRUE(WaitUntil(
        [] { return platform::CurrentScreenCursor() == platform::ScreenCursor::HourGlass; }));
    release = true;
    ASSERT_TRUE(WaitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return alive.isNull();
    }));
    EXPECT_TRUE(terminated);
    EXPECT_EQ(cursorInHandler, platform::ScreenCursor::HourGlass);
    QCoreApplication::processEvents();
    EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::Default);
}

TEST(GetInternetData, TheWindowMayDropItsClientOnceTheHandlerHasRun) {
    TestHttpServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content(NewNotice, "text/plain");
    });
    StatusReceiver receiver;
    TempFolder folder;
    auto* http = new platform::HttpClient;
    bool terminated = false;
    auto* thread =
        new TGetInternetData(&receiver, http, server.url(NoticePath), folder.file("isvc.dat"));
    QPointer<TGetInternetData> alive(thread);
    thread->OnTerminate = [&](platform::Thread*) {
        terminated = true;
        delete http; // as a window closing at once would
    };
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return alive.isNull();
    }));
    EXPECT_TRUE(terminated);
}
