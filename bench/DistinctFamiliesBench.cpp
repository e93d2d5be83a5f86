// How the program copes with thousands of distinct font families, as a user meets them: the
// window's first appearance, the first screenful of tiles, the whole start-up build, rebuilds
// (filter switch, sample text) and peak memory.
//
//   DistinctFamiliesBench SETS [count...]        (default counts: 500 1000 2000 4000)
//
// SETS is the folder bench/make-font-set.py writes; SETS/<count>/fonts.conf lists exactly
// <count> families. Every start is a process of its own with fontconfig pointed at one set,
// so that neither memory peaks nor Qt's font caches carry over from one start to the next.
// At each count the program starts three times: first with its own cache folder empty, then
// again (the figures of the table: a warm start, as most starts are), and once more after the
// set's files have been dropped from the page cache. One run each; the figures are for
// comparing, never for passing or failing anything.
//
//   DistinctFamiliesBench --first-start SETS [count...]
//
// measures only the first start, with the program's cache folder empty, five times at each
// count: the start that reads every font file. Besides the wall clock (which other work on
// the machine disturbs) it prints the CPU time the start took, on all its threads and on the
// GUI thread alone.
//
//   DistinctFamiliesBench --measure [--start-only]
//
// is one start, measured in this process; it prints one line of figures.
#include "BenchSupport.h"
#include "GapWatch.h"
#include "app/Startup.h"
#include "fonts/FontPool.h"
#include "fonts/Panel.h"
#include "fontengine/TileText.h"
#include "platform/Application.h"
#include "ui/Glyphorama.h"

#include "ui_Glyphorama.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

const char* const StartedVariable = "GLYPHORAMA_BENCH_STARTED_NS";

qint64 clockNs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// When this process started, on the wall clock. The parent passes the moment it started us;
// run by hand, the kernel's start time (to 10 ms) stands in.
qint64 processStartNs() {
    bool ok = false;
    const qint64 passed = qEnvironmentVariable(StartedVariable).toLongLong(&ok);
    if (ok)
        return passed;
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return clockNs(CLOCK_REALTIME);
    // The command name may hold spaces; the fields after it are counted from its ")".
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const qint64 ticks = fields.value(19).toLongLong(); // field 22 of the whole line
    const qint64 sinceBootNs = ticks * (1000000000 / sysconf(_SC_CLK_TCK));
    return clockNs(CLOCK_REALTIME) - (clockNs(CLOCK_BOOTTIME) - sinceBootNs);
}

// CPU time of every thread of this process so far.
double cpuMs() {
    return clockNs(CLOCK_PROCESS_CPUTIME_ID) / 1e6;
}

double peakResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Tiles paint their text for the first time a few per frame while many are new: a frame
// shows a full screen only once each tile in view has.
bool everyTileInViewDrawn(const TGlyphorama& window) {
    const QWidget* viewport = window.ui->ScrollBox->viewport();
    for (QObject* child : window.ui->FlowPanel->children()) {
        const auto* tile = qobject_cast<const TPanel*>(child);
        if (!tile || tile->isHidden() || !tile->Sample() || tile->Sample()->Drawn())
            continue;
        const QRect inView(tile->mapTo(viewport, QPoint()), tile->size());
        if (inView.intersects(viewport->rect()))
            return false;
    }
    return true;
}

// Notes when the window has finished painting a frame: its first frame (the window is shown),
// and the first frame that shows a full screen of tiles. A frame is timed from its end, after
// the tiles in it have been painted; an expose that only asks for a later paint is no frame.
class FrameWatch : public QObject {
public:
    FrameWatch(TGlyphorama& window, std::function<double()> clock)
        : window_(window), clock_(std::move(clock)) {
        qApp->installEventFilter(this);
    }
    ~FrameWatch() override { qApp->removeEventFilter(this); }

