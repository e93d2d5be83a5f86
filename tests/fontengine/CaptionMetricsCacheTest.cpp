// The cache of what a start needs from each font file: kept between runs, made again when the
// font changes, dropped whole when damaged, and never replaced by a half-written file.
#include "fontengine/CaptionMetricsCache.h"
#include "fontengine/TileTextFactory.h"
#include "platform/FontFamilies.h"

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace {

constexpr double Dpi = 96;

QString DejaVuSansFile() {
    for (const auto& record : platform::EnumerateFontFamilies(QStringLiteral("en")))
        if (record.FaceName == QLatin1String("DejaVu Sans"))
            return record.FilePath;
    return {};
}

class CaptionMetricsCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A font file of the test's own, so that its size and time can change.
        font = folder.file("Sans.ttf");
        ASSERT_TRUE(QFile::copy(DejaVuSansFile(), font));
        cache = folder.file("cache/faces.cache");
    }
    // A start: a sampler over the cache file, asked for the family's default caption.
    struct Start {
        QString caption;
        int width = 0;
        int loads = 0;
        bool dropped = false;
    };
    Start StartOnce(const QString& name = QStringLiteral("Sans")) {
        TileTextFactory sampler(cache, Dpi);
        Start start;
        start.dropped = sampler.Cache().WasDropped();
        const auto sample = sampler.Make(font, 0, name, QString(), 16);
        start.caption = sample->Text();
        start.width = sample->Width();
        start.loads = sampler.Store().Loads();
        EXPECT_TRUE(sampler.Cache().Save());
        return start;
    }

    testing_support::TempFolder folder;
    QString font;
    QString cache;
};

FileStamp Stamp(const QString& path, qint64 size, qint64 time) {
    FileStamp stamp;
    stamp.path = path;
    stamp.size = size;
    stamp.modifiedNs = time;
    return stamp;
}

} // namespace

TEST_F(CaptionMetricsCacheTest, ASecondStartReadsNoFontFile) {
    const Start first = StartOnce();
    EXPECT_EQ(first.loads, 1);
    EXPECT_TRUE(QFile::exists(cache));
    const Start second = StartOnce();
    EXPECT_EQ(second.loads, 0);
    EXPECT_EQ(second.caption, first.caption);
    EXPECT_EQ(second.width, first.width);
    EXPECT_FALSE(second.dropped);

    // The face is opened when the tile is first painted, and then only.
    TileTextFactory sampler(cache, Dpi);
    const auto sample = sampler.Make(font, 0, QStringLiteral("Sans"), QString(), 16);
    EXPECT_EQ(sampler.Store().Loads(), 0);
    EXPECT_EQ(sample->PaintedRun(), nullptr);
    QImage image(100, 82, QImage::Format_RGB32);
    QPainter painter(&image);
    sample->Paint(painter, image.rect(), Qt::black, Qt::gray);
    EXPECT_EQ(sampler.Store().Loads(), 1);
    ASSERT_NE(sample->PaintedRun(), nullptr);
    EXPECT_EQ(sample->PaintedRun()->glyphs.size(), 4u);
}

TEST_F(CaptionMetricsCacheTest, AnEntryIsMadeAgainWhenTheFontOrTheNameChanges) {
    StartOnce();
    // Touched: another modification time.
    utimbuf times{1000000000, 1000000000};
    ASSERT_EQ(utime(QFile::encodeName(font).constData(), &times), 0);
    EXPECT_EQ(StartOnce().loads, 1);
    EXPECT_EQ(StartOnce().loads, 0);
    // Replaced by another font of another size.
    QFile::remove(font);
    for (const auto& record : platform::EnumerateFontFamilies(QStringLiteral("en"))) {
        if (record.FaceName == QLatin1String("IPAGothic")) {
            ASSERT_TRUE(QFile::copy(record.FilePath, font));
        }
    }
    ASSERT_EQ(utime(QFile::encodeName(font).constData(), &times), 0);
    const Start replaced = StartOnce(QStringLiteral("ゴシック"));
    EXPECT_EQ(replaced.loads, 1);
    EXPECT_EQ(replaced.caption, QStringLiteral("ゴシック"));
    // The same file under another name (the desktop's language changed).
    const Start renamed = StartOnce(QStringLiteral("Gothic"));
    EXPECT_EQ(renamed.loads, 1);
    EXPECT_EQ(renamed.caption, QStringLiteral("Gothic"));
}

TEST_F(CaptionMetricsCacheTest, ADamagedCacheIsDroppedAndWrittenAfresh) {
    StartOnce();
    const QByteArray good = testing_support::ReadBytes(cache);
    ASSERT_GT(good.size(), 60);

    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x01);
    // Another version, with a checksum that fits it.
    QByteArray otherVersion = good.left(good.size() - CaptionMetricsCache::ChecksumSize);
    otherVersion[17 + 3] = char(otherVersion[17 + 3] + 1); // the version follows the magic
    otherVersion += CaptionMetricsCache::Checksum(otherVersion);
    const QList<QByteArray> damaged{flipped,          good.left(good.size() - 1), good.left(20),
                                    QByteArray(),     "not a cache at all\n",     otherVersion,
                                    good + "trailing"};
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        testing_support::WriteBytes(cache, bytes);
        const Start start = StartOnce();
        EXPECT_TRUE(start.dropped);
        EXPECT_EQ(start.loads, 1);
        // Written afresh: the next start trusts it again.
        EXPECT_EQ(testing_support::ReadBytes(cache), good);
        EXPECT_EQ(StartOnce().loads, 0);
    }
}

