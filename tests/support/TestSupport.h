#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace testing_support {

// A temporary folder that holds what a test writes.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// While it lives, no file of this process grows past the given size: a write beyond it fails
// (EFBIG) as it would on a full disk (ENOSPC). The signal such a write raises is ignored
// meanwhile, as a program must ignore it to see the failure at all.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    quint64 previousLimit_;
    void (*previousHandler_)(int);
};

// Makes a FIFO; a reader that opened it for a blocking read would wait for a writer forever.
void MakeFifo(const QString& path);

// Keeps a test that blocks on a FIFO from hanging: when the test has not ended within the
// time given, the FIFO is opened for writing and closed again, once a second, so that a
// reader blocked on it gets its end of file; Fired() then says the test would have hung.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const QString& fifo, int timeoutMs = 10000);
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;
    bool Fired() const { return fired_; }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

// Runs the event loop until the condition holds or the time is up; returns the condition.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

// The installed fonts the tests read directly (the set-up installs both packages).
inline const QString DejaVuSansFile =
    QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
inline const QString IpaGothicFile =
    QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");

// A list of names written as UTF-8 literals.
QStringList Names(std::initializer_list<const char*> names);

} // namespace testing_support
