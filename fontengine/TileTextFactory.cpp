#include "fontengine/TileTextFactory.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <algorithm>

TileTextFactory::TileTextFactory(const QString& cachePath, double dpi)
    : TileTextFactory(CaptionMetricsCache(cachePath), dpi) {}

TileTextFactory::TileTextFactory(CaptionMetricsCache cache, double dpi)
    : store_(std::make_shared<OpenFaceCache>()), cache_(std::move(cache)), dpi_(dpi) {
    if (dpi_ <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        dpi_ = screen ? screen->logicalDotsPerInchY() : 96;
    }
}

std::unique_ptr<TileText> TileTextFactory::Make(const QString& path, int index, const QString& name,
                                                const QString& sampleText, int pointSize) {
    const double pixelSize = PixelSize(pointSize);
    if (sampleText.isEmpty())
        return makeDefault(path, index, name, pixelSize);
    const FontFace* face = store_->Face(path, index);
    const int unitsPerEm = face ? face->UnitsPerEm() : 1000;
    GlyphRun run = face ? face->Shape(sampleText) : FontFace::AllMissing(sampleText, 500);
    if (face)
        face->ReleaseMemory();
    const int width = TileText::PixelWidth(run.advance, unitsPerEm, pixelSize);
    const int missing = run.missing;
    return std::make_unique<TileText>(store_, path, index, sampleText, pixelSize, width, missing,
                                      std::move(run), face ? face->Serial() : 0);
}

void TileTextFactory::MeasureAhead(const std::vector<CaptionMeasurer::Face>& faces) {
    ahead_.reset();
    std::vector<CaptionMeasurer::Face> missing;
    for (const CaptionMeasurer::Face& face : faces)
        if (!cache_.Holds(face.path, face.index, face.name))
            missing.push_back(face);
    // The thread that builds the tiles measures too whenever it catches up with the workers:
    // one worker fewer than cores keeps it from waiting for a core of its own.
    if (!missing.empty())
        ahead_ = std::make_unique<CaptionMeasurer>(std::move(missing),
                                                   std::max(1, QThread::idealThreadCount() - 1));
}

std::unique_ptr<TileText> TileTextFactory::makeDefault(const QString& path, int index,
                                                       const QString& name, double pixelSize) {
    const std::optional<FileStamp> stamp = FileStamp::Of(path);
    if (stamp) {
        std::optional<CaptionMetrics> info = cache_.Find(*stamp, index, name);
        // Measured by a worker from the file as it still is.
        if (!info && ahead_) {
            if (std::optional<CaptionMeasurer::Result> measured = ahead_->Take(path, index, name);
                measured && measured->file == *stamp) {
                cache_.Store(*stamp, index, measured->info);
                info = std::move(measured->info);
            }
        }
        if (info)
            return std::make_unique<TileText>(
                store_, path, index, info->caption, pixelSize,
                TileText::PixelWidth(info->advance, info->unitsPerEm, pixelSize), info->missing);
    }
    const FontFace* face = store_->Face(path, index);
    MeasuredCaption measured = MeasureCaption(face, name);
    const CaptionMetrics& info = measured.info;
    // A face that cannot be read is not remembered: it may be readable at the next start.
    if (stamp && face)
        cache_.Store(*stamp, index, info);
    return std::make_unique<TileText>(
        store_, path, index, info.caption, pixelSize,
        TileText::PixelWidth(info.advance, info.unitsPerEm, pixelSize), info.missing,
        std::move(measured.run), face ? face->Serial() : 0);
}
