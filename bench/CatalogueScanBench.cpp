// What the catalogue's reading of the installed families costs, apart from the rest of the
// start: fontconfig's listing, and the reading of each family's OS/2 code pages on top of it,
// from the files and from the face cache, with the font files in memory (as at most starts)
// and read from disk again (as after a reboot).
//
//   CatalogueScanBench SETS [count...]     (default counts: 500 1000 2000 4000)
//
// SETS is the folder bench/make-font-set.py writes. Each count runs in a process of its own,
// fontconfig pointed at that set.
#include "BenchSupport.h"
#include "fontengine/CaptionMetricsCache.h"
#include "fonts/CatalogueScan.h"
#include "platform/FontFamilies.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void evictFromPageCache(const QString& folder) {
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const int fd = ::open(QFile::encodeName(files.next()).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

int countJapanese(const std::vector<platform::FontFamilyRecord>& families) {
    return int(std::count_if(families.begin(), families.end(), [](const auto& family) {
        return family.CharSet == platform::SHIFTJIS_CHARSET;
    }));
}

int measure(const QString& setDir) {
    std::vector<double> listing;
    std::vector<double> reading;
    std::vector<double> cached;
    std::vector<platform::FontFamilyRecord> families;
    CaptionMetricsCache cache(QString{});
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        families = platform::EnumerateFontFamilies();
        listing.push_back(clock.nsecsElapsed() / 1e6);
        std::vector<platform::FontFamilyRecord> read = families;
        clock.restart();
        CatalogueScan::ReadCharacterSets(read);
        reading.push_back(clock.nsecsElapsed() / 1e6);
        read = families;
        clock.restart();
        CatalogueScan::ReadCharacterSets(read, &cache); // from the cache after the first run
        if (run > 0)
            cached.push_back(clock.nsecsElapsed() / 1e6);
    }
    const int byLanguage = countJapanese(families);
    evictFromPageCache(setDir + QStringLiteral("/fonts"));
    std::vector<platform::FontFamilyRecord> read = families;
    QElapsedTimer clock;
    clock.start();
    CatalogueScan::ReadCharacterSets(read, &cache);
    const double coldCached = clock.nsecsElapsed() / 1e6;
    evictFromPageCache(setDir + QStringLiteral("/fonts"));
    read = families;
    clock.restart();
    CatalogueScan::ReadCharacterSets(read);
    const double cold = clock.nsecsElapsed() / 1e6;
    std::printf("%8zu %9.1f %9.1f %9.1f %9.1f %9.1f %8d %8d\n", families.size(), median(listing),
                median(reading), median(cached), cold, coldCached, byLanguage, countJapanese(read));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--measure")
        return measure(QString::fromLocal8Bit(argv[2]));
    if (argc < 2) {
        std::fprintf(stderr, "usage: CatalogueScanBench SETS [count...]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    QStringList counts = app.arguments().mid(2);
    if (counts.isEmpty())
        counts = {QStringLiteral("500"), QStringLiteral("1000"), QStringLiteral("2000"),
                  QStringLiteral("4000")};
    std::printf("ms: median of 5 with the files in memory; once cold, the files read from disk\n"
                "listing: fontconfig's; read: the code pages of every family read from the files;\n"
                "cached: the same from the face cache (a stat per family)\n");
    std::printf("%8s %9s %9s %9s %9s %9s %8s %8s\n", "families", "listing", "read", "cached",
                "cold read", "cold cach", "ja (fc)", "ja(OS/2)");
    std::fflush(stdout);
    for (const QString& count : counts) {
        const QString setDir = app.arguments().at(1) + u'/' + count;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FONTCONFIG_FILE"),
                           setDir + QStringLiteral("/fonts.conf"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(app.applicationFilePath(), {QStringLiteral("--measure"), setDir});
        child.waitForFinished(-1);
    }
    return 0;
}
