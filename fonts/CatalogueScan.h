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

    // Starts reading: the families from source, called on the worker; the cache from
    // cachePath (empty: a cache in memory only).
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

private:
    std::future<Result> result_;
    std::thread worker_;
};
