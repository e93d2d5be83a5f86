#pragma once

#include "fontengine/CaptionMeasurer.h"
#include "fontengine/CaptionMetricsCache.h"
#include "fontengine/OpenFaceCache.h"
#include "fontengine/TileText.h"

#include <memory>

// Makes what each tile draws from its family's own face. With no sample text, the caption and
// its width come from the cache of earlier runs when the font file has not changed, so the
// file is not read until the tile is painted.
class TileTextFactory {
public:
    // cachePath: the cache file; empty keeps the cache in memory only. dpi: the screen's
    // logical resolution, which turns points into pixels; 0 asks the primary screen.
    explicit TileTextFactory(const QString& cachePath, double dpi = 0);
    // The same with a cache read already.
    explicit TileTextFactory(CaptionMetricsCache cache, double dpi = 0);

    // The sample of the family at (path, index) named name: sampleText, or with an empty
    // sampleText the family's default caption (its name, or a sample it covers).
    std::unique_ptr<TileText> Make(const QString& path, int index, const QString& name,
                                   const QString& sampleText, int pointSize);

    // Starts measuring the default captions of the faces the cache lacks on worker threads,
    // one per core but one, in the order given, for the calls of Make that follow in that
    // order; any measuring started before is stopped. What Make then gives is the same,
    // sooner.
    void MeasureAhead(const std::vector<CaptionMeasurer::Face>& faces);
    // Stops measuring ahead; waits for the faces being measured now.
    void StopMeasuring() { ahead_.reset(); }
    // The measuring started by MeasureAhead, if any, for tests and the benchmark.
    const CaptionMeasurer* Ahead() const { return ahead_.get(); }

    double PixelSize(int pointSize) const { return pointSize * dpi_ / 72.0; }
    OpenFaceCache& Store() { return *store_; }
    CaptionMetricsCache& Cache() { return cache_; }

private:
    std::unique_ptr<TileText> makeDefault(const QString& path, int index, const QString& name,
                                          double pixelSize);

    std::shared_ptr<OpenFaceCache> store_;
    CaptionMetricsCache cache_;
    double dpi_ = 96;
    std::unique_ptr<CaptionMeasurer> ahead_;
};
