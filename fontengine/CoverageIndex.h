#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

struct _FcConfig;
struct _FcCharSet;

// Which characters each installed family can show, from fontconfig's character sets. Built
// once, at the first question, from one listing of all fonts: asking fontconfig per family
// would scan every installed font for each family. A family's set is that of its regular
// face, the face its tile draws with.
class CoverageIndex {
public:
    // config: the fontconfig configuration to read; none means every installed font
    // (platform::AllFontsConfig()).
    explicit CoverageIndex(_FcConfig* config = nullptr);
    ~CoverageIndex();
    CoverageIndex(const CoverageIndex&) = delete;
    CoverageIndex& operator=(const CoverageIndex&) = delete;

    // Whether the family has a glyph for every character of the text that needs one. A
    // family fontconfig does not know covers nothing; a text with nothing to draw is covered
    // by every family.
    bool Covers(const QString& family, QStringView text);
    bool Covers(const QString& family, const std::vector<char32_t>& characters);
    // How many of the characters the family lacks: all of them for a family fontconfig does
    // not know.
    int Missing(const QString& family, const std::vector<char32_t>& characters);

    // The code points of the text that need a glyph: whitespace, control and format
    // characters and variation selectors are left out, as shaping draws none of them from
    // the font. Each counts once, in the order of first appearance.
    static std::vector<char32_t> CharactersToCover(QStringView text);

    // Families (by every name they carry) read so far; loads the index if needed.
    int FamilyCount();

private:
    using CharSetPtr = std::shared_ptr<_FcCharSet>;

    void load();
    // The family's set, looked up by name when the listing did not name it; null if unknown.
    CharSetPtr setOf(const QString& family);
    // A family the listing did not name (spelled another way): asked for by name, once.
    CharSetPtr lookUp(const QString& family);
    static QString key(const QString& family);

    _FcConfig* config_;
    bool loaded_ = false;
    QHash<QString, CharSetPtr> sets_; // key(name) -> the family's set, null when unknown
};
