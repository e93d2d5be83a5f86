// The view's filter chain over a real flow of tiles and the tests' own fonts: filters of both
// stages compose, and a change costs a rebuild only where its filter chooses the families.
#include "sampleview/ViewFilterChain.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/FontUnit.h"
#include "fonts/Panel.h"
#include "sampleview/CoverageFilter.h"
#include "sampleview/ViewSearch.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

class ViewFilterChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"DejaVu Sans", "DejaVu Serif", "IPAGothic", "IPAMincho"}) {
            auto unit = std::make_unique<TFontUnit>();
            unit->Name = QString::fromLatin1(name);
            units.push_back(std::move(unit));
        }
        chain = std::make_unique<ViewFilterChain>(
            &flow, [this] { return &view; },
            [this] {
                ++rebuilds;
                Build();
            });
        QObject::connect(chain.get(), &ViewFilterChain::ShownCountChanged,
                         [this](int shown) { count = shown; });
        coverage = chain->Add(std::make_unique<CoverageFilter>());
        search = chain->Add(std::make_unique<ViewSearch>());
        // On screen, as in the window: a tile made there stays hidden until the flow shows it.
        flow.show();
        Build();
    }

    // What a rebuild of the catalogue does: all families, narrowed by the chain, then a tile
    // for each, numbered in view order.
    void Build() {
        for (TFontUnit* unit : view)
            delete std::exchange(unit->Tile, nullptr);
        view.clear();
        for (const auto& unit : units)
            view.push_back(unit.get());
        chain->NarrowFamilies(view);
        for (size_t i = 0; i < view.size(); ++i) {
            auto* tile = new TPanel(&flow);
            tile->Tag = static_cast<int>(i);
            view[i]->Tile = tile;
            flow.AddTile(tile);
        }
        chain->ViewRebuilt();
    }
    QStringList Shown() const {
        QStringList names;
        for (const TFontUnit* unit : view)
            if (!unit->Tile->isHidden())
                names.append(unit->Name);
        return names;
    }

    FlowLayoutPanel flow;
    std::vector<std::unique_ptr<TFontUnit>> units;
    std::vector<TFontUnit*> view;
    std::unique_ptr<ViewFilterChain> chain;
    CoverageFilter* coverage = nullptr;
    ViewSearch* search = nullptr;
    int rebuilds = 0;
    int count = -1;
};

TEST_F(ViewFilterChainTest, BothStagesComposeAndOnlyTheFamiliesStageRebuilds) {
    const QStringList all{"DejaVu Sans", "DejaVu Serif", "IPAGothic", "IPAMincho"};
    EXPECT_EQ(Shown(), all);
    EXPECT_EQ(count, 4);

    coverage->SetEnabled(true); // no sample text: nothing to narrow, nothing to rebuild
    EXPECT_EQ(rebuilds, 0);
    coverage->SetSampleText(QStringLiteral("あ"));
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(view.size(), 2u); // DejaVu lacks kana: no tiles built for it
    EXPECT_EQ(count, 2);

    search->SetText(QStringLiteral("mincho"));
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(Shown(), QStringList{"IPAMincho"});
    EXPECT_EQ(count, 1);

    // A rebuild keeps the search: the new tiles are judged as they join the flow.
    coverage->SetSampleText(QStringLiteral("A"));
    EXPECT_EQ(rebuilds, 2);
    EXPECT_EQ(view.size(), 4u);
    EXPECT_EQ(Shown(), QStringList{"IPAMincho"});
    EXPECT_EQ(count, 1);

    search->SetText(QString());
    EXPECT_EQ(rebuilds, 2);
    EXPECT_EQ(Shown(), all);
    EXPECT_EQ(count, 4);
}

} // namespace
