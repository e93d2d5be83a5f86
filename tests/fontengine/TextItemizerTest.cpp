// Cutting a text into runs of one direction and one script before shaping.
#include "fontengine/TextItemizer.h"

#include <gtest/gtest.h>
#include <hb.h>

namespace {

TextItem Item(int start, int length, bool rightToLeft, hb_script_t script) {
    return {start, length, rightToLeft, script};
}

std::vector<TextItem> Items(const char* text) {
    return TextItemizer::Itemize(QString::fromUtf8(text));
}

} // namespace

void PrintTo(const TextItem& item, std::ostream* out) {
    char tag[5] = {};
    hb_tag_to_string(item.script, tag);
    *out << "{" << item.start << ", " << item.length << (item.rightToLeft ? ", rtl, " : ", ltr, ")
         << tag << "}";
}

TEST(TextItemizer, DirectionRunsComeInVisualOrder) {
    EXPECT_TRUE(Items("").empty());
    EXPECT_EQ(Items("Hamburg"), std::vector<TextItem>{Item(0, 7, false, HB_SCRIPT_LATIN)});

    // A left-to-right paragraph: the Latin word, then the Arabic one, which HarfBuzz then
    // lays out right to left.
    EXPECT_EQ(Items("abc مرحبا"), (std::vector<TextItem>{Item(0, 4, false, HB_SCRIPT_LATIN),
                                                         Item(4, 5, true, HB_SCRIPT_ARABIC)}));
    // The first strong character makes the paragraph right to left: the Latin word that
    // follows the Arabic one in the text stands left of it.
    EXPECT_EQ(Items("مرحبا abc"), (std::vector<TextItem>{Item(6, 3, false, HB_SCRIPT_LATIN),
                                                         Item(0, 6, true, HB_SCRIPT_ARABIC)}));
    // Digits in Arabic text read left to right but belong to the Arabic around them.
    EXPECT_EQ(Items("مرحبا 123"), (std::vector<TextItem>{Item(6, 3, false, HB_SCRIPT_ARABIC),
                                                         Item(0, 6, true, HB_SCRIPT_ARABIC)}));
    // Two right-to-left scripts in one direction run: the one read first stands right.
    EXPECT_EQ(Items("שלום مرحبا"), (std::vector<TextItem>{Item(5, 5, true, HB_SCRIPT_ARABIC),
                                                          Item(0, 5, true, HB_SCRIPT_HEBREW)}));
    // An explicit right-to-left override reverses Latin letters too.
    EXPECT_EQ(Items("a\u202Ebc\u202Cd"),
              (std::vector<TextItem>{Item(0, 1, false, HB_SCRIPT_LATIN),
                                     Item(1, 3, true, HB_SCRIPT_LATIN),
                                     Item(4, 2, false, HB_SCRIPT_LATIN)}));
}

TEST(TextItemizer, ScriptsSplitRunsAndCharactersWithoutAScriptJoinANeighbour) {
    EXPECT_EQ(Items("IPAゴシック"), (std::vector<TextItem>{Item(0, 3, false, HB_SCRIPT_LATIN),
                                                           Item(3, 4, false, HB_SCRIPT_KATAKANA)}));
    // Leading spaces take the first script; punctuation and spaces go with what precedes them.
    EXPECT_EQ(Items("  abc あいう、漢字"),
              (std::vector<TextItem>{Item(0, 6, false, HB_SCRIPT_LATIN),
                                     Item(6, 4, false, HB_SCRIPT_HIRAGANA),
                                     Item(10, 2, false, HB_SCRIPT_HAN)}));
    // A combining accent stays with its letter.
    EXPECT_EQ(Items("e\u0301α"), (std::vector<TextItem>{Item(0, 2, false, HB_SCRIPT_LATIN),
                                                        Item(2, 1, false, HB_SCRIPT_GREEK)}));
    // A character beyond the first plane is never cut in two: lengths are UTF-16 units.
    EXPECT_EQ(Items("a\U00020B9Fb"), (std::vector<TextItem>{Item(0, 1, false, HB_SCRIPT_LATIN),
                                                            Item(1, 2, false, HB_SCRIPT_HAN),
                                                            Item(3, 1, false, HB_SCRIPT_LATIN)}));
    // Nothing but digits and punctuation: one run of no particular script.
    EXPECT_EQ(Items("123 !"), std::vector<TextItem>{Item(0, 5, false, HB_SCRIPT_COMMON)});
}
