#pragma once

#include <QString>
#include <vector>

// What a face's characters cover: the Japanese character sets the program ships (data/charsets,
// each file naming its source and version) and the Unicode blocks, with names from ICU's
// Unicode database.
namespace charcoverage {

// A set the program measures faces against, its characters in code point order.
struct CharacterSet {
    QString id; // the data file's name without ".txt": "joyo-kanji"
    std::vector<char32_t> characters;
};

// かな, 常用漢字, 人名用漢字, JIS X 0208 level 1 and 2, JIS X 0213, in that order; read once.
const std::vector<CharacterSet>& JapaneseSets();

struct Coverage {
    QString name; // the set's id, or the Unicode block's name
    int present = 0;
    int total = 0;
};

// How many of each Japanese set's characters are among mapped (in code point order).
std::vector<Coverage> SetCoverage(const std::vector<char32_t>& mapped);
// Each Unicode block mapped has characters of, in code point order: how many, out of the
// characters the block has assigned.
std::vector<Coverage> BlockCoverage(const std::vector<char32_t>& mapped);

// "U+3042", "U+1F600".
QString CodePointText(char32_t c);
// The character's name in the Unicode database ("HIRAGANA LETTER A"); for one without a name,
// such as a control, ICU's label ("<control-000A>").
QString CharacterName(char32_t c);

} // namespace charcoverage