    // From now on, look for the first frame with a full screen of tiles.
    void ArmScreenful() {
        armedAt_ = clock_();
        screenfulMs = -1;
    }
    double firstFrameMs = -1;
    double screenfulMs = -1; // since ArmScreenful
    std::function<void()> OnFirstFrame;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && inFrame_)
            painted_ = true;
        const bool frame = (event->type() == QEvent::UpdateRequest && watched == &window_) ||
                           (event->type() == QEvent::Expose && watched->isWindowType() &&
                            watched == window_.windowHandle());
        if (!frame || inFrame_)
            return false;
        // What this frame will show, decided before it is painted.
        const bool full = screenFull();
        inFrame_ = true;
        painted_ = false;
        watched->event(event);
        inFrame_ = false;
        if (!painted_)
            return true;
        const double now = clock_();
        if (firstFrameMs < 0) {
            firstFrameMs = now;
            if (OnFirstFrame)
                OnFirstFrame();
        }
        if (full && screenfulMs < 0 && armedAt_ >= 0 && everyTileInViewDrawn(window_))
            screenfulMs = now - armedAt_;
        return true;
    }

private:
    // The screen is full when a tile starts below the view's bottom edge: every row in view is
    // then complete. A build smaller than the screen fills it when it ends.
    bool screenFull() const {
        if (!window_.FontPool)
            return false;
        if (!window_.FontPool->Building)
            return true;
        const QWidget* viewport = window_.ui->ScrollBox->viewport();
        const QObjectList& children = window_.ui->FlowPanel->children();
        for (auto child = children.crbegin(); child != children.crend(); ++child) {
            const auto* tile = qobject_cast<const QWidget*>(*child);
            if (tile && !tile->isHidden())
                return tile->mapTo(viewport, QPoint()).y() >= viewport->height();
        }
        return false;
    }

    TGlyphorama& window_;
    std::function<double()> clock_;
    double armedAt_ = -1;
    bool inFrame_ = false;
    bool painted_ = false;
};

// Notes the moment the window is first shown: the start-up build begins there.
class ShowWatch : public QObject {
public:
    ShowWatch(QWidget& window, std::function<void()> onShow) : onShow_(std::move(onShow)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && onShow_) {
            onShow_();
            onShow_ = nullptr;
        }
        return false;
    }

private:
    std::function<void()> onShow_;
};

// Runs the event loop until the catalogue's build has ended and what it left is painted, the
// new text of every tile in view included.
void settle(TGlyphorama& window) {
    while (window.FontPool->Building || !everyTileInViewDrawn(window))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

struct Timed {
    double ms = 0;
    double gapMs = 0;
    double screenfulMs = -1;
};

Timed timed(TGlyphorama& window, FrameWatch& frames, const std::function<void()>& action) {
    Timed t;
    GapWatch gaps;
    QElapsedTimer clock;
    frames.ArmScreenful();
    gaps.Start();
    clock.start();
    action();
    settle(window);
    t.ms = clock.nsecsElapsed() / 1e6;
    gaps.Stop();
    t.gapMs = gaps.maxGapMs;
    t.screenfulMs = frames.screenfulMs;
    return t;
}

void writeSettings(const QString& dataDir) {
    QDir().mkpath(dataDir + QStringLiteral("/tags"));
    QFile ini(dataDir + QStringLiteral("/Glyphorama.ini"));
    // All fonts (the view of the "全て" button) in a window as large as the screen.
    if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ini.write("[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=5\n"
                  "form_left=0\nform_top=0\nform_width=1280\nform_height=900\n");
}

// One start of the program, measured; prints "figures name=value ...".
int measureOneStart(int argc, char** argv, bool startOnly) {
    const qint64 startedNs = processStartNs();
    const auto sinceStartMs = [startedNs] { return (clockNs(CLOCK_REALTIME) - startedNs) / 1e6; };
    const QTemporaryDir& home = UseThrowawayHome();
    QFile screen(home.filePath(QStringLiteral("screen.json")));
    if (screen.open(QIODevice::WriteOnly))
        screen.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1280,
                        "height": 900, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));

    platform::Application app(argc, argv);
    writeSettings(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                  QStringLiteral("/Glyphorama"));
    PrepareApplication(app);

    TGlyphorama window;
    FrameWatch frames(window, sinceStartMs);
    GapWatch startGaps;
    double shownMs = -1;
    ShowWatch showWatch(window, [&] {
        shownMs = sinceStartMs();
        frames.ArmScreenful();
    });
    // Pauses count once the window is on screen: before its first frame nobody can wait on
    // it, and that time is the start-up's, measured as such.
    frames.OnFirstFrame = [&] { startGaps.Start(); };
    window.show();
    settle(window);
    const double settledMs = sinceStartMs();
    const double settledCpuMs = cpuMs();
    const double settledGuiCpuMs = clockNs(CLOCK_THREAD_CPUTIME_ID) / 1e6;
    startGaps.Stop();
    const double startScreenfulMs = frames.screenfulMs < 0 ? -1 : shownMs + frames.screenfulMs;

    QStringList figures;
    const auto add = [&figures](const char* name, double value) {
        figures << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(value, 0, 'f', 2);
    };
    add("families", double(window.FontPool->FontList.size()));
    add("tiles", double(window.FontPool->ViewList.size()));
    add("window", frames.firstFrameMs);
    add("screenful", startScreenfulMs);
    add("settled", settledMs);
    add("build", settledMs - shownMs);
    add("gap", startGaps.maxGapMs);
    add("peakStart", peakResidentMiB());
    add("cpuStart", settledCpuMs);
    add("cpuGui", settledGuiCpuMs);

    if (!startOnly) {
        const Timed western = timed(window, frames, [&] { window.ShowEnglishClick(); });
        const Timed all = timed(window, frames, [&] { window.ShowAllClick(); });
        const Timed text = timed(window, frames, [&] {
            window.ui->SampleText->setText(QStringLiteral("Glyph あいう永"));
            window.SampleTextLeftButtonClick();
        });
        const Timed clear = timed(window, frames, [&] { window.SampleTextRightButtonClick(); });
        for (const auto& [name, t] : {std::pair{"western", western}, std::pair{"all", all},
                                      std::pair{"text", text}, std::pair{"clear", clear}}) {
            add(name, t.ms);
            add((std::string(name) + "Gap").c_str(), t.gapMs);
            add((std::string(name) + "Screenful").c_str(), t.screenfulMs);
        }
    }
    add("peak", peakResidentMiB());
    std::printf("figures %s\n", qPrintable(figures.join(u' ')));
    std::fflush(stdout);
    window.close();
    return 0;
}

