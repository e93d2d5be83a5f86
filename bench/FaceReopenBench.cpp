// What a face costs when a tile uses it again after letting go of it: the file read into
// memory again (or found at hand), HarfBuzz's face made again, a short text shaped, and all
// of it let go of. Over the machine's families (the installed font configuration), as tiles
// scroll past: one face after another, so that a file is rarely still at hand.
//
//   FaceReopenBench [--rounds R]          (default: 20 rounds)
#include "BenchSupport.h"
#include "fontengine/OpenFaceCache.h"
#include "platform/Application.h"
#include "platform/FontFamilies.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

const QString Text = QStringLiteral("Hamburg あ");

double useMicroseconds(OpenFaceCache& cache, const QString& path, int index) {
    QElapsedTimer clock;
    clock.start();
    if (FontFace* face = cache.Face(path, index)) {
        face->Shape(Text);
        face->ReleaseMemory();
    }
    return clock.nsecsElapsed() / 1e3;
}

// A tile's first paint: a face of its own opened, the text shaped and its outlines made.
double firstPaintMicroseconds(const std::shared_ptr<FontFileReader>& files, const QString& path,
                              int index) {
    QElapsedTimer clock;
    clock.start();
    if (const auto face = FontFace::Open(path, index, files)) {
        for (const GlyphRun::Glyph& glyph : face->Shape(Text).glyphs)
            if (!glyph.missing)
                face->Outline(glyph.id);
        face->ReleaseMemory();
    }
    return clock.nsecsElapsed() / 1e3;
}

} // namespace

int main(int argc, char** argv) {
    UseThrowawayHome();
    int rounds = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[++i]));
    platform::Application app(argc, argv);

    std::map<QString, int> faces; // file and index, each once
    for (const auto& family : platform::EnumerateFontFamilies())
        faces.emplace(family.FilePath, family.FaceIndex);

    OpenFaceCache cache;
    std::map<QString, std::vector<double>> scrolled;
    std::map<QString, std::vector<double>> again;
    std::map<QString, std::vector<double>> painted;
    const auto files = std::make_shared<FontFileReader>();
    for (const auto& [path, index] : faces)
        useMicroseconds(cache, path, index); // the first opening
    const int readsBefore = cache.Reads();
    for (int round = 0; round < rounds; ++round)
        for (const auto& [path, index] : faces) {
            scrolled[path].push_back(useMicroseconds(cache, path, index));
            // At once again, as a tile painted twice: the file is still at hand.
            again[path].push_back(useMicroseconds(cache, path, index));
        }
    for (int round = 0; round < rounds; ++round)
        for (const auto& [path, index] : faces)
            painted[path].push_back(firstPaintMicroseconds(files, path, index));

    std::printf("%-32s %9s %12s %12s %12s\n", "face", "file KiB", "scrolled us", "at hand us",
                "painted us");
    std::vector<double> allScrolled;
    std::vector<double> allAgain;
    for (const auto& [path, index] : faces) {
        std::printf("%-32s %9lld %12.1f %12.1f %12.1f\n", qPrintable(QFileInfo(path).fileName()),
                    QFileInfo(path).size() / 1024, median(scrolled[path]), median(again[path]),
                    median(painted[path]));
        allScrolled.push_back(median(scrolled[path]));
        allAgain.push_back(median(again[path]));
    }
    std::printf("%zu faces, median of medians: scrolled %.1f us, at hand %.1f us; "
                "%d file reads in %d rounds\n",
                faces.size(), median(allScrolled), median(allAgain), cache.Reads() - readsBefore,
                rounds);
    return 0;
}
