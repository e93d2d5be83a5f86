#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr auto StreamVersion = QDataStream::Qt_6_0;
// A command line is a few hundred bytes; a peer sending more is not one of ours.
constexpr qint64 MaxMessageBytes = 1 << 20;
constexpr char Accepted = '1';

// Only a folder of ours alone may hold the lock and the socket: in a folder others can write
// to, someone else could take our name first and keep the program from ever starting.
bool isPrivateFolder(const QString& path) {
    struct stat info {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

// XDG's runtime folder is the user's own and is emptied at logout; without one (a bare X
// session, ssh), a folder of our own in the temporary folder stands in for it.
QString runtimeFolder() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && isPrivateFolder(xdg))
        return xdg;
    const QString own = QDir::tempPath() + QStringLiteral("/glyphorama-%1").arg(getuid());
    mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateFolder(own) ? own : QString();
}

// The same folder reached by two spellings ("a/../b", a trailing slash) is the same claim.
QString claimName(const QString& dataFolder) {
    const QByteArray path = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("glyphorama-") + QString::fromLatin1(hash.left(24));
}

class Listener : public QThread {
public:
    Listener(const QString& socketPath, SingleInstance* owner)
        : socketPath_(socketPath), owner_(owner) {}

    bool WaitUntilListening() { return listening_.get_future().get(); }

protected:
    void run() override {
        QLocalServer server;
        server.setSocketOptions(QLocalServer::UserAccessOption);
        // The lock is ours: a socket already there was left by a program that died.
        QLocalServer::removeServer(socketPath_);
        const bool listening = server.listen(socketPath_);
        listening_.set_value(listening);
        if (!listening)
            return;
        QObject::connect(&server, &QLocalServer::newConnection, &server, [this, &server] {
            while (QLocalSocket* socket = server.nextPendingConnection())
                serve(socket);
        });
        exec();
    }

private:
    void serve(QLocalSocket* socket) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->bytesAvailable() > MaxMessageBytes) {
                socket->abort();
                return;
            }
            QDataStream in(socket);
            in.setVersion(StreamVersion);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return; // the rest is still on its way
            // Answered here, at once: the caller waits for this byte, not for the window.
            socket->write(&Accepted, 1);
            socket->flush();
            socket->disconnectFromServer();
            owner_->queueCall(arguments);
        });
    }

    const QString socketPath_;
    SingleInstance* const owner_;
    std::promise<bool> listening_;
};

} // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent) : QObject(parent) {
    connect(this, &SingleInstance::callsQueued, this, &SingleInstance::deliverCalls,
            Qt::QueuedConnection);
    const QString folder = runtimeFolder();
    if (folder.isEmpty())
        return;
    const QString name = claimName(dataFolder);
    lockPath_ = folder + u'/' + name + QStringLiteral(".lock");
    socketPath_ = folder + u'/' + name + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
    StopAnswering();
    // The lock goes last: a start that takes it finds no socket of ours in the way.
    lock_.reset();
}

void SingleInstance::StopAnswering() {
    if (!listener_)
        return;
    // The server closes with the thread's loop, and its socket goes with it.
    listener_->quit();
    listener_->wait();
    delete listener_;
    listener_ = nullptr;
}

SingleInstance::Start SingleInstance::Claim(const QStringList& arguments,
                                            const std::function<bool()>& giveUp) {
    // Without a private folder there is nowhere safe to meet another start: run as before.
    if (lockPath_.isEmpty())
        return Start::First;
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale when its process has gone, never for its age: a program left open for
    // days still owns its folder.
    lock_->setStaleLockTime(std::chrono::milliseconds::zero());
    const QDeadlineTimer deadline(AnswerTime);
    for (;;) {
        // Tried again after each failed hand-over: the owner may just have ended.
        if (lock_->tryLock(0)) {
            listen();
            return Start::First;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            // No lock is there and none can be made (a full disk): run as before, unclaimed.
            lock_.reset();
            return Start::First;
        }
        if (handOver(arguments, deadline, giveUp) == Start::HandedOver)
            return Start::HandedOver;
        if (deadline.hasExpired() || (giveUp && giveUp()))
            return Start::Unanswered;
        // The owner is still starting and does not listen yet.
        QThread::msleep(50);
    }
}

SingleInstance::Start SingleInstance::handOver(const QStringList& arguments,
                                               const QDeadlineTimer& deadline,
                                               const std::function<bool()>& giveUp) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(100))
        return Start::Unanswered;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << arguments;
    socket.write(message);
    socket.flush();
    // A stopped program still takes the connection and the bytes (the system holds them for
    // it), but never answers: the wait is bounded.
    while (!deadline.hasExpired() && !(giveUp && giveUp())) {
        if (socket.waitForReadyRead(50)) {
            char answer = 0;
            return socket.read(&answer, 1) == 1 && answer == Accepted ? Start::HandedOver
                                                                      : Start::Unanswered;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    return Start::Unanswered;
}

void SingleInstance::listen() {
    auto* listener = new Listener(socketPath_, this);
    listener->start();
    if (listener->WaitUntilListening()) {
        listener_ = listener;
        return;
    }
    // Later starts will find the lock but nobody to answer them; this one runs all the same.
    listener->wait();
    delete listener;
}

void SingleInstance::queueCall(const QStringList& arguments) {
    {
        std::lock_guard lock(mutex_);
        queuedCalls_.append(arguments);
    }
    emit callsQueued(QPrivateSignal());
}

void SingleInstance::deliverCalls() {
    QList<QStringList> calls;
    {
        std::lock_guard lock(mutex_);
        calls.swap(queuedCalls_);
    }
    for (const QStringList& arguments : calls)
        emit Called(arguments);
}

qint64 SingleInstance::OwnerProcess() const {
    qint64 process = 0;
    QString host;
    QString application;
    if (lock_ && lock_->getLockInfo(&process, &host, &application))
        return process;
    return 0;
}

} // namespace platform