using Figures = QMap<QString, double>;

// Drops a folder's files from the page cache, as after a reboot. Only files nobody has
// mapped leave; the set's files are ours alone.
void evictFromPageCache(const QString& folder) {
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const int fd = ::open(QFile::encodeName(files.next()).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// One start in a child process; empty figures when it failed.
// cacheHome: the program's cache folder; by default one in the set's folder.
Figures runStart(const QString& program, const QString& setDir, bool startOnly,
                 const QString& cacheHome = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), setDir + QStringLiteral("/fonts.conf"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                       cacheHome.isEmpty() ? setDir + QStringLiteral("/home-cache") : cacheHome);
    environment.insert(QString::fromLatin1(StartedVariable),
                       QString::number(clockNs(CLOCK_REALTIME)));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{QStringLiteral("--measure")};
    if (startOnly)
        arguments << QStringLiteral("--start-only");
    child.start(program, arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        std::fprintf(stderr, "the start on %s failed\n", qPrintable(setDir));
        return {};
    }
    Figures figures;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("figures "))
            continue;
        for (const QByteArray& pair : line.mid(8).split(' ')) {
            const int equals = pair.indexOf('=');
            if (equals > 0)
                figures.insert(QString::fromLatin1(pair.left(equals)),
                               pair.mid(equals + 1).toDouble());
        }
    }
    return figures;
}

struct CountFigures {
    int count = 0;
    Figures firstStart; // the program's own cache folder empty
    Figures warm;       // the next start: every file in memory, every cache filled
    Figures cold;       // the set's files and the caches read from disk again
};

