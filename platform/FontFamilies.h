#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// Values of the classic font enumeration record that the catalogue reads.
inline constexpr int RASTER_FONTTYPE = 1;
inline constexpr int DEVICE_FONTTYPE = 2;
inline constexpr int TRUETYPE_FONTTYPE = 4;
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int SHIFTJIS_CHARSET = 128;
inline constexpr int DEFAULT_PITCH = 0;
inline constexpr int FIXED_PITCH = 1;
inline constexpr int VARIABLE_PITCH = 2;

// One installed font family, described the way the catalogue classifies it.
struct FontFamilyRecord {
    QString FaceName;       // the family name for the user's language
    QStringList OtherNames; // the family's names in other languages
    QString Style;          // style name of the family's regular face
    int CharSet = ANSI_CHARSET;
    int PitchAndFamily = VARIABLE_PITCH;
    int FontType = TRUETYPE_FONTTYPE;
    // The regular face's file and its index inside the file (a face of a collection, with a
    // named instance of a variable font in the upper 16 bits, as fontconfig gives it). Empty
    // when the family has no file of its own.
    QString FilePath;
    int FaceIndex = 0;
    // CharSet says only whether fontconfig lists "ja" for the family: the face's own code
    // pages, where it has them, decide in its place (CatalogueScan::ReadCharacterSets).
    bool CharSetFromLanguages = false;
};

// One record per installed family from fontconfig (every installed font, AllFontsConfig()),
// sorted by family name (fontconfig's own
// listing has no order). Scalable outline families (TrueType, CFF) are TRUETYPE_FONTTYPE,
// the rest RASTER_FONTTYPE; a family covering Japanese is SHIFTJIS_CHARSET; mono or dual
// spacing is FIXED_PITCH. userLanguage ("ja", "en", ...; empty: from the locale) picks the
// name: the family's first name in that language, else its first name.
std::vector<FontFamilyRecord> EnumerateFontFamilies(const QString& userLanguage = {});

// The language whose family names the desktop shows, from the process locale.
QString UserFontLanguage();

} // namespace platform
