#include "fontengine/TileTextFactory.h"

#include "fontengine/ScriptSamples.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// A short run of the face's own characters, for faces that cover none of our samples.
constexpr int FirstCharactersSample = 6;

} // namespace

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

std::unique_ptr<TileText> TileTextFactory::makeDefault(const QString& path, int index,
                                                       const QString& name, double pixelSize) {
    const std::optional<FileStamp> stamp = FileStamp::Of(path);
    if (stamp) {
        if (const auto info = cache_.Find(*stamp, index, name))
            return std::make_unique<TileText>(
                store_, path, index, info->caption, pixelSize,
                TileText::PixelWidth(info->advance, info->unitsPerEm, pixelSize), info->missing);
    }
    const FontFace* face = store_->Face(path, index);
    CaptionMetrics info;
    info.name = name;
    GlyphRun run;
    if (face) {
        info.caption = DefaultCaption(
            name, [face](char32_t c) { return face->HasCharacter(c); },
            [face] { return face->FirstCharacters(FirstCharactersSample); });
        run = face->Shape(info.caption);
        info.unitsPerEm = face->UnitsPerEm();
        face->ReleaseMemory();
    } else {
        info.caption = name;
        run = FontFace::AllMissing(name, info.unitsPerEm / 2.0);
    }
    info.advance = run.advance;
    info.missing = run.missing;
    // A face that cannot be read is not remembered: it may be readable at the next start.
    if (stamp && face)
        cache_.Store(*stamp, index, info);
    return std::make_unique<TileText>(
        store_, path, index, info.caption, pixelSize,
        TileText::PixelWidth(info.advance, info.unitsPerEm, pixelSize), info.missing,
        std::move(run), face ? face->Serial() : 0);
}
