#include "platform/FontFamilies.h"

#include "platform/FontconfigHandles.h"
#include "platform/InterfaceFontConfig.h"

#include <QFile>
#include <QLocale>
#include <algorithm>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <map>
#include <memory>

namespace platform {

namespace {

using fc::FontSetDeleter;
using fc::ObjectSetDeleter;
using fc::PatternDeleter;
using fc::stringAt;

bool languageMatches(const QString& fontLanguage, const QString& userLanguage) {
    // "ja" matches "ja" and "ja-jp"; "zh-tw" matches only itself and its own subtags.
    return fontLanguage.compare(userLanguage, Qt::CaseInsensitive) == 0 ||
           fontLanguage.startsWith(userLanguage + u'-', Qt::CaseInsensitive);
}

// What one face tells about its family.
struct Face {
    QStringList names;
    QStringList nameLanguages;
    QString style;
    QString file;
    int index = 0;
    bool outline = false;
    bool japanese = false;
    bool fixed = false;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    int width = FC_WIDTH_NORMAL;
};

Face readFace(FcPattern* pattern) {
    Face face;
    for (int i = 0;; ++i) {
        const QString name = stringAt(pattern, FC_FAMILY, i);
        if (name.isEmpty())
            break;
        face.names.append(name);
        face.nameLanguages.append(stringAt(pattern, FC_FAMILYLANG, i));
    }
    face.style = stringAt(pattern, FC_STYLE, 0);
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) == FcResultMatch)
        face.file = QFile::decodeName(reinterpret_cast<const char*>(file));
    FcPatternGetInteger(pattern, FC_INDEX, 0, &face.index);
    FcBool outline = FcFalse;
    FcBool scalable = FcFalse;
    FcPatternGetBool(pattern, FC_OUTLINE, 0, &outline);
    FcPatternGetBool(pattern, FC_SCALABLE, 0, &scalable);
    const QString format = stringAt(pattern, FC_FONTFORMAT, 0);
    face.outline = outline && scalable &&
                   (format == QLatin1String("TrueType") || format == QLatin1String("CFF"));
    FcLangSet* languages = nullptr;
    if (FcPatternGetLangSet(pattern, FC_LANG, 0, &languages) == FcResultMatch)
        face.japanese =
            FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
    int spacing = FC_PROPORTIONAL;
    if (FcPatternGetInteger(pattern, FC_SPACING, 0, &spacing) == FcResultMatch)
        face.fixed = spacing == FC_MONO || spacing == FC_DUAL;
    FcPatternGetInteger(pattern, FC_WEIGHT, 0, &face.weight);
    FcPatternGetInteger(pattern, FC_SLANT, 0, &face.slant);
    FcPatternGetInteger(pattern, FC_WIDTH, 0, &face.width);
    return face;
}

// How far a face is from the plain upright face of normal weight and width. Tiles are drawn
// from this face's file, so an outline face always comes before one that is not.
int distanceFromRegular(const Face& face) {
    const int notOutline = face.outline ? 0 : 100000;
    return notOutline + fc::distanceFromRegular(face.weight, face.slant, face.width);
}

} // namespace

QString UserFontLanguage() {
    const QString name = QLocale().name(); // "ja_JP", "en_US", "C"
    const QString language = name.section(u'_', 0, 0).toLower();
    return language == QLatin1String("c") ? QStringLiteral("en") : language;
}

std::vector<FontFamilyRecord> EnumerateFontFamilies(const QString& userLanguage) {
    const QString language = userLanguage.isEmpty() ? UserFontLanguage() : userLanguage;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(
        FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_FONTFORMAT, FC_OUTLINE, FC_SCALABLE, FC_SPACING,
        FC_LANG, FC_WEIGHT, FC_SLANT, FC_WIDTH, FC_FILE, FC_INDEX, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontList(AllFontsConfig(), pattern.get(), objects.get()));

    // Faces grouped by their family's first name, which fontconfig keeps in the font's own
    // order (normally the English name first).
    std::map<QString, std::vector<Face>> families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        Face face = readFace(fonts->fonts[i]);
        if (face.names.isEmpty())
            continue;
        const QString key = face.names.first();
        families[key].push_back(std::move(face));
    }

    std::vector<FontFamilyRecord> records;
    records.reserve(families.size());
    for (auto& [key, faces] : families) {
        const Face& regular =
            *std::min_element(faces.begin(), faces.end(), [](const Face& a, const Face& b) {
                return distanceFromRegular(a) < distanceFromRegular(b);
            });
        FontFamilyRecord record;
        int chosen = 0;
        for (int i = 0; i < regular.names.size(); ++i)
            if (languageMatches(regular.nameLanguages.value(i), language)) {
                chosen = i;
                break;
            }
        record.FaceName = regular.names[chosen];
        for (const Face& face : faces)
            for (const QString& name : face.names)
                if (name != record.FaceName && !record.OtherNames.contains(name))
                    record.OtherNames.append(name);
        record.Style = regular.style;
        record.FilePath = regular.file;
        record.FaceIndex = regular.index;
        // A family counts as TrueType when any of its faces is: distributions ship some
        // families (URW's base fonts among them) as OpenType and as Type 1 side by side.
        bool outline = false;
        bool japanese = false;
        bool fixed = true;
        for (const Face& face : faces) {
            outline = outline || face.outline;
            japanese = japanese || face.japanese;
            fixed = fixed && face.fixed;
        }
        record.FontType = outline ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
        record.CharSet = japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET;
        record.CharSetFromLanguages = true;
        record.PitchAndFamily = fixed ? FIXED_PITCH : VARIABLE_PITCH;
        records.push_back(std::move(record));
    }
    // Sorted by the name the user sees.
    std::stable_sort(records.begin(), records.end(),
                     [](const FontFamilyRecord& a, const FontFamilyRecord& b) {
                         return a.FaceName.compare(b.FaceName, Qt::CaseInsensitive) < 0;
                     });
    return records;
}

} // namespace platform
