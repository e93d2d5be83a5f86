// A main window on the offscreen platform over synthetic font families, with its own
// settings and tags folders, for the tests of the sample view.
#pragma once

#include "fontengine/TileTextFactory.h"
#include "fonts/FlowLayoutPanel.h"
#include "fonts/FontPool.h"
#include "fonts/Panel.h"
#include "fonts/StepwiseRemeasure.h"
#include "ui/Glyphorama.h"

#include "tests/support/TestSupport.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace sample_view_test {

// A family record; one named after an installed family has that family's font file, any other
// DejaVu Sans's.
platform::FontFamilyRecord Family(const QString& name, int charSet = platform::ANSI_CHARSET,
                                  int pitch = platform::VARIABLE_PITCH,
                                  const QStringList& otherNames = {});

// count Western families "Family 000", "Family 001", ..., all drawn from DejaVu Sans
std::vector<platform::FontFamilyRecord> ManyFamilies(int count);

// What a tile shows where its name label sits, and what a label reading text (by default the
// tile's whole label text) looks like there: grey type in the 7-point form font, right-aligned
// and centred in the label's height, on the given background. Compared as pixels, the look
// is checked however the tile comes to draw it.
QImage NameLabelPixels(TPanel* tile);
QImage ExpectedNameLabel(const TPanel* tile, const QColor& background);
QImage ExpectedNameLabel(const TPanel* tile, const QColor& background, const QString& text);

class SampleViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the settings file (the version check is always off), puts the families in place
    // of the installed ones, creates and shows the window. Its first build is under way.
    void Open(const std::vector<platform::FontFamilyRecord>& families,
              const QByteArray& settings = {});
    // Open, then wait until the first build has ended.
    void OpenBuilt(const std::vector<platform::FontFamilyRecord>& families,
                   const QByteArray& settings = {});
    void WaitForBuild();
    // Runs the event loop until the tiles have been measured for a new sample text or size.
    void WaitForResample();
    // Runs the event loop until at least count tiles exist.
    void WaitForTiles(int count);

    TFontPool& Pool() const { return *window->FontPool; }
    // What the catalogue draws the tiles from, and how it measures them again.
    TileTextFactory& Samples() const { return *Pool().samples_; }
    StepwiseRemeasure& Resampler() const { return *Pool().resampler_; }
    QStringList ViewNames() const;
    // The tiles of the view, in view order.
    std::vector<TPanel*> Tiles() const;
    int TileCount() const { return static_cast<int>(Tiles().size()); }
    TPanel* TileOf(const QString& name) const;
    void WriteTag(const QString& tagName, const QStringList& lines) const;

    template <typename T> T* Part(const char* name) const {
        T* part = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(part, nullptr) << name;
        return part;
    }
    QString StatusText(int panel) const { return window->StatusPanel(panel)->text(); }
    QScrollArea* ScrollBox() const { return Part<QScrollArea>("ScrollBox"); }
    FlowLayoutPanel* FlowPanel() const { return Part<FlowLayoutPanel>("FlowPanel"); }

    QString dataDir;
    std::unique_ptr<TGlyphorama> window;

private:
    std::function<std::vector<platform::FontFamilyRecord>()> savedSource_;
};

} // namespace sample_view_test
