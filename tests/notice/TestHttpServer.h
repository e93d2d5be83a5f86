#pragma once

#include <httplib.h>

#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace notice_test {

struct SeenRequest {
    std::string method;
    std::string path;
    std::string accept;
    std::string userAgent;
};

// A real HTTP server on 127.0.0.1 and a free port, run by its own thread for one test.
// Every request is recorded before the test's handler answers it.
class TestHttpServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    explicit TestHttpServer(Handler handler);
    ~TestHttpServer();

    int port() const { return port_; }
    QString url(const QString& path) const;
    std::vector<SeenRequest> requests() const;

    // For handlers that keep the client waiting: returns once the test ends (or after the
    // limit), so that the server can always be stopped.
    void holdUntilReleased(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    httplib::Server server_;
    Handler handler_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool stopping_ = false;
    std::vector<SeenRequest> requests_;
};

// A port that accepts connections and never answers a byte.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    int port() const { return port_; }
    QString url(const QString& path) const;

private:
    int socket_ = -1;
    int port_ = 0;
};

} // namespace notice_test
