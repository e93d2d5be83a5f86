// What the catalogue's reading of the installed families costs, apart from the rest of the
// start: fontconfig's listing, and the reading of each family's OS/2 code pages on top of it,
// with the font files in memory (as at most starts) and read from disk again (as after a
// reboot).
//
//   CatalogueScanBench SETS [count...]     (default counts: 500 1000 2000 4000)
//
// SETS is the folder bench/make-font-set.py writes. Each count runs in a process of its own,
// fontconfig pointed at that set.
#include "BenchSupport.h"
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
    std::vector<double> codePages;
    std::vector<platform::FontFamilyRecord> families;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        families = platform::EnumerateFontFamilies();
        listing.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        std::vector<platform::FontFamilyRecord> read = families;
        CatalogueScan::ReadCharacterSets(read);
        codePages.push_back(clock.nsecsElapsed() / 1e6);
    }
    const int byLanguage = countJapanese(families);
    evictFromPageCache(setDir + QStringLiteral("/fonts"));
    QElapsedTimer clock;
    clock.start();
    CatalogueScan::ReadCharacterSets(families);
    const double cold = clock.nsecsElapsed() / 1e6;
    std::printf("%8zu %10.1f %12.1f %12.1f %10d %10d\n", families.size(), median(listing),
                median(codePages), cold, byLanguage, countJapanese(families));
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
    std::printf("families, ms: median of 5 (files in memory), once cold (files from disk)\n");
    std::printf("%8s %10s %12s %12s %10s %10s\n", "families", "listing", "code pages", "cold",
                "ja (fc)", "ja (OS/2)");
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
