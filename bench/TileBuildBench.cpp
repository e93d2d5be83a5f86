// How long the sample view takes to build its tiles, and how responsive the GUI thread stays
// meanwhile. Runs the real main window on the offscreen platform over the machine's font
// families, repeated to reach the wanted count. Each figure is the median of several runs.
//
//   TileBuildBench [--runs R] [count...]      (default: 5 runs of 200 and 2000)
#include "BenchSupport.h"
#include "GapWatch.h"
#include "fonts/FlowLayoutPanel.h"
#include "fonts/FontPool.h"
#include "platform/Application.h"
#include "platform/Thread.h"
#include "ui/Glyphorama.h"

#include "ui_Glyphorama.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int AllFonts = 6;
constexpr int NoFonts = 99;

std::vector<platform::FontFamilyRecord> repeatedFamilies(int count) {
    static const std::vector<platform::FontFamilyRecord> installed =
        platform::EnumerateFontFamilies();
    std::vector<platform::FontFamilyRecord> families;
    if (installed.empty())
        return families;
    for (int i = 0; i < count; ++i)
        families.push_back(installed[i % installed.size()]);
    return families;
}

// Notes the time of the first tile made in the flow panel.
class FirstTileWatch : public QObject {
public:
    explicit FirstTileWatch(QObject* panel) { panel->installEventFilter(this); }
    void Arm(const QElapsedTimer* clock) {
        clock_ = clock;
        firstMs = -1;
    }
    double firstMs = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded && clock_ && firstMs < 0)
            firstMs = clock_->nsecsElapsed() / 1e6;
        return false;
    }

private:
    const QElapsedTimer* clock_ = nullptr;
};

struct Figures {
    double buildMs = 0;        // from the rebuild's start to the builder's end
    double firstTileMs = 0;    // from the rebuild's start to the first tile
    double maxGapMs = 0;       // longest GUI pause during the build
    double rebuildFirstMs = 0; // the same rebuild over the tiles of the first one
    double rebuildGapMs = 0;   // its longest GUI pause (it destroys every tile first)
    double clearMs = 0;        // destroying every tile
    double hiddenLoopMs = 0;   // the same tiles made in one loop into the hidden flow panel
    double hiddenShowMs = 0;   // showing that panel with its tiles afterwards
};