void printFigures(const std::vector<CountFigures>& all) {
    const auto get = [](const Figures& f, const char* name) {
        return f.value(QLatin1String(name), -1);
    };
    const CountFigures& base = all.front();
    const double basePerFamily = get(base.warm, "build") / get(base.warm, "tiles");

    std::printf("\ndistinct families, offscreen 1280x900, warm fontconfig cache, one run each\n");
    std::printf("start-up (ms from process start; build: from the window's show to the last tile)"
                "\n");
    std::printf("%8s %7s %9s %8s %8s %9s %6s %8s %8s %8s %8s %8s\n", "families", "window",
                "1st scr", "settled", "build", "ms/fam", "ratio", "max gap", "peak MiB", "at start",
                "1st run", "cold");
    for (const CountFigures& c : all) {
        const Figures& w = c.warm;
        const double perFamily = get(w, "build") / get(w, "tiles");
        std::printf("%8d %7.0f %9.0f %8.0f %8.0f %9.3f %6.2f %8.1f %8.1f %8.1f %8.0f %8.0f\n",
                    c.count, get(w, "window"), get(w, "screenful"), get(w, "settled"),
                    get(w, "build"), perFamily, perFamily / basePerFamily, get(w, "gap"),
                    get(w, "peak"), get(w, "peakStart"), get(c.firstStart, "settled"),
                    get(c.cold, "settled"));
    }
    std::printf("  ratio: cost per family against that at %d; max gap: longest GUI pause from the "
                "first frame on;\n  peak: VmHWM at the end of the run, at start: after the "
                "start-up build; 1st run: settled\n  with the program's cache folder empty; "
                "cold: settled after the set's files were dropped\n  from the page cache\n",
                base.count);

    std::printf("\nrebuilds over the full view (ms from the click until built and painted; gap: "
                "longest GUI pause)\n");
    std::printf("%8s %9s %7s %7s %9s %7s %7s %9s %7s %9s %7s\n", "families", "->欧文", "1st scr",
                "gap", "->全て", "1st scr", "gap", "text", "gap", "clear", "gap");
    for (const CountFigures& c : all) {
        const Figures& w = c.warm;
        std::printf("%8d %9.0f %7.0f %7.1f %9.0f %7.0f %7.1f %9.0f %7.1f %9.0f %7.1f\n", c.count,
                    get(w, "western"), get(w, "westernScreenful"), get(w, "westernGap"),
                    get(w, "all"), get(w, "allScreenful"), get(w, "allGap"), get(w, "text"),
                    get(w, "textGap"), get(w, "clear"), get(w, "clearGap"));
    }
    std::printf("  ->欧文: the Western filter (3/4 of the families); ->全て: back to all; text: "
                "applying the\n  sample text \"Glyph あいう永\"; clear: clearing it again\n");

    // Against the targets the catalogue's work is measured by.
    const CountFigures& top = all.back();
    const double topRatio = (get(top.warm, "build") / get(top.warm, "tiles")) / basePerFamily;
    std::printf("\ntarget: cost per family at %d at most 1.2x that at %d: %.2fx  %s\n", top.count,
                base.count, topRatio, verdict(topRatio <= 1.2));
    std::printf("target: %d families settled within 2300 ms: %.0f ms  %s\n", top.count,
                get(top.warm, "settled"), verdict(get(top.warm, "settled") <= 2300));
    double worstWindow = 0, worstScreenful = 0, worstGap = 0;
    for (const CountFigures& c : all) {
        worstWindow = std::max(worstWindow, get(c.warm, "window"));
        worstScreenful = std::max(worstScreenful, get(c.warm, "screenful"));
        for (const char* gap : {"gap", "westernGap", "allGap", "textGap", "clearGap"})
            worstGap = std::max(worstGap, get(c.warm, gap));
    }
    std::printf("target: first window within 200 ms at every count: worst %.0f ms  %s\n",
                worstWindow, verdict(worstWindow <= 200));
    std::printf("target: first screenful within 300 ms at every count: worst %.0f ms  %s\n",
                worstScreenful, verdict(worstScreenful <= 300));
    std::printf("target: no GUI gap over 50 ms, builds and rebuilds: worst %.1f ms  %s\n", worstGap,
                verdict(worstGap <= 50));
    for (const CountFigures& c : all) {
        if (c.count != 2000)
            continue;
        const double switchMs = std::max(get(c.warm, "western"), get(c.warm, "all"));
        const double textMs = std::max(get(c.warm, "text"), get(c.warm, "clear"));
        std::printf("target: filter switch at 2000 within 500 ms: %.0f ms  %s\n", switchMs,
                    verdict(switchMs <= 500));
        std::printf("target: sample text at 2000 within 500 ms: %.0f ms  %s\n", textMs,
                    verdict(textMs <= 500));
        std::printf("target: cold start at 2000 within 2000 ms: %.0f ms  %s\n",
                    get(c.cold, "settled"), verdict(get(c.cold, "settled") <= 2000));
    }
    if (top.count == 4000)
        std::printf("target: peak memory at 4000 at most 116 MiB: %.1f MiB  %s\n",
                    get(top.warm, "peak"), verdict(get(top.warm, "peak") <= 116));
}

