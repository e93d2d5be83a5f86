// Every style of a family in the details window, and the 機能 tab: features switched on and
// off, vertical setting and variation axes, each drawn at once in the waterfall.
#include "details/FeaturesTab.h"
#include "details/FontDetailsForm.h"
#include "details/FontWaterfall.h"

#include "tests/support/TestFontFolder.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <hb.h>

namespace {

const QString Data = QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/");

// A glyph's number by its name in the file, read apart from FontFace.
uint32_t GlyphNamed(const QString& path, const char* name) {
    hb_blob_t* blob = hb_blob_create_from_file(QFile::encodeName(path).constData());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_codepoint_t glyph = 0;
    EXPECT_TRUE(hb_font_get_glyph_from_name(font, name, -1, &glyph)) << name;
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return glyph;
}

// The glyphs the waterfall draws at 24 pt, painted as the window would.
std::vector<uint32_t> Drawn(FontWaterfall* waterfall) {
    QImage image(waterfall->size(), QImage::Format_RGB32);
    waterfall->render(&image);
    std::vector<uint32_t> ids;
    if (const GlyphRun* run = waterfall->ShapedRun(24))
        for (const GlyphRun::Glyph& glyph : run->glyphs)
            ids.push_back(glyph.id);
    return ids;
}

QListWidgetItem* Feature(QListWidget* list, const QString& tag) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().endsWith(QStringLiteral("(") + tag + QStringLiteral(")")))
            return list->item(i);
    ADD_FAILURE() << tag.toStdString();
    return nullptr;
}

// Opens the tab whose accessible name is given, as a screen reader user would reach it.
void OpenTab(FontDetailsForm& form, const QString& name) {
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("DetailsTabs"));
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->accessibleName() == name) {
            tabs->setCurrentIndex(i);
            return;
        }
    ADD_FAILURE() << name.toStdString();
}

} // namespace

// The named instances of a variable face are styles like any other, in the order a designer
// reads them; choosing one draws the sample in it and tells whoever follows the form.
TEST(StylesTab, StylesInDesignOrderAndTheChosenOneDrawsTheSample) {
    testing_support::TestFontFolder fonts;
    fonts.Add(Data + QStringLiteral("style-order-test.ttf"), QStringLiteral("order.ttf"));
    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("Style Order Test"), fonts.Config()),
                         QStringLiteral("A"));
    auto* faces = form.findChild<QTreeWidget*>(QStringLiteral("FacesTree"));
    QStringList styles;
    for (int i = 0; i < faces->topLevelItemCount(); ++i)
        styles.append(faces->topLevelItem(i)->text(0));
    EXPECT_EQ(styles,
              testing_support::Names({"Regular", "Condensed", "Condensed Bold", "Light", "Bold"}));
    const QString file = fonts.File(QStringLiteral("order.ttf"));
    EXPECT_EQ(faces->topLevelItem(0)->toolTip(4), file);
    EXPECT_EQ(faces->textElideMode(), Qt::ElideMiddle);

    auto* waterfall = form.findChild<FontWaterfall*>(QStringLiteral("Waterfall"));
    Drawn(waterfall);
    ASSERT_NE(waterfall->ShapedRun(24), nullptr);
    EXPECT_EQ(waterfall->ShapedRun(24)->advance, 600);
    QSignalSpy chosen(&form, &FontDetailsForm::FaceChosen);
    faces->setCurrentItem(faces->topLevelItem(4));
    Drawn(waterfall);
    ASSERT_NE(waterfall->ShapedRun(24), nullptr);
    EXPECT_EQ(waterfall->ShapedRun(24)->advance, 800); // "A" at weight 700
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), file);
    EXPECT_EQ(chosen.at(0).at(1).toInt(), 1 << 16);

    // The weight axis starts where the instance is and moves the outline as it slides.
    OpenTab(form, QStringLiteral("機能"));
    auto* weight = form.findChild<QSlider*>(QStringLiteral("Axis_wght"));
    ASSERT_NE(weight, nullptr);
    EXPECT_FALSE(weight->accessibleName().isEmpty());
    EXPECT_EQ(weight->value(), 7000);
    const uint32_t a = waterfall->ShapedRun(24)->glyphs[0].id;
    const double heavy = waterfall->Face()->Outline(a).boundingRect().width();
    weight->setValue(3000);
    Drawn(waterfall);
    EXPECT_EQ(waterfall->ShapedRun(24)->advance, 600);
    EXPECT_NEAR(waterfall->Face()->Outline(a).boundingRect().width(), heavy - 200, 0.5);
    EXPECT_TRUE(waterfall->isVisibleTo(form.findChild<FeaturesTab*>()));
}

