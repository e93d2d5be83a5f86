#include "TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace notice_test {

TestHttpServer::TestHttpServer(Handler handler) : handler_(std::move(handler)) {
    server_.set_keep_alive_timeout(1);
    auto route = [this](const httplib::Request& request, httplib::Response& response) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back({request.method, request.path, request.get_header_value("Accept"),
                                 request.get_header_value("User-Agent")});
        }
        handler_(request, response);
    };
    server_.Get(".*", route);
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("no port for the test server");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running())
        std::this_thread::yield();
}

TestHttpServer::~TestHttpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    released_.notify_all();
    server_.stop();
    thread_.join();
}

QString TestHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

std::vector<SeenRequest> TestHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void TestHttpServer::holdUntilReleased(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    released_.wait_for(lock, limit, [this] { return stopping_; });
}

SilentServer::SilentServer() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(socket_, 8) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no port for the silent server");
    port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
    ::close(socket_);
}

QString SilentServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

} // namespace notice_test
