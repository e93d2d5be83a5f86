// How long deciding which families can show a sample text takes: the first question, which
// reads every family's character set from fontconfig, and the questions after it, answered
// from the index. Each later figure is the median of several runs.
//
//   CoverageBench [fonts.conf]   (default: the current fontconfig configuration)
//
// Give it a configuration over distinct families (bench/make-font-set.py writes them): the
// installed families repeated would measure a handful of cached character sets.
#include "BenchSupport.h"
#include "fontengine/CoverageIndex.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fontconfig/fontconfig.h>
#include <vector>

namespace {

// The families' first names, as the catalogue lists them.
QStringList familyNames(FcConfig* config) {
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    QSet<QString> names;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
            names.insert(QString::fromUtf8(reinterpret_cast<const char*>(name)));
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    QStringList list(names.begin(), names.end());
    list.sort();
    return list;
}

// This thread's processor time: on a loaded machine wall time also counts the waits for a core.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    FcInit();
    FcConfig* config = nullptr;
    if (argc > 1) {
        config = FcConfigCreate();
        if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(argv[1]), FcTrue) ||
            !FcConfigBuildFonts(config)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
    }
    const QStringList families = familyNames(config);
    // Twenty characters: Latin, kana and kanji, as a Japanese user's sample might be.
    const QString text = QStringLiteral("Glyphs 0123かなカナ漢字。ABC");
    const auto characters = CoverageIndex::CharactersToCover(text);

    constexpr int Runs = 7;
    std::vector<double> first;
    std::vector<double> later;
    std::vector<double> firstCpu;
    std::vector<double> laterCpu;
    int covering = 0;
    for (int run = 0; run < Runs; ++run) {
        CoverageIndex index(config);
        QElapsedTimer clock;
        clock.start();
        double cpu = cpuMs();
        covering = 0;
        for (const QString& family : families)
            covering += index.Covers(family, characters);
        first.push_back(clock.nsecsElapsed() / 1e6);
        firstCpu.push_back(cpuMs() - cpu);
        clock.restart();
        cpu = cpuMs();
        for (const QString& family : families)
            index.Covers(family, text); // the text split each time, the worst a caller can do
        later.push_back(clock.nsecsElapsed() / 1e6);
        laterCpu.push_back(cpuMs() - cpu);
    }
    std::printf("%lld families, %zu characters, %d cover them all\n",
                static_cast<long long>(families.size()), characters.size(), covering);
    std::printf("medians of %d runs, wall (processor) time:\n", Runs);
    std::printf("  first question, index built: %.1f ms (%.1f ms)\n", median(first),
                median(firstCpu));
    std::printf("  later questions, from the index: %.2f ms (%.2f ms)\n", median(later),
                median(laterCpu));
    if (config)
        FcConfigDestroy(config);
    return 0;
}
