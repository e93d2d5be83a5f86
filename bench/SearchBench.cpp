// How long the sample view takes to follow one keystroke in the name search, against a full
// rebuild of the same view. Runs the real main window on the offscreen platform over distinct
// font families (names of real families, numbered), typing a text one character at a time and
// then deleting it the same way. Each keystroke is timed until its repaint is done.
//
//   SearchBench [--runs R] [count]      (default: 3 runs of 2000 families)
#include "BenchSupport.h"
#include "fonts/FontPool.h"
#include "platform/Application.h"
#include "ui/Glyphorama.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int AllFonts = 6;
const QString Typed = QStringLiteral("noto sans 1");

std::vector<platform::FontFamilyRecord> distinctFamilies(int count) {
    static const char* const stems[] = {
        "Noto Sans",  "Noto Serif",    "DejaVu Sans", "Source Han", "IPAGothic", "M PLUS Rounded",
        "Liberation", "Noto Sans CJK", "Ubuntu Mono", "Fira Code",  "Cantarell", "Noto Sans Mono"};
    std::vector<platform::FontFamilyRecord> families;
    for (int i = 0; i < count; ++i) {
        platform::FontFamilyRecord record;
        record.FaceName = QStringLiteral("%1 %2")
                              .arg(QString::fromLatin1(stems[i % std::size(stems)]))
                              .arg(i, 4, 10, QLatin1Char('0'));
        record.OtherNames = {record.FaceName + QStringLiteral(" ゴシック")};
        families.push_back(record);
    }
    return families;
}

void waitForBuild(TGlyphorama& window) {
    while (window.FontPool->Building)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Figures {
    double rebuildMs = 0;
    std::vector<double> keystrokeMs;
    std::vector<double> filterMs; // the part before the repaint
};

Figures measure(int count, const QString& dataDir) {
    QFile ini(dataDir + QStringLiteral("/Glyphorama.ini"));
    if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ini.write("[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=99\n"
                  "form_width=1000\nform_height=800\n");
    ini.close();
    const auto families = distinctFamilies(count);
    TFontPool::FontSource = [families] { return families; };
    auto window = std::make_unique<TGlyphorama>();
    window->show();
    waitForBuild(*window);

    Figures f;
    QElapsedTimer clock;
    clock.start();
    window->SelectFontType(AllFonts, true);
    waitForBuild(*window);
    f.rebuildMs = clock.nsecsElapsed() / 1e6;

    auto* field = window->findChild<QLineEdit*>(QStringLiteral("FontNameSearch"));
    QString text;
    const auto keystroke = [&] {
        clock.restart();
        field->setText(text);
        f.filterMs.push_back(clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents(); // the repaint
        f.keystrokeMs.push_back(clock.nsecsElapsed() / 1e6);
    };
    for (const QChar c : Typed) {
        text += c;
        keystroke();
    }
    while (!text.isEmpty()) {
        text.chop(1);
        keystroke();
    }
    window.reset();
    return f;
}

} // namespace

int main(int argc, char** argv) {
    UseThrowawayHome();
    platform::Application app(argc, argv);

    int runs = 3;
    int count = 2000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else
            count = std::max(1, atoi(argv[i]));
    }
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                            QStringLiteral("/Glyphorama");
    QDir().mkpath(dataDir + QStringLiteral("/tags"));

    std::vector<double> rebuilds;
    std::vector<double> keystrokes;
    std::vector<double> filters;
    double worst = 0;
    for (int run = 0; run < runs; ++run) {
        const Figures f = measure(count, dataDir);
        rebuilds.push_back(f.rebuildMs);
        keystrokes.insert(keystrokes.end(), f.keystrokeMs.begin(), f.keystrokeMs.end());
        filters.insert(filters.end(), f.filterMs.begin(), f.filterMs.end());
        worst = std::max(worst, *std::max_element(f.keystrokeMs.begin(), f.keystrokeMs.end()));
    }
    const double rebuild = median(rebuilds);
    const double keystroke = median(keystrokes);
    std::printf("%d runs, offscreen platform, %d distinct families, typing \"%s\" and deleting "
                "it (%d keystrokes a run)\n",
                runs, count, qPrintable(Typed), static_cast<int>(Typed.size()) * 2);
    std::printf("full rebuild of the view: %.1f ms (median)\n", rebuild);
    std::printf("keystroke, hide/show and repaint: median %.1f ms, worst %.1f ms; "
                "median is %.4f of a rebuild\n",
                keystroke, worst, keystroke / rebuild);
    std::printf("  of which hiding, showing and placing the tiles: median %.1f ms, worst %.1f ms\n",
                median(filters), *std::max_element(filters.begin(), filters.end()));
    std::printf("target: every keystroke within 50 ms: worst %.1f ms  %s\n", worst,
                worst <= 50.0 ? "met" : "MISSED");
    return 0;
}
