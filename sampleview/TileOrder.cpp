#include "sampleview/TileOrder.h"

#include "app/AppCore.h"
#include "fontengine/CoverageIndex.h"
#include "fonts/FontUnit.h"

#include <QHash>
#include <algorithm>

namespace {

const QString OrderSection = QStringLiteral("preview");
const QString OrderKey = QStringLiteral("tile_order");

} // namespace

TileOrder::TileOrder(CoverageIndex& index, std::function<QString()> sampleText, QObject* parent)
    : ViewFilter(Stage::Families, parent), index_(index), sampleText_(std::move(sampleText)) {}

void TileOrder::SetOrder(Order order) {
    if (order == order_)
        return;
    order_ = order;
    emit Changed();
}

void TileOrder::SampleTextChanged() {
    if (order_ == FewestMissing)
        emit Changed();
}

void TileOrder::Arrange(std::vector<TFontUnit*>& units) {
    if (order_ != FewestMissing)
        return;
    const std::vector<char32_t> characters =
        CoverageIndex::CharactersToCover(sampleText_ ? sampleText_() : QString());
    if (characters.empty())
        return;
    QHash<const TFontUnit*, int> missing;
    missing.reserve(static_cast<qsizetype>(units.size()));
    for (const TFontUnit* unit : units)
        missing.insert(unit, index_.Missing(unit->Name, characters));
    std::stable_sort(units.begin(), units.end(),
                     [&missing](const TFontUnit* a, const TFontUnit* b) {
                         return missing.value(a) < missing.value(b);
                     });
}

void TileOrder::Load(const TAppCore& core) {
    // An order this version does not know is taken as the default.
    order_ = core.IniReadInteger(SettingsFileName, OrderSection, OrderKey, ByName) == FewestMissing
                 ? FewestMissing
                 : ByName;
}

void TileOrder::Save(const TAppCore& core) const {
    if (order_ == ByName)
        core.IniDeleteKey(SettingsFileName, OrderSection, OrderKey);
    else
        core.IniWriteInteger(SettingsFileName, OrderSection, OrderKey, order_);
}
