#pragma once

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

    double PixelSize(int pointSize) const { return pointSize * dpi_ / 72.0; }
    OpenFaceCache& Store() { return *store_; }
    CaptionMetricsCache& Cache() { return cache_; }

private:
    std::unique_ptr<TileText> makeDefault(const QString& path, int index, const QString& name,
                                          double pixelSize);

    std::shared_ptr<OpenFaceCache> store_;
    CaptionMetricsCache cache_;
    double dpi_ = 96;
};
