#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

class QDeadlineTimer;
class QLockFile;
class QThread;

namespace platform {

// One running program per user and data folder. Two programs over the same folder would each
// keep their own copy of the settings and tag lists and write it whole at their close, the
// later dropping what the earlier made; so a second start hands its command line to the
// running one, which comes to the front, and ends before it reads or writes anything there.
//
// The claim is a lock file in the user's runtime folder: a program that died (killed, crashed)
// leaves a lock naming a process that no longer runs, which the next start takes over, and
// with it the socket it listened on.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The folder is the one whose files the program owns (the settings and the tags).
    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Start {
        // This process owns the folder now, and hears of later starts (Called).
        First,
        // The running program took the arguments: this start has nothing left to do.
        HandedOver,
        // A program owns the folder but did not take the arguments in time (stopped, hung):
        // this start must not touch the folder either.
        Unanswered,
    };

    // Takes the folder, or hands the arguments to the process that has it. Waits at most
    // AnswerTime for a running program, less when giveUp (asked between short waits) says so.
    Start Claim(const QStringList& arguments, const std::function<bool()>& giveUp = {});

    // Enough for a program that is busy starting; a program that has not answered in this
    // time is not going to.
    static constexpr std::chrono::milliseconds AnswerTime{2500};

    // The process that owns the folder, as far as its lock tells (0: unknown).
    qint64 OwnerProcess() const;

    // The program is ending: a later start must not be told it was heard. It finds the folder
    // still owned until this object is gone, and waits for that within its AnswerTime.
    void StopAnswering();

    // From the thread that answers later starts: the command line of one, for Called.
    void queueCall(const QStringList& arguments);

signals:
    // A later start's command line, received by the program that owns the folder.
    void Called(const QStringList& arguments);
    // queueCall's wake-up on the owner's thread; the calls themselves are under mutex_.
    void callsQueued(QPrivateSignal);

private:
    void deliverCalls();
    Start handOver(const QStringList& arguments, const QDeadlineTimer& deadline,
                   const std::function<bool()>& giveUp);
    void listen();

    QString lockPath_;
    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    // Answers later starts on a thread of its own, so that one comes to an end even while
    // the window is busy starting.
    QThread* listener_ = nullptr;
    std::mutex mutex_;
    QList<QStringList> queuedCalls_;
};

} // namespace platform
