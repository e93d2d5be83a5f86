#include "platform/HttpClient.h"

#include "platform/CurlLibrary.h"

#include <QIODevice>
#include <algorithm>

namespace platform {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// What the callbacks learn while one request runs.
struct Transfer {
    QIODevice* out = nullptr;
    qint64 maxBody = 0;
    qint64 received = 0;
    int code = 0;
    QByteArray statusLine;
    bool tooLarge = false;
    bool writeFailed = false;

    bool success() const { return code >= 200 && code <= 299; }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(size * count)).trimmed();
    // Each reply (an interim "100 Continue" too) starts with its status line.
    if (line.startsWith("HTTP/")) {
        transfer->statusLine = line;
        const QList<QByteArray> parts = line.split(' ');
        transfer->code = parts.size() > 1 ? parts[1].toInt() : 0;
    }
    return size * count;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const auto length = static_cast<qint64>(size * count);
    transfer->received += length;
    if (transfer->received > transfer->maxBody) {
        transfer->tooLarge = true;
        return 0; // aborts the transfer
    }
    if (!transfer->success() || !transfer->out)
        return size * count;
    if (transfer->out->write(data, length) != length) {
        transfer->writeFailed = true;
        return 0;
    }
    return size * count;
}

// Called often during a transfer, and about once a second while it stalls.
int onProgress(void* abandoned, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(abandoned)->load() ? 1 : 0;
}

class HeaderList {
public:
    explicit HeaderList(const CurlLibrary& curl) : curl_(curl) {}
    void add(const QByteArray& header) { list_ = curl_.slist_append(list_, header.constData()); }
    curl_slist* get() const { return list_; }
    ~HeaderList() { curl_.slist_free_all(list_); }

private:
    const CurlLibrary& curl_;
    curl_slist* list_ = nullptr;
};

} // namespace

HttpClient::HttpClient(QObject* parent) : QObject(parent) {}

HttpClient::~HttpClient() {
    Cancel();
    {
        std::unique_lock lock(useMutex_);
        released_.wait(lock, [this] { return users_ == 0; });
    }
    Disconnect();
}

void HttpClient::Acquire() {
    std::lock_guard lock(useMutex_);
    ++users_;
}

void HttpClient::Release() {
    // Notified under the lock: the destructor may go on, and destroy released_, as soon as it
    // can see users_ at zero, and notifying after unlocking would touch a dead condition.
    std::lock_guard lock(useMutex_);
    --users_;
    released_.notify_all();
}

void HttpClient::Cancel() {
    abandoned_ = true;
}

void HttpClient::Head(const QString& url) {
    perform(url, nullptr);
}

void HttpClient::Get(const QString& url, QIODevice& out) {
    perform(url, &out);
}

void HttpClient::perform(const QString& url, QIODevice* out) {
    QString unavailable;
    const CurlLibrary* api = CurlLibrary::Get(&unavailable);
    if (!api)
        throw EHttpError(QStringLiteral("libcurl could not be loaded: %1").arg(unavailable), 0);
    responseCode_ = 0;
    responseText_.clear();
    location_.clear();
    if (abandoned_)
        throw EHttpError(QStringLiteral("The HTTP client is being destroyed"), 0);

    const auto now = steady_clock::now();
    if (!sessionDeadline_)
        sessionDeadline_ = now + SessionTimeout;
    const auto left = std::chrono::duration_cast<milliseconds>(*sessionDeadline_ - now);
    if (left <= milliseconds::zero())
        throw EHttpError(QStringLiteral("Time-out: the session's time is used up"), 0);
    const milliseconds total = std::min(RequestTimeout, left);
    const milliseconds connect = std::min(ConnectTimeout, total);

    if (!handle_)
        handle_ = api->easy_init();
    CURL* curl = handle_;
    if (!curl)
        throw EHttpError(QStringLiteral("The HTTP client could not be created"), 0);
    // A reset keeps the open connections, so that a GET after a HEAD may reuse one.
    api->easy_reset(curl);

    Transfer transfer;
    transfer.out = out;
    transfer.maxBody = MaxBodySize;
    HeaderList headers(*api);
    if (!Accept.isEmpty())
        headers.add("Accept: " + Accept.toUtf8());
    char error[CURL_ERROR_SIZE] = {};
    const QByteArray address = url.toUtf8();
    const QByteArray agent = UserAgent.toUtf8();

    api->easy_setopt(curl, CURLOPT_URL, address.constData());
    api->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    api->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connect.count()));
    api->easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(total.count()));
    api->easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(MaxBodySize));
    api->easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    api->easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    if (!agent.isEmpty())
        api->easy_setopt(curl, CURLOPT_USERAGENT, agent.constData());
    api->easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    api->easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    api->easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    api->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    api->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    api->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    api->easy_setopt(curl, CURLOPT_XFERINFODATA, &abandoned_);
    if (out)
        api->easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    else
        api->easy_setopt(curl, CURLOPT_NOBODY, 1L);

    const CURLcode result = api->easy_perform(curl);

    long code = 0;
    api->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    responseCode_ = code != 0 ? static_cast<int>(code) : transfer.code;
    responseText_ = QString::fromLatin1(transfer.statusLine);
    char* redirect = nullptr;
    if (api->easy_getinfo(curl, CURLINFO_REDIRECT_URL, &redirect) == CURLE_OK && redirect)
        location_ = QString::fromUtf8(redirect);
    // The options pointed at locals of this call.
    api->easy_reset(curl);

    if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        throw EHttpError(QStringLiteral("The reply is larger than %1 bytes").arg(MaxBodySize),
                         responseCode_);
    if (transfer.writeFailed)
        throw EHttpError(QStringLiteral("The reply could not be stored"), responseCode_);
    if (result != CURLE_OK) {
        const QString detail =
            error[0] ? QString::fromUtf8(error) : QString::fromUtf8(api->easy_strerror(result));
        throw EHttpError(detail, responseCode_);
    }
    if (responseCode_ < 200 || responseCode_ > 299)
        throw EHttpError(responseText_.isEmpty() ? QStringLiteral("HTTP %1").arg(responseCode_)
                                                 : responseText_,
                         responseCode_);
}

bool HttpClient::Connected() const {
    const CurlLibrary* api = CurlLibrary::Get();
    if (!handle_ || !api)
        return false;
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (api->easy_getinfo(static_cast<CURL*>(handle_), CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK)
        return false;
    return socket != CURL_SOCKET_BAD;
}

void HttpClient::Disconnect() {
    if (const CurlLibrary* api = CurlLibrary::Get(); handle_ && api)
        api->easy_cleanup(static_cast<CURL*>(handle_));
    handle_ = nullptr;
    sessionDeadline_.reset();
}

} // namespace platform