TEST_F(CaptionMetricsCacheTest, ImplausibleValuesUnderAValidChecksumAreNotTrusted) {
    // A file written by this code, but with values no font gives: strict parsing drops it.
    {
        CaptionMetricsCache written(cache);
        CaptionMetrics info;
        info.name = info.caption = QStringLiteral("Sans");
        info.advance = -5;
        written.Store(Stamp(font, 1, 1), 0, info);
        ASSERT_TRUE(written.Save());
    }
    EXPECT_TRUE(CaptionMetricsCache(cache).WasDropped());
    EXPECT_EQ(CaptionMetricsCache(cache).Size(), 0);
}

TEST_F(CaptionMetricsCacheTest, EntriesOfRemovedFontsAreForgotten) {
    CaptionMetricsCache written(cache);
    CaptionMetrics info;
    info.name = info.caption = QStringLiteral("A");
    written.Store(Stamp(folder.file("a.ttf"), 1, 1), 0, info);
    written.Store(Stamp(folder.file("b.ttf"), 1, 1), 0, info);
    ASSERT_TRUE(written.Save());
    CaptionMetricsCache read(cache);
    EXPECT_EQ(read.Size(), 2);
    read.RetainOnly([&](const QString& path, int) { return path == folder.file("b.ttf"); });
    ASSERT_TRUE(read.Save());
    CaptionMetricsCache again(cache);
    EXPECT_EQ(again.Size(), 1);
    EXPECT_TRUE(again.Find(Stamp(folder.file("b.ttf"), 1, 1), 0, QStringLiteral("A")));
}

TEST_F(CaptionMetricsCacheTest, AFailedWriteKeepsTheOldCache) {
    StartOnce();
    const QByteArray good = testing_support::ReadBytes(cache);
    CaptionMetricsCache grown(cache);
    CaptionMetrics info;
    info.caption = QString(2000, u'x');
    for (int i = 0; i < 50; ++i) {
        info.name = QString::number(i);
        grown.Store(Stamp(folder.file(QString::number(i)), 1, 1), 0, info);
    }
    // A disk that fills up: writes past a few kilobytes fail.
    bool saved_ok = true;
    {
        const testing_support::FileSizeLimit full(4096);
        saved_ok = grown.Save();
    }
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(testing_support::ReadBytes(cache), good);
    // A cache folder that cannot be made.
    testing_support::WriteBytes(folder.file("file"), "x");
    CaptionMetricsCache nowhere(folder.file("file/faces.cache"));
    nowhere.Store(Stamp(font, 1, 1), 0, info);
    EXPECT_FALSE(nowhere.Save());
}

TEST_F(CaptionMetricsCacheTest, AWriteInTheBackgroundIsWholeOnceTheCacheIsDone) {
    CaptionMetrics info;
    info.caption = QStringLiteral("caption");
    {
        CaptionMetricsCache written(cache);
        for (int i = 0; i < 2000; ++i) {
            info.name = QString::number(i);
            written.Store(Stamp(folder.file(QString::number(i)), 1, 1), 0, info);
        }
        written.SaveInBackground();
        // Closed at once: the write still ends, whole.
    }
    EXPECT_EQ(CaptionMetricsCache(cache).Size(), 2000);

    // A background write that fails leaves the cache changed, so the close tries again.
    testing_support::WriteBytes(folder.file("file"), "x");
    CaptionMetricsCache nowhere(folder.file("file/faces.cache"));
    nowhere.Store(Stamp(font, 1, 1), 0, info);
    nowhere.SaveInBackground();
    EXPECT_FALSE(nowhere.Save());
}

// Written on its own thread, the cache meets a full disk as the window closes: the old file
// stays whole, and the write is tried again once there is room.
TEST_F(CaptionMetricsCacheTest, ABackgroundWriteOnAFullDiskKeepsTheOldCache) {
    StartOnce();
    const QByteArray good = testing_support::ReadBytes(cache);
    CaptionMetricsCache grown(cache);
    CaptionMetrics info;
    info.name = info.caption = QString(2000, u'x');
    grown.Store(Stamp(folder.file("grown.ttf"), 1, 1), 0, info);
    bool saved_ok = true;
    {
        const testing_support::FileSizeLimit full(1024);
        grown.SaveInBackground();
        saved_ok = grown.Save(); // waits for the thread and tries again, on the full disk
    }
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(testing_support::ReadBytes(cache), good);
    ASSERT_TRUE(grown.Save());
    EXPECT_EQ(CaptionMetricsCache(cache).Size(), 2);
}

// Something other than a file in the cache's place: a FIFO nobody writes to would block the
// start for ever, a link to /dev/zero would read until memory runs out. Either is dropped
// quietly and replaced by a cache made afresh. Each start runs in a child process so that a
// start that hangs or eats memory fails the test instead of taking the test run with it.
TEST_F(CaptionMetricsCacheTest, AFifoOrADeviceInTheCachesPlaceIsDroppedWithoutReading) {
    const auto startsWithin = [this](int seconds) {
        const pid_t child = fork();
        if (child == 0) {
            const CaptionMetricsCache opened(cache);
            _exit(opened.WasDropped() && opened.Size() == 0 ? 0 : 1);
        }
        int status = 0;
        for (int waited = 0; waited < seconds * 20; ++waited) {
            if (waitpid(child, &status, WNOHANG) == child)
                return WIFEXITED(status) && WEXITSTATUS(status) == 0;
            usleep(50 * 1000);
        }
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return false;
    };
    ASSERT_TRUE(QDir().mkpath(folder.file("cache")));

    ASSERT_EQ(mkfifo(QFile::encodeName(cache).constData(), 0600), 0);
    EXPECT_TRUE(startsWithin(5)) << "a FIFO as the cache";
    ASSERT_TRUE(QFile::remove(cache));

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), cache));
    EXPECT_TRUE(startsWithin(5)) << "a link to /dev/zero as the cache";
}
