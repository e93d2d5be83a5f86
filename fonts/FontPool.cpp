#include "fonts/FontPool.h"

#include "fontengine/TileTextFactory.h"
#include "fonts/FlowLayoutPanel.h"
#include "fonts/FontPoolCore.h"
#include "fonts/StepwiseRemeasure.h"
#include "platform/FormFonts.h"

#include <QSet>

std::function<std::vector<platform::FontFamilyRecord>()> TFontPool::FontSource = [] {
    return platform::EnumerateFontFamilies();
};

std::function<QString()> TFontPool::FaceCachePath = [] {
    return CaptionMetricsCache::DefaultPath();
};

TFontPool::TFontPool(TGlyphorama*, FlowLayoutPanel* flowPanel, QProgressBar* progressBar,
                     TagToolBar* tagBar, CatalogueScan::Result start)
    : FlowPanel(flowPanel), ProgressBar(progressBar), TagBar(tagBar),
      samples_(std::make_unique<TileTextFactory>(std::move(start.faces))),
      resampler_(new StepwiseRemeasure([this](TFontUnit& unit) { SampleTile(unit, Options); },
                                       [this] {
                                           if (FlowPanel) {
                                               FlowPanel->Relayout();
                                               FlowPanel->FitHeight();
                                           }
                                       },
                                       this)) {
    // The name labels' font, which they inherit through their tiles; the tiles draw their
    // samples from their own faces.
    if (FlowPanel)
        FlowPanel->setFont(platform::FormFont(7));
    EnumerateFonts(start.families);
    // Fonts removed since the last run leave the cache.
    QSet<QString> files;
    for (const auto& unit : FontList)
        files.insert(unit->FaceFile);
    samples_->Cache().RetainOnly(
        [&files](const QString& path, int) { return files.contains(path); });
    RebuildTagBar();
}

TFontPool::~TFontPool() {
    // A builder still running waits on us for its next tile: stop it, and serve what it
    // asks until it has ended, so that closing neither hangs nor leaves it a dead catalogue.
    if (Building && Builder) {
        CancelBuild();
        Builder->WaitFor();
    }
    ClearView();
    // The tiles' samples are drawn from our faces: none may outlive them.
    if (FlowPanel)
        FlowPanel->DestroyDiscardedTiles();
    samples_->Cache().Save();
}

void TFontPool::EnumerateFonts(const std::vector<platform::FontFamilyRecord>& families) {
    for (const platform::FontFamilyRecord& record : families)
        FontFamilyCallback(record, FontList);
}

int TFontPool::ClassifyFont(const platform::FontFamilyRecord& record) {
    const bool shiftJis = record.CharSet == platform::SHIFTJIS_CHARSET;
    const bool fixedPitch = (record.PitchAndFamily & 0x0F) == platform::FIXED_PITCH;
    const auto at = record.FaceName.indexOf(u'@');
    if (shiftJis && fixedPitch && at < 0)
        return fcJapaneseFixed;
    if (shiftJis && at < 0)
        return fcJapanese;
    if (!shiftJis && at < 0)
        return fcWestern;
    if (at == 0)
        return fcVertical;
    return fcAtInName;
}

int TFontPool::FontFamilyCallback(const platform::FontFamilyRecord& record,
                                  std::vector<std::unique_ptr<TFontUnit>>& list) {
    if (record.FontType != platform::TRUETYPE_FONTTYPE)
        return 1;
    auto unit = std::make_unique<TFontUnit>();
    unit->FontClass = ClassifyFont(record);
    unit->Name = record.FaceName;
    unit->Style = record.Style;
    unit->OtherNames = record.OtherNames;
    unit->FaceFile = record.FilePath;
    unit->FaceIndex = record.FaceIndex;
    list.push_back(std::move(unit));
    return 1;
}
