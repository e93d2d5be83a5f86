// The 文字 tab: the grid of a face's characters, drawn in its own glyphs, moved through with
// the keys, read by a screen reader, copied from; the counts beside it; and the face it shows
// following the style chosen in the details window.
#include "details/CharacterTab.h"
#include "details/CharacterGrid.h"
#include "details/FontDetailsForm.h"

#include "tests/support/TestSupport.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString TestFont =
    QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/charmap-test.ttf");

QTreeWidgetItem* childNamed(QTreeWidgetItem* group, const QString& name) {
    for (int i = 0; i < group->childCount(); ++i)
        if (group->child(i)->text(0) == name)
            return group->child(i);
    return nullptr;
}

TEST(CharacterTabTest, ReadsTheFaceWhenShownAndCountsWhatItHas) {
    CharacterTab tab;
    tab.SetFace(TestFont, 0);
    // Opening the details window reads no face for a tab nobody looks at.
    EXPECT_TRUE(tab.Grid()->Model().Characters().empty());
    tab.resize(800, 500);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    EXPECT_EQ(tab.Grid()->Model().Characters().size(), 14u);
    EXPECT_EQ(tab.CountsText(), QStringLiteral("文字 14 ・ グリフ 16"));
    // The first character is chosen, with its code point and name.
    EXPECT_EQ(tab.CharacterText(), QStringLiteral("A  U+0041\nLATIN CAPITAL LETTER A"));

    QTreeWidgetItem* sets = tab.CoverageTree()->topLevelItem(0);
    ASSERT_NE(sets, nullptr);
    QTreeWidgetItem* joyo = childNamed(sets, QStringLiteral("常用漢字"));
    ASSERT_NE(joyo, nullptr);
    EXPECT_EQ(joyo->text(1), QStringLiteral("3 / 2,136"));
    QTreeWidgetItem* blocks = tab.CoverageTree()->topLevelItem(1);
    ASSERT_NE(blocks, nullptr);
    QTreeWidgetItem* hiragana = childNamed(blocks, QStringLiteral("Hiragana"));
    ASSERT_NE(hiragana, nullptr);
    EXPECT_EQ(hiragana->text(1), QStringLiteral("5 / 93"));

    // A file that is no font: a calm line, an empty grid, nothing counted.
    tab.SetFace(QStringLiteral(GLYPHORAMA_SOURCE_DIR "/README.md"), 0);
    EXPECT_TRUE(tab.Grid()->Model().Characters().empty());
    EXPECT_EQ(tab.CountsText(), QStringLiteral("このフォントのファイルを読めませんでした。"));
    EXPECT_TRUE(tab.CharacterText().isEmpty());
}

TEST(CharacterTabTest, CellsAreDrawnWithTheFacesOwnGlyphs) {
    CharacterGrid grid;
    grid.resize(16 * 40 + 40, 300);
    grid.SetFace(FontFace::Open(TestFont, 0), {U'B', U'あ'});
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.clearSelection();
    grid.setCurrentIndex({});
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    grid.viewport()->render(&image);
    // The test font's every glyph is a square filling most of the em: another font's "B" or
    // "あ" would leave the middle of the cell light.
    for (int column : {0, 1}) {
        const QRect cell = grid.visualRect(grid.Model().index(0, column));
        EXPECT_LT(qGray(image.pixel(cell.center())), 100) << column;
    }
    const QRect empty = grid.visualRect(grid.Model().index(0, 2));
    EXPECT_GT(qGray(image.pixel(empty.center())), 200);

    // A narrower grid holds fewer cells a row, every one of them in sight, and keeps the
    // character chosen.
    grid.setCurrentIndex(grid.Model().IndexOf(1));
    const int wide = grid.Model().Columns();
    grid.resize(300, 300);
    EXPECT_LT(grid.Model().Columns(), wide);
    const QRect last = grid.visualRect(grid.Model().index(0, grid.Model().Columns() - 1));
    EXPECT_LE(last.right(), grid.viewport()->width());
    EXPECT_EQ(grid.CurrentCharacter(), U'あ');
}

TEST(CharacterTabTest, ArrowKeysMoveAndCopyingTakesTheCharacter) {
    CharacterGrid grid;
    grid.resize(16 * 40 + 40, 300);
    std::vector<char32_t> characters;
    for (char32_t c = 0x3041; c < 0x3041 + 40; ++c)
        characters.push_back(c);
    characters.push_back(0x20B9F);
    grid.SetFace(
        FontFace::Open(QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"), 0),
        characters);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    std::vector<char32_t> seen;
    QObject::connect(&grid, &CharacterGrid::CurrentCharacterChanged, &grid,
                     [&seen](char32_t c) { seen.push_back(c); });
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Left);
    const char32_t below = 0x3042 + grid.Model().Columns();
    EXPECT_EQ(seen, (std::vector<char32_t>{0x3042, below, below - 1}));

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUcs4(&seen.back(), 1));
    // A character beyond the BMP is copied whole, both halves of its surrogate pair.
    const QRect last = grid.visualRect(grid.Model().IndexOf(40));
    // A real double-click: a click, then the second press.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, last.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("\U00020B9F"));
    // The empty cells after the last character cannot be chosen.
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.CurrentCharacter(), U'\U00020B9F');
}

TEST(CharacterTabTest, AScreenReaderReadsTheGridAndEachCell) {
    CharacterGrid grid;
    grid.resize(16 * 40 + 40, 300);
    grid.SetFace(FontFace::Open(TestFont, 0), {U'A', U'あ'});
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), QStringLiteral("文字の一覧"));
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    QAccessibleInterface* cell = cells->cellAt(0, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("あ U+3042 HIRAGANA LETTER A"));
}

TEST(CharacterTabTest, ChoosingAStyleShowsItsCharacters) {
    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("DejaVu Sans")), QString());
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("DetailsTabs"));
    auto* tab = form.findChild<CharacterTab*>(QStringLiteral("CharacterTab"));
    auto* faces = form.findChild<QTreeWidget*>(QStringLiteral("FacesTree"));
    ASSERT_TRUE(tabs && tab && faces);
    tabs->setCurrentWidget(tab);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QString book = tab->CountsText();
    // DejaVu Sans Bold lacks some of Book's characters.
    faces->setCurrentItem(faces->topLevelItem(1));
    const QString bold = tab->CountsText();
    EXPECT_FALSE(book.isEmpty());
    EXPECT_NE(book, bold);
    const auto boldFace = FontFace::Open(form.Details().Faces[1].File, 0);
    ASSERT_NE(boldFace, nullptr);
    EXPECT_EQ(tab->Grid()->Model().Characters(), boldFace->Characters());
}

} // namespace
