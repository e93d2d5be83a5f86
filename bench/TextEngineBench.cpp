// What the text engine costs: shaping a tile's caption (every tile of the sample view shapes
// one), and opening the details window on a sample as long as the sample field allows, whose
// waterfall shapes and draws only what it shows. Each figure is the median of several runs.
//
//   TextEngineBench [family]      (default: DejaVu Sans)
#include "BenchSupport.h"
#include "details/FontDetailsForm.h"
#include "fontengine/FontDetails.h"
#include "fontengine/FontFace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

// The peak of the process's resident memory so far, in MB.
double peakMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Microseconds per Shape() of each caption, over many shapings.
void shapeCaptions(const FontFace& face, const char* label) {
    const QStringList captions{QStringLiteral("Aa Bb Cc"), QStringLiteral("DejaVu Sans Mono"),
                               QStringLiteral("IPAゴシック"), QStringLiteral("あいうえお漢字"),
                               QStringLiteral("abc مرحبا")};
    constexpr int Rounds = 20000;
    for (const QString& caption : captions) {
        std::vector<double> runs;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            int glyphs = 0;
            for (int i = 0; i < Rounds; ++i)
                glyphs += static_cast<int>(face.Shape(caption).glyphs.size());
            runs.push_back(timer.nsecsElapsed() / 1e3 / Rounds);
            if (glyphs == 0)
                std::printf("(no glyphs)\n");
        }
        std::printf("shape %-10s %-18s %6.2f us\n", label, caption.toUtf8().constData(),
                    median(runs));
    }
}

} // namespace

int main(int argc, char** argv) {
    UseThrowawayHome();
    QApplication app(argc, argv);
    const QString family =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("DejaVu Sans");
    const FamilyDetails details = ReadFamilyDetails(family);
    if (details.RegularFace < 0) {
        std::fprintf(stderr, "no family %s\n", argv[1]);
        return 1;
    }
    const FaceDetails& regular = details.Faces[details.RegularFace];
    const auto face = FontFace::Open(regular.File, regular.Index);
    if (!face) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(regular.File));
        return 1;
    }
    shapeCaptions(*face, "caption");

    // The sample field's longest text, in three scripts and both directions.
    QString sample;
    while (sample.size() < 32767)
        sample += QStringLiteral("Hamburg あいう مرحبا 永 fi ");
    sample.truncate(32767);
    const double before = peakMb();
    std::vector<double> opens;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        FontDetailsForm form(details, sample);
        form.resize(720, 560);
        form.grab(); // lays out and paints the waterfall's rows in view
        opens.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("details window, 32767 characters: %.1f ms to open and paint, peak %+.1f MB\n",
                median(opens), peakMb() - before);
    return 0;
}
