// What opening the 文字 tab costs, and scrolling its grid: for the face with the most
// characters on the machine (every installed font) and for a generated face of 45,000
// characters. Opening is from the face chosen to the grid and the coverage first painted;
// scrolling repaints the grid at positions spread over the whole face, each a step the user
// could take by dragging the scroll bar, and at consecutive pages.
//
//   CharacterMapBench [--characters N] [--rounds R]   (defaults: 45000, 5)
#include "BenchSupport.h"
#include "details/CharacterGrid.h"
#include "details/CharacterTab.h"
#include "fontengine/FontFace.h"
#include "platform/Application.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScrollBar>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <fontconfig/fontconfig.h>

namespace {

struct Face {
    QString path;
    int index = 0;
    int characters = 0;
};

// The installed face whose character set fontconfig counts the largest.
Face largestFace() {
    Face largest;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_CHARSET, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, all, objects);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* file = nullptr;
        FcCharSet* set = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch ||
            FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &set) != FcResultMatch)
            continue;
        FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
        const int count = static_cast<int>(FcCharSetCount(set));
        if (count > largest.characters)
            largest = {QString::fromUtf8(reinterpret_cast<const char*>(file)), index, count};
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(all);
    return largest;
}

void measure(const QString& label, const Face& face, int rounds) {
    CharacterTab tab;
    tab.resize(720, 460);
    tab.show();
    QElapsedTimer waited;
    waited.start();
    while (!(tab.windowHandle() && tab.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!tab.windowHandle() || !tab.windowHandle()->isExposed()) {
        std::printf("%s: the window did not show\n", qPrintable(label));
        return;
    }
    std::vector<double> opens;
    for (int round = 0; round < rounds; ++round) {
        tab.SetFace({}, 0);
        QElapsedTimer clock;
        clock.start();
        tab.SetFace(face.path, face.index);
        tab.repaint(); // the grid and the coverage painted, as the user first sees them
        opens.push_back(clock.nsecsElapsed() / 1e6);
    }
    CharacterGrid* grid = tab.Grid();
    const size_t characters = grid->Model().Characters().size();
    QScrollBar* bar = grid->verticalScrollBar();
    // Jumps over the whole face: each position new, its glyphs never outlined before.
    std::vector<double> jumps;
    double worstJump = 0;
    constexpr int Jumps = 100;
    for (int step = 0; step <= Jumps; ++step) {
        QElapsedTimer clock;
        clock.start();
        bar->setValue(bar->maximum() * ((step * 37) % (Jumps + 1)) / Jumps);
        grid->viewport()->repaint();
        jumps.push_back(clock.nsecsElapsed() / 1e6);
        worstJump = std::max(worstJump, jumps.back());
    }
    // Page after page from the top, as Page Down goes.
    bar->setValue(0);
    std::vector<double> pages;
    double worstPage = 0;
    for (int step = 0; step < 100 && bar->value() < bar->maximum(); ++step) {
        QElapsedTimer clock;
        clock.start();
        bar->setValue(bar->value() + bar->pageStep());
        grid->viewport()->repaint();
        pages.push_back(clock.nsecsElapsed() / 1e6);
        worstPage = std::max(worstPage, pages.back());
    }
    const double open = median(opens);
    const double worst = std::max(worstJump, worstPage);
    std::printf("%s: %s (face %d), %zu characters\n", qPrintable(label), qPrintable(face.path),
                face.index, characters);
    const double first = opens.front();
    std::printf("  open to first paint: first %.1f ms, median %.1f ms of %d (%s: under 300 ms)\n",
                first, open, rounds, verdict(std::max(first, open) < 300));
    std::printf("  scroll, jumps over the face: median %.1f ms, worst %.1f ms\n", median(jumps),
                worstJump);
    std::printf("  scroll, page by page: median %.1f ms, worst %.1f ms (%s: no pause over 50 "
                "ms)\n",
                median(pages), worstPage, verdict(worst < 50));
}

} // namespace

int main(int argc, char** argv) {
    const QTemporaryDir& home = UseThrowawayHome();
    int count = 45000;
    int rounds = 5;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--characters") == 0)
            count = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[++i]));
    }
    platform::Application app(argc, argv);

    const QString generated = home.filePath(QStringLiteral("charmap-large.ttf"));
    QProcess maker;
    maker.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/make-charmap-font.py"),
         generated, QStringLiteral("--characters"), QString::number(count)});
    if (!maker.waitForFinished(120000) || maker.exitCode() != 0) {
        std::printf("the generated face could not be made: %s\n",
                    maker.readAllStandardError().constData());
        return 1;
    }
    measure(QStringLiteral("generated face"), {generated, 0, count}, rounds);
    const Face largest = largestFace();
    if (largest.path.isEmpty())
        std::printf("no installed face\n");
    else
        measure(QStringLiteral("largest installed face"), largest, rounds);
    return 0;
}