// Repeated first starts at each count, each with an empty cache folder of its own.
int compareFirstStarts(int argc, char** argv) {
    constexpr int Runs = 5;
    QCoreApplication app(argc, argv);
    const QString sets = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    std::vector<int> counts;
    for (int i = 3; i < argc; ++i)
        counts.push_back(std::max(1, atoi(argv[i])));
    if (counts.empty())
        counts = {4000};
    std::printf("first starts (cache folder empty), median of %d and [min max]; ms\n", Runs);
    std::printf("%8s %20s %20s %20s %20s %20s\n", "families", "settled", "build", "max gap",
                "cpu", "cpu GUI thread");
    for (const int count : counts) {
        const QString setDir = sets + u'/' + QString::number(count);
        std::map<QString, std::vector<double>> runs;
        for (int run = 0; run < Runs; ++run) {
            // A folder of this run's own: the set's may be in use by another run.
            const QTemporaryDir cacheHome;
            const Figures figures =
                runStart(app.applicationFilePath(), setDir, true, cacheHome.path());
            if (figures.isEmpty())
                return 1;
            for (auto value = figures.cbegin(); value != figures.cend(); ++value)
                runs[value.key()].push_back(value.value());
        }
        const auto column = [&runs](const char* name) {
            std::vector<double>& values = runs[QLatin1String(name)];
            std::sort(values.begin(), values.end());
            return QStringLiteral("%1 [%2 %3]")
                .arg(median(values), 0, 'f', 0)
                .arg(values.front(), 0, 'f', 0)
                .arg(values.back(), 0, 'f', 0);
        };
        std::printf("%8d %20s %20s %20s %20s %20s\n", count, qPrintable(column("settled")),
                    qPrintable(column("build")), qPrintable(column("gap")),
                    qPrintable(column("cpuStart")), qPrintable(column("cpuGui")));
        std::fflush(stdout);
    }
    return 0;
}

int compareCounts(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sets = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i)
        counts.push_back(std::max(1, atoi(argv[i])));
    if (counts.empty())
        counts = {500, 1000, 2000, 4000};
    std::sort(counts.begin(), counts.end());

    std::vector<CountFigures> all;
    for (const int count : counts) {
        const QString setDir = sets + u'/' + QString::number(count);
        if (!QFile::exists(setDir + QStringLiteral("/fonts.conf"))) {
            std::fprintf(stderr, "no font set %s: make it with bench/make-font-set.py %s %d\n",
                         qPrintable(setDir), qPrintable(sets), count);
            return 1;
        }
        std::fprintf(stderr, "measuring %d families\n", count);
        CountFigures c;
        c.count = count;
        QDir(setDir + QStringLiteral("/home-cache")).removeRecursively();
        c.firstStart = runStart(app.applicationFilePath(), setDir, true);
        c.warm = runStart(app.applicationFilePath(), setDir, false);
        evictFromPageCache(setDir);
        c.cold = runStart(app.applicationFilePath(), setDir, true);
        if (c.warm.isEmpty())
            return 1;
        // Kept on the terminal as they come: the larger counts take minutes with today's code.
        for (const auto& [start, figures] :
             {std::pair{"first", &c.firstStart}, std::pair{"warm", &c.warm},
              std::pair{"cold", &c.cold}}) {
            QStringList pairs;
            for (auto value = figures->cbegin(); value != figures->cend(); ++value)
                pairs << value.key() + u'=' + QString::number(value.value());
            std::fprintf(stderr, "  %s start: %s\n", start, qPrintable(pairs.join(u' ')));
        }
        all.push_back(c);
    }
    printFigures(all);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--measure") == 0)
        return measureOneStart(argc, argv, argc >= 3 && std::strcmp(argv[2], "--start-only") == 0);
    if (argc >= 3 && std::strcmp(argv[1], "--first-start") == 0)
        return compareFirstStarts(argc, argv);
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s [--first-start] SETS [count...]\n", argv[0]);
        return 2;
    }
    return compareCounts(argc, argv);
}
