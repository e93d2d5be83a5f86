#pragma once

#include "platform/Exceptions.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

class QIODevice;

namespace platform {

// A request that did not end in a success reply: a transport failure (no connection, time-out,
// a reply too large) or any reply code outside 200..299, redirects included.
class EHttpError : public Exception {
public:
    EHttpError(QString message, int responseCode)
        : Exception(std::move(message)), responseCode_(responseCode) {}
    // The reply's code, or 0 when no reply arrived.
    int ResponseCode() const { return responseCode_; }

private:
    int responseCode_;
};

// A small HTTP client over libcurl. One thread at a time may use it. Redirects are never
// followed; the caller reads ResponseCode() and Location() and decides.
//
// A worker thread that borrows the client from its owner holds it between Acquire() and
// Release(). Destroying the client meanwhile ends the running request at once, makes every
// further request fail, and waits until the worker has released it; so the owner may go
// away at any time without pulling the client from under the worker.
//
// Every request is bounded: by ConnectTimeout for the connection, by RequestTimeout for the
// whole request, and by SessionTimeout for all requests from the first one after creation or
// Disconnect() on, so that a caller making several requests in a row cannot wait longer
// than that in total.
class HttpClient : public QObject {
    Q_OBJECT
public:
    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    // Request headers; an empty value leaves the header out.
    QString Accept = QStringLiteral("text/html, */*");
    QString UserAgent;

    std::chrono::milliseconds ConnectTimeout{10000};
    std::chrono::milliseconds RequestTimeout{20000};
    std::chrono::milliseconds SessionTimeout{30000};
    // A body larger than this ends the request with an error.
    qint64 MaxBodySize = 64 * 1024;

    // Both raise EHttpError unless the reply is a success. Get writes the body of a success
    // reply to out as it arrives; other replies' bodies are dropped.
    void Head(const QString& url);
    void Get(const QString& url, QIODevice& out);

    // Of the last request: its reply code (0 when no reply arrived), status line, and the
    // Location it named, made absolute against the request's URL.
    int ResponseCode() const { return responseCode_; }
    QString ResponseText() const { return responseText_; }
    QString Location() const { return location_; }

    // Whether a connection to a server is still open, kept alive after the last request.
    bool Connected() const;
    // Closes every open connection and starts a new session.
    void Disconnect();

    // Thread-safe. A client still acquired must not be destroyed by the thread that holds it.
    void Acquire();
    void Release();
    // Thread-safe: ends the running request at once (within about a second while it stalls)
    // and makes every later request fail. For an owner that has to stop a borrower now.
    void Cancel();

private:
    void perform(const QString& url, QIODevice* out);

    void* handle_ = nullptr; // CURL*
    std::optional<std::chrono::steady_clock::time_point> sessionDeadline_;
    int responseCode_ = 0;
    QString responseText_;
    QString location_;

    std::mutex useMutex_;
    std::condition_variable released_;
    int users_ = 0;
    std::atomic<bool> abandoned_{false};
};

} // namespace platform
