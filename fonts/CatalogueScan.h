#pragma once

#include "fontengine/CaptionMetricsCache.h"
#include "platform/FontFamilies.h"

#include <functional>
#include <future>
#include <thread>
#include <vector>

// What the catalogue starts from, the installed families and the cache of their faces, read
// on a thread of its own. With thousands of fonts the reading takes about as long as Qt's
// loading of its own font list for the window's first texts, and the two then overlap.
class CatalogueScan {
public:
    using Source = std::function<std::vector<platform::FontFamilyRecord>()>;
    struct Result {
        std::vector<platform::FontFamilyRecord> families;
        CaptionMetricsCache faces;
    };

    // Starts reading: the cache from cachePath (empty: a cache in memory only), the families
    // from source, called on the worker, and their character sets (ReadCharacterSets).
    CatalogueScan(Source source, const QString& cachePath);
    // Waits for a reading still running, unless it was given up.
    ~CatalogueScan();
    CatalogueScan(const CatalogueScan&) = delete;
    CatalogueScan& operator=(const CatalogueScan&) = delete;

    // Waits until the reading is done, or until giveUp (asked every few hundredths of a
    // second) says the program is ending. A reading given up is left to finish, or hang, on
    // its own: false, and nothing waits for it any more.
    bool WaitUntilRead(const std::function<bool()>& giveUp);

    // Waits for the reading and hands it over; rethrows what the reading threw. Once only.
    Result Take();

    // Gives each TrueType family whose character set fontconfig's languages gave the one its
    // regular face declares by its OS/2 code pages, as the desktop the font classes come from
    // decides it: Japanese when the JIS page is set. Klee One or M PLUS lack a few characters
    // of the Japanese orthography and fontconfig does not list "ja" for them, yet they are
    // Japanese fonts; a Chinese family that declares the JIS page counts as Japanese there
    // too. A face without code pages (no OS/2 table, or one of version 0), or whose file
    // cannot be read, keeps what fontconfig said. The cache keeps what was read, by the
    // files' stamps: a start then opens no font file for it.
    static void ReadCharacterSets(std::vector<platform::FontFamilyRecord>& families,
                                  CaptionMetricsCache* cache = nullptr);

private:
    std::future<Result> result_;
    std::thread worker_;
};
