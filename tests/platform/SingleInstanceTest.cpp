// One program per data folder: a later start hands its command line to the program that owns
// the folder, which answers even while its own thread is busy, as a start is.
#include "platform/SingleInstance.h"

#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

TEST(SingleInstance, ALaterStartOverTheSameFolderHandsOverItsArgumentsAnotherFolderDoesNot) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QTemporaryDir data;
    const QString folder = data.path() + QStringLiteral("/Glyphorama");

    platform::SingleInstance first(folder);
    QList<QStringList> calls;
    QObject::connect(&first, &platform::SingleInstance::Called,
                     [&](const QStringList& arguments) { calls.append(arguments); });
    ASSERT_EQ(first.Claim({QStringLiteral("glyphorama")}), platform::SingleInstance::Start::First);

    {
        // The same folder spelled another way; this thread, the first's GUI thread, is held
        // up in the claim the whole time, as a busy start would be.
        platform::SingleInstance second(data.path() + QStringLiteral("/./Glyphorama/"));
        const QStringList arguments{QStringLiteral("glyphorama"), QStringLiteral("日本語 file")};
        EXPECT_EQ(second.Claim(arguments), platform::SingleInstance::Start::HandedOver);
        EXPECT_EQ(second.OwnerProcess(), QCoreApplication::applicationPid());
        EXPECT_TRUE(testing_support::WaitUntil([&] { return !calls.isEmpty(); }));
        EXPECT_EQ(calls, QList<QStringList>{arguments});
    }

    platform::SingleInstance elsewhere(data.path() + QStringLiteral("/Other"));
    EXPECT_EQ(elsewhere.Claim({}), platform::SingleInstance::Start::First);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

TEST(SingleInstance, AnEndingProgramHearsNoMoreStartsButOwnsItsFolderUntilItIsGone) {
    QTemporaryDir runtime;
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QTemporaryDir data;
    auto ending = std::make_unique<platform::SingleInstance>(data.path());
    int calls = 0;
    QObject::connect(ending.get(), &platform::SingleInstance::Called, [&] { ++calls; });
    ASSERT_EQ(ending->Claim({}), platform::SingleInstance::Start::First);
    ending->StopAnswering();

    // Told to give up at once (the start itself is asked to end), it does not wait its time.
    platform::SingleInstance later(data.path());
    int asked = 0;
    EXPECT_EQ(later.Claim({}, [&] { return ++asked > 1; }),
              platform::SingleInstance::Start::Unanswered);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);

    ending.reset();
    platform::SingleInstance next(data.path());
    EXPECT_EQ(next.Claim({}), platform::SingleInstance::Start::First);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}
