#include "TestHttpServer.h"

#include "platform/HttpClient.h"

#include <QBuffer>
#include <gtest/gtest.h>

using notice_test::SilentServer;
using notice_test::TestHttpServer;
using platform::EHttpError;
using platform::HttpClient;
using namespace std::chrono_literals;

namespace {

const std::string Notice = "[STATE]\r\nmajorVersion=300\r\nminorVersion=0\r\nName=x\r\n";

void serveNotice(const httplib::Request&, httplib::Response& response) {
    response.set_content(Notice, "text/plain");
}

int codeOf(const std::function<void()>& request) {
    try {
        request();
    } catch (const EHttpError& error) {
        return error.ResponseCode();
    }
    return -1;
}

} // namespace

TEST(HttpClient, SuccessfulRequestsSendTheHeadersAndStoreTheBody) {
    TestHttpServer server(serveNotice);
    HttpClient http;
    http.UserAgent = QStringLiteral("Glyphorama2 /200#0");
    http.Head(server.url(QStringLiteral("/istore/version.dat")));
    EXPECT_EQ(http.ResponseCode(), 200);
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    http.Get(server.url(QStringLiteral("/istore/version.dat")), body);
    EXPECT_EQ(body.data().toStdString(), Notice);
    EXPECT_TRUE(http.Connected()) << "the server keeps the connection alive";

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[1].method, "GET");
    for (const auto& request : requests) {
        EXPECT_EQ(request.path, "/istore/version.dat");
        EXPECT_EQ(request.accept, "text/html, */*");
        EXPECT_EQ(request.userAgent, "Glyphorama2 /200#0");
    }

    http.Disconnect();
    EXPECT_FALSE(http.Connected());
}

TEST(HttpClient, EveryReplyButASuccessRaisesAndKeepsItsBodyOut) {
    TestHttpServer server([](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/moved")
            response.set_redirect("/elsewhere/version.dat", 302);
        else if (request.path == "/missing")
            response.status = 404;
        else
            response.status = 500;
        response.set_content("error page", "text/html");
    });
    HttpClient http;
    QBuffer body;
    body.open(QIODevice::WriteOnly);

    EXPECT_EQ(codeOf([&] { http.Get(server.url(QStringLiteral("/moved")), body); }), 302);
    EXPECT_EQ(http.ResponseCode(), 302);
    EXPECT_EQ(http.Location(), server.url(QStringLiteral("/elsewhere/version.dat")))
        << "made absolute, and not followed";
    EXPECT_EQ(codeOf([&] { http.Head(server.url(QStringLiteral("/missing"))); }), 404);
    EXPECT_TRUE(http.ResponseText().contains(QStringLiteral("404")));
    EXPECT_TRUE(http.Location().isEmpty());
    EXPECT_EQ(codeOf([&] { http.Get(server.url(QStringLiteral("/broken")), body); }), 500);
    EXPECT_TRUE(body.data().isEmpty());
    EXPECT_EQ(server.requests().size(), 3u) << "no redirect was followed";
}

TEST(HttpClient, BodiesOverTheCapAreRefused) {
    TestHttpServer server([](const httplib::Request& request, httplib::Response& response) {
        const std::string big(70 * 1024, 'x');
        if (request.path == "/declared") {
            response.set_content(big, "text/plain");
        } else { // chunked: no length announced, the cap must hold while reading
            response.set_chunked_content_provider("text/plain", [big](size_t offset,
                                                                      httplib::DataSink& sink) {
                if (offset < big.size())
                    sink.write(big.data() + offset, std::min<size_t>(4096, big.size() - offset));
                else
                    sink.done();
                return true;
            });
        }
    });
    HttpClient http;
    for (const QString& path : {QStringLiteral("/declared"), QStringLiteral("/chunked")}) {
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        EXPECT_THROW(http.Get(server.url(path), body), EHttpError) << path.toStdString();
        EXPECT_LE(body.size(), http.MaxBodySize) << path.toStdString();
    }
    // Just at the cap is fine.
    http.MaxBodySize = 70 * 1024;
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    EXPECT_NO_THROW(http.Get(server.url(QStringLiteral("/declared")), body));
    EXPECT_EQ(body.size(), 70 * 1024);
}

TEST(HttpClient, ABodyCutOffMidwayRaises) {
    TestHttpServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(1000, "text/plain",
                                      [](size_t offset, size_t, httplib::DataSink& sink) {
                                          if (offset > 0)
                                              return false; // drops the connection
                                          sink.write(std::string(100, 'x').data(), 100);
                                          return true;
                                      });
    });
    HttpClient http;
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    EXPECT_THROW(http.Get(server.url(QStringLiteral("/")), body), EHttpError);
    EXPECT_EQ(http.ResponseCode(), 200) << "the reply had begun";
}

TEST(HttpClient, TransportFailuresRaiseWithoutAReplyCode) {
    int closedPort = 0;
    {
        SilentServer gone; // a port that was free a moment ago and that nobody listens on now
        closedPort = gone.port();
    }
    HttpClient http;
    EXPECT_EQ(codeOf([&] { http.Head(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort)); }),
              0);
    EXPECT_EQ(http.ResponseCode(), 0);
    EXPECT_FALSE(http.Connected());
    EXPECT_EQ(codeOf([&] { http.Head(QStringLiteral("file:///etc/passwd")); }), 0)
        << "only http and https are spoken";
}

TEST(HttpClient, AServerThatNeverAnswersIsGivenUpOnTime) {
    SilentServer silent;
    HttpClient http;
    http.RequestTimeout = 300ms;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(codeOf([&] { http.Head(silent.url(QStringLiteral("/"))); }), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
}

TEST(HttpClient, OneSessionNeverWaitsLongerThanItsTimeInTotal) {
    std::atomic<int> answered{0};
    TestHttpServer* self = nullptr;
    TestHttpServer server([&](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/slow") {
            self->holdUntilReleased();
            return;
        }
        ++answered;
        response.set_content("ok", "text/plain");
    });
    self = &server;
    HttpClient http;
    http.RequestTimeout = 600ms;
    http.SessionTimeout = 1000ms;
    const QString slow = server.url(QStringLiteral("/slow"));
    EXPECT_THROW(http.Head(slow), EHttpError);
    EXPECT_THROW(http.Head(slow), EHttpError) << "gets only what is left of the session";
    EXPECT_THROW(http.Head(server.url(QStringLiteral("/fast"))), EHttpError)
        << "the session's time is used up";
    EXPECT_EQ(answered, 0);
    EXPECT_EQ(server.requests().size(), 2u);

    http.Disconnect(); // a new session
    EXPECT_NO_THROW(http.Head(server.url(QStringLiteral("/fast"))));
}

TEST(HttpClient, DestroyingABorrowedClientStopsTheBorrowerAndWaitsForIt) {
    SilentServer silent;
    auto* http = new HttpClient;
    http->Acquire();
    std::atomic<int> failures{0};
    std::thread borrower([&] {
        for (int i = 0; i < 2; ++i) {
            try {
                http->Head(silent.url(QStringLiteral("/")));
            } catch (const EHttpError&) {
                ++failures;
            }
        }
        http->Disconnect();
        http->Release();
    });
    std::this_thread::sleep_for(100ms); // let the first request begin
    const auto started = std::chrono::steady_clock::now();
    delete http; // returns only once the borrower has let go
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s)
        << "the request was stopped, not waited out";
    EXPECT_EQ(failures, 2);
    borrower.join();
}