// The tab lists the face's features by name, the font's own name for its stylistic set
// included; each switch reshapes the sample at once, and 縦書き sets it down the page with
// the vertical alternates.
TEST(FeaturesTab, SwitchesReshapeTheSampleAtOnce) {
    const QString path = Data + QStringLiteral("features-test.ttf");
    testing_support::TestFontFolder fonts;
    fonts.Add(path, QStringLiteral("features.ttf"));
    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("Features Test"), fonts.Config()),
                         QStringLiteral("fia"));
    OpenTab(form, QStringLiteral("機能"));
    auto* tab = form.findChild<FeaturesTab*>();
    auto* waterfall = form.findChild<FontWaterfall*>(QStringLiteral("Waterfall"));
    QListWidget* list = tab->FeatureList();
    EXPECT_FALSE(list->accessibleName().isEmpty());
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(Feature(list, QStringLiteral("ss01"))->text(), QStringLiteral("Open Tails (ss01)"));
    EXPECT_EQ(Feature(list, QStringLiteral("liga"))->checkState(), Qt::Checked);
    EXPECT_EQ(Feature(list, QStringLiteral("ss01"))->checkState(), Qt::Unchecked);
    EXPECT_EQ(Feature(list, QStringLiteral("vert"))->checkState(), Qt::Unchecked);

    const uint32_t fi = GlyphNamed(path, "f_i"), f = GlyphNamed(path, "f"),
                   i = GlyphNamed(path, "i"), a = GlyphNamed(path, "a"),
                   tail = GlyphNamed(path, "a.ss01");
    EXPECT_EQ(Drawn(waterfall), (std::vector<uint32_t>{fi, a}));
    Feature(list, QStringLiteral("liga"))->setCheckState(Qt::Unchecked);
    EXPECT_EQ(Drawn(waterfall), (std::vector<uint32_t>{f, i, a}));
    Feature(list, QStringLiteral("ss01"))->setCheckState(Qt::Checked);
    EXPECT_EQ(Drawn(waterfall), (std::vector<uint32_t>{f, i, tail}));
    Feature(list, QStringLiteral("liga"))->setCheckState(Qt::Checked);
    EXPECT_EQ(Drawn(waterfall), (std::vector<uint32_t>{fi, tail}));

    // Down the page: the comma's vertical form, turned on with the switch, and the lines
    // advance by the vertical metrics.
    waterfall->SetText(QStringLiteral("あ、あ"));
    tab->VerticalSwitch()->setChecked(true);
    EXPECT_EQ(Feature(list, QStringLiteral("vert"))->checkState(), Qt::Checked);
    EXPECT_EQ(Drawn(waterfall),
              (std::vector<uint32_t>{GlyphNamed(path, "uni3042"), GlyphNamed(path, "uni3001.vert"),
                                     GlyphNamed(path, "uni3042")}));
    EXPECT_TRUE(waterfall->ShapedRun(24)->vertical);
    Feature(list, QStringLiteral("vert"))->setCheckState(Qt::Unchecked);
    EXPECT_EQ(Drawn(waterfall).at(1), GlyphNamed(path, "uni3001"));
    // Drawn in columns, the waterfall is wider than one column of the largest size.
    EXPECT_GT(waterfall->width(), 72 + 48);
}