void waitForBuild(TGlyphorama& window) {
    // Blocking in the event loop, as the program does: a poll with sleeps would add its
    // sleep to every tile.
    while (window.FontPool->Building)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void timedRebuild(TGlyphorama& window, FirstTileWatch& watch, double& buildMs, double& firstMs,
                  double& gapMs) {
    GapWatch gaps;
    QElapsedTimer clock;
    gaps.Start();
    clock.start();
    watch.Arm(&clock);
    window.SelectFontType(AllFonts, true);
    waitForBuild(window);
    buildMs = clock.nsecsElapsed() / 1e6;
    gaps.Stop();
    firstMs = watch.firstMs;
    gapMs = gaps.maxGapMs;
}

Figures measure(int count, const QString& dataDir) {
    Figures f;
    QFile ini(dataDir + QStringLiteral("/Glyphorama.ini"));
    if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ini.write(QByteArray("[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=") +
                  QByteArray::number(NoFonts) + "\nform_width=1000\nform_height=800\n");
    ini.close();
    const auto families = repeatedFamilies(count);
    TFontPool::FontSource = [families] { return families; };

    auto window = std::make_unique<TGlyphorama>();
    window->show();
    waitForBuild(*window); // the first view is empty
    FlowLayoutPanel* flow = window->ui->FlowPanel;
    FirstTileWatch watch(flow);

    timedRebuild(*window, watch, f.buildMs, f.firstTileMs, f.maxGapMs);
    double unused = 0;
    timedRebuild(*window, watch, unused, f.rebuildFirstMs, f.rebuildGapMs);

    // The floor: the same tiles, made in one loop into the hidden panel.
    TFontPool& pool = *window->FontPool;
    const std::vector<TFontUnit*> units = pool.ViewList;
    QElapsedTimer clock;
    clock.start();
    pool.ClearView();
    f.clearMs = clock.nsecsElapsed() / 1e6;
    window->ui->ScrollBox->hide();
    flow->hide();
    pool.ViewList = units;
    clock.restart();
    for (int i = 0; i < static_cast<int>(units.size()); ++i)
        pool.BuildTile(*units[i], i, pool.Options);
    f.hiddenLoopMs = clock.nsecsElapsed() / 1e6;
    clock.restart();
    flow->show();
    window->ui->ScrollBox->show();
    QCoreApplication::processEvents();
    f.hiddenShowMs = clock.nsecsElapsed() / 1e6;
    window.reset();
    return f;
}

// The step structure's own floor: a worker that asks the GUI thread, one blocking call at a
// time, to do nothing.
class EmptySteps : public platform::Thread {
public:
    explicit EmptySteps(int steps) : platform::Thread(true), steps_(steps) {}

protected:
    void Execute() override {
        for (int i = 0; i < steps_; ++i)
            Synchronize([] {});
    }

private:
    int steps_;
};

double emptyStepMs(int steps) {
    EmptySteps worker(steps);
    QElapsedTimer clock;
    clock.start();
    worker.Start();
    while (!worker.Finished())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = clock.nsecsElapsed() / 1e6;
    worker.WaitFor(true);
    return ms / steps;
}

// The median of each figure over the runs.
Figures medianOf(const std::vector<Figures>& runs) {
    Figures m;
    for (double Figures::*field :
         {&Figures::buildMs, &Figures::firstTileMs, &Figures::maxGapMs, &Figures::rebuildFirstMs,
          &Figures::rebuildGapMs, &Figures::clearMs, &Figures::hiddenLoopMs,
          &Figures::hiddenShowMs}) {
        std::vector<double> values;
        for (const Figures& run : runs)
            values.push_back(run.*field);
        m.*field = median(values);
    }
    return m;
}

double worstGap(const std::vector<Figures>& runs) {
    double worst = 0;
    for (const Figures& run : runs)
        worst = std::max({worst, run.maxGapMs, run.rebuildGapMs});
    return worst;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    UseThrowawayHome();
    platform::Application app(argc, argv);

    int runs = 5;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else
            counts.push_back(std::max(1, atoi(argv[i])));
    }
    if (counts.empty())
        counts = {200, 2000};
    std::sort(counts.begin(), counts.end());

    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                            QStringLiteral("/Glyphorama");
    QDir().mkpath(dataDir + QStringLiteral("/tags"));
    if (repeatedFamilies(1).empty()) {
        std::fprintf(stderr, "no installed font families\n");
        return 1;
    }

    std::vector<std::vector<Figures>> all(counts.size());
    for (int run = 0; run < runs; ++run) // interleaved, so that drift hits every count alike
        for (size_t c = 0; c < counts.size(); ++c)
            all[c].push_back(measure(counts[c], dataDir));
    std::vector<double> steps;
    for (int run = 0; run < runs; ++run)
        steps.push_back(emptyStepMs(2000));
    const double emptyStep = median(steps);

    std::printf("medians of %d runs, offscreen platform, %d installed families repeated\n", runs,
                static_cast<int>(platform::EnumerateFontFamilies().size()));
    std::printf("%6s %9s %8s %9s %8s %9s %9s %10s %10s %9s %9s\n", "tiles", "build ms", "ms/tile",
                "1st tile", "max gap", "loop ms", "show ms", "build/loop", "build/l+s", "re 1st",
                "clear ms");
    for (size_t c = 0; c < counts.size(); ++c) {
        const Figures f = medianOf(all[c]);
        std::printf("%6d %9.1f %8.3f %9.2f %8.1f %9.1f %9.1f %10.2f %10.2f %9.1f %9.1f\n",
                    counts[c], f.buildMs, f.buildMs / counts[c], f.firstTileMs, f.maxGapMs,
                    f.hiddenLoopMs, f.hiddenShowMs, f.buildMs / f.hiddenLoopMs,
                    f.buildMs / (f.hiddenLoopMs + f.hiddenShowMs), f.rebuildFirstMs, f.clearMs);
    }
    std::printf("empty synchronised step (the structure's own floor): %.3f ms\n", emptyStep);
    std::printf("peak resident memory: %.1f MiB\n", peakResidentMiB());
    std::printf(
        "  loop: the same tiles made in one loop into the hidden flow panel; show: showing\n"
        "  it afterwards; re 1st: first tile of a rebuild over a full view (it destroys\n"
        "  every tile first); max gap: between 10 ms timer ticks during the build\n");

    const Figures small = medianOf(all.front());
    const Figures large = medianOf(all.back());
    const int smallCount = counts.front();
    const int largeCount = counts.back();
    double gap = 0;
    for (const auto& runsOfCount : all)
        gap = std::max(gap, worstGap(runsOfCount));
    const double buildRatio = large.buildMs / large.hiddenLoopMs;
    const double perTileRatio = (large.buildMs / largeCount) / (small.buildMs / smallCount);
    std::printf("target: build of %d within 2x the loop: %.2fx (%.2fx of loop + show)  %s\n",
                largeCount, buildRatio, large.buildMs / (large.hiddenLoopMs + large.hiddenShowMs),
                verdict(buildRatio <= 2.0));
    std::printf("target: no GUI gap over 50 ms, worst of all runs and rebuilds: %.1f ms  %s\n", gap,
                verdict(gap <= 50.0));
    std::printf("target: cost per tile at %d at most 1.3x that at %d: %.2fx  %s\n", largeCount,
                smallCount, perTileRatio, verdict(perTileRatio <= 1.3));
    return 0;
}
