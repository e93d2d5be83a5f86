#include "fontengine/CharacterCoverage.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <memory>
#include <unicode/uchar.h>
#include <unicode/uset.h>

namespace charcoverage {

namespace {

struct SetCloser {
    void operator()(USet* set) const { uset_close(set); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

std::vector<char32_t> readSet(const QString& id) {
    std::vector<char32_t> characters;
    QFile file(QStringLiteral(":/charsets/%1.txt").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return characters;
    QTextStream lines(&file);
    QString line;
    while (lines.readLineInto(&line)) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        bool ok = false;
        const uint c = line.toUInt(&ok, 16);
        if (ok && c <= 0x10FFFF)
            characters.push_back(c);
    }
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

// How many of the block's code points the Unicode database assigns.
int assignedIn(UBlockCode block) {
    UErrorCode error = U_ZERO_ERROR;
    SetPtr set(uset_openEmpty());
    uset_applyIntPropertyValue(set.get(), UCHAR_BLOCK, block, &error);
    SetPtr unassigned(uset_openEmpty());
    uset_applyIntPropertyValue(unassigned.get(), UCHAR_GENERAL_CATEGORY_MASK, U_GC_CN_MASK, &error);
    if (U_FAILURE(error))
        return 0;
    uset_removeAll(set.get(), unassigned.get());
    return uset_size(set.get());
}

QString blockName(UBlockCode block) {
    const char* name = u_getPropertyValueName(UCHAR_BLOCK, block, U_LONG_PROPERTY_NAME);
    return name ? QString::fromLatin1(name).replace(u'_', u' ') : QString();
}

} // namespace

const std::vector<CharacterSet>& JapaneseSets() {
    static const std::vector<CharacterSet> sets = [] {
        std::vector<CharacterSet> read;
        for (const char* id : {"kana", "joyo-kanji", "jinmeiyo-kanji", "jisx0208-level1",
                               "jisx0208-level2", "jisx0213"}) {
            const QString name = QString::fromLatin1(id);
            read.push_back({name, readSet(name)});
        }
        return read;
    }();
    return sets;
}

std::vector<Coverage> SetCoverage(const std::vector<char32_t>& mapped) {
    std::vector<Coverage> coverage;
    for (const CharacterSet& set : JapaneseSets()) {
        // Both in code point order: one pass over each.
        int present = 0;
        auto m = mapped.begin();
        for (char32_t c : set.characters) {
            m = std::lower_bound(m, mapped.end(), c);
            if (m == mapped.end())
                break;
            if (*m == c)
                ++present;
        }
        coverage.push_back({set.id, present, static_cast<int>(set.characters.size())});
    }
    return coverage;
}

std::vector<Coverage> BlockCoverage(const std::vector<char32_t>& mapped) {
    std::vector<Coverage> coverage;
    UBlockCode current = UBLOCK_INVALID_CODE;
    for (char32_t c : mapped) {
        const UBlockCode block = ublock_getCode(static_cast<UChar32>(c));
        if (block == UBLOCK_NO_BLOCK)
            continue;
        if (block != current) {
            current = block;
            coverage.push_back({blockName(block), 0, assignedIn(block)});
        }
        ++coverage.back().present;
    }
    return coverage;
}

QString CodePointText(char32_t c) {
    return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString CharacterName(char32_t c) {
    char name[256];
    for (UCharNameChoice choice : {U_UNICODE_CHAR_NAME, U_EXTENDED_CHAR_NAME}) {
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length =
            u_charName(static_cast<UChar32>(c), choice, name, sizeof name, &error);
        if (U_SUCCESS(error) && length > 0)
            return QString::fromLatin1(name, length);
    }
    return {};
}

} // namespace charcoverage
