// What the user's tags add to the start: the main window is shown over a settings file naming
// N user tags (each with a small tag file), on the offscreen platform with a handful of
// families, and the time from the show to a built tag bar is taken, once without tags for
// reference. Also one rebuild of the bar (what every drop on a tag costs), a read of the list
// alone, the close (which saves the list), and a damaged "total" of 2147483647. Each figure is
// the median of several runs, in CPU time of the process.
//
//   TagBarBench [--runs R] [count...]      (default: 3 runs of 1000 and 10000)
#include "BenchSupport.h"
#include "app/AppCore.h"
#include "fonts/FontPool.h"
#include "platform/Application.h"
#include "tags/TagToolBar.h"
#include "ui/Glyphorama.h"

#include "ui_Glyphorama.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

namespace {

QString dataDir() {
    return QDir::homePath() + QStringLiteral("/Documents/Glyphorama");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A settings file with the tags (total given apart, so that it may lie) and no version check.
void writeSettings(int count, const QByteArray& total) {
    QDir(dataDir()).removeRecursively();
    QDir().mkpath(dataDir() + QStringLiteral("/tags"));
    QByteArray text = "[NetWork]\nVersionCheck=0\n[tags]\ntotal=" + total + "\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray name = QStringLiteral("タグ番号%1").arg(i).toUtf8();
        text += QByteArray::number(i) + '=' + name + '\n';
        if (i % 2 == 0)
            writeFile(dataDir() + QStringLiteral("/tags/") + QString::fromUtf8(name) +
                          QStringLiteral(".tag"),
                      "DejaVu Sans\r\nIPAGothic\r\n");
    }
    writeFile(dataDir() + QStringLiteral("/Glyphorama.ini"), text);
}

// CPU time of the process: on a shared machine, wall-clock time mostly tells how busy the
// others are.
class CpuClock {
public:
    void start() { start_ = now(); }
    double elapsedMs() const { return (now() - start_) * 1e3; }

private:
    static double now() {
        timespec time{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
    }
    double start_ = 0;
};

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Figures {
    double showMs = 0;    // show until the tag bar is built
    double rebuildMs = 0; // one more rebuild of the bar
    double freeMs = 0;    // freeing the buttons it replaced
    double readMs = 0;    // the list read from the settings file alone
    double closeMs = 0;   // the close, which saves the list
    int buttons = 0;
};

Figures measure(int count, const QByteArray& total) {
    writeSettings(count, total);
    Figures figures;
    CpuClock clock;
    {
        TAppCore core;
        QStringList list;
        clock.start();
        core.IniReadList(SettingsFileName, QStringLiteral("tags"), list);
        figures.readMs = clock.elapsedMs();
    }
    auto window = std::make_unique<TGlyphorama>();
    window->resize(800, 600);
    clock.start();
    window->show(); // the tags are loaded and the bar built inside
    settle();
    figures.showMs = clock.elapsedMs();
    figures.buttons = static_cast<int>(window->ui->TagBar->Buttons().size());
    clock.start();
    window->FontPool->RebuildTagBar();
    QCoreApplication::processEvents();
    figures.rebuildMs = clock.elapsedMs();
    clock.start();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    figures.freeMs = clock.elapsedMs();
    window->FontPool->CancelBuild();
    clock.start();
    window->close();
    figures.closeMs = clock.elapsedMs();
    window.reset();
    settle();
    return figures;
}

void report(const char* label, int count, const QByteArray& total, int runs) {
    std::vector<double> show, rebuild, freeing, read, close;
    int buttons = 0;
    for (int run = 0; run < runs; ++run) {
        const Figures f = measure(count, total);
        show.push_back(f.showMs);
        rebuild.push_back(f.rebuildMs);
        freeing.push_back(f.freeMs);
        read.push_back(f.readMs);
        close.push_back(f.closeMs);
        buttons = f.buttons;
    }
    std::printf("%-26s buttons %6d  show %7.1f ms  rebuild %7.1f ms + freeing %7.1f ms  "
                "list read %6.1f ms  close %8.1f ms\n",
                label, buttons, median(show), median(rebuild), median(freeing), median(read),
                median(close));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    UseThrowawayHome();
    platform::Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    app.OnException = [](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    };
    TFontPool::FontSource = [] {
        std::vector<platform::FontFamilyRecord> families;
        for (const char* name : {"DejaVu Sans", "IPAGothic"}) {
            platform::FontFamilyRecord record;
            record.FaceName = QString::fromLatin1(name);
            families.push_back(record);
        }
        return families;
    };

    int runs = 3;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty())
        counts = {1000, 10000};

    report("no user tags", 0, "0", runs);
    for (const int count : counts) {
        const QByteArray label = QByteArray::number(count) + " user tags";
        report(label.constData(), count, QByteArray::number(count), runs);
    }
    report("total=2147483647, 3 keys", 3, "2147483647", runs);
    return 0;
}
