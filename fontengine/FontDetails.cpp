#include "fontengine/FontDetails.h"

#include "fontengine/FontFileReader.h"
#include "platform/FontconfigHandles.h"
#include "platform/InterfaceFontConfig.h"

#include <algorithm>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <tuple>

namespace {

using platform::fc::FontSetDeleter;
using platform::fc::ObjectSetDeleter;
using platform::fc::PatternDeleter;
using platform::fc::stringAt;
using platform::fc::StrListDeleter;
using platform::fc::StrSetDeleter;

QStringList languagesOf(FcPattern* pattern) {
    QStringList languages;
    FcLangSet* set = nullptr;
    if (FcPatternGetLangSet(pattern, FC_LANG, 0, &set) != FcResultMatch)
        return languages;
    std::unique_ptr<FcStrSet, StrSetDeleter> strings(FcLangSetGetLangs(set));
    if (!strings)
        return languages;
    std::unique_ptr<FcStrList, StrListDeleter> list(FcStrListCreate(strings.get()));
    while (FcChar8* language = list ? FcStrListNext(list.get()) : nullptr)
        languages.append(QString::fromUtf8(reinterpret_cast<const char*>(language)));
    languages.sort();
    return languages;
}

int distanceFromRegular(const FaceDetails& face) {
    return platform::fc::distanceFromRegular(face.Weight, face.Slant, face.Width);
}

} // namespace

QString FormatName(const QString& format) {
    if (format == QLatin1String("CFF"))
        return QStringLiteral("CFF/OpenType");
    return format;
}

FamilyDetails ReadFamilyDetails(const QString& family, FcConfig* config,
                                const QString& preferredLanguage) {
    FamilyDetails details;
    details.Family = family;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.data()));
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_FILE, FC_INDEX, FC_FONTFORMAT,
                         FC_LANG, FC_WEIGHT, FC_SLANT, FC_WIDTH, FC_VARIABLE, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> faces(
        FcFontList(config ? config : platform::AllFontsConfig(), pattern.get(), objects.get()));
    // The faces of a collection share their file: it is read once for all of them.
    std::optional<QString> lastFile;
    std::optional<QByteArray> lastBytes;
    QString lastError;

    for (int i = 0; faces && i < faces->nfont; ++i) {
        FcPattern* font = faces->fonts[i];
        // fontconfig lists a variable face twice: as its default instance, a style like any
        // other, and as the whole range of its axes, with no style of its own. The axes are
        // offered on every instance.
        FcBool variable = FcFalse;
        if (FcPatternGetBool(font, FC_VARIABLE, 0, &variable) == FcResultMatch && variable)
            continue;
        for (int n = 0;; ++n) {
            const QString familyName = stringAt(font, FC_FAMILY, n);
            if (familyName.isEmpty())
                break;
            const QString language = stringAt(font, FC_FAMILYLANG, n);
            const bool known = std::any_of(
                details.Names.begin(), details.Names.end(), [&](const FamilyName& known) {
                    return known.Name == familyName && known.Language == language;
                });
            if (!known)
                details.Names.push_back({language, familyName});
        }
        FaceDetails face;
        face.Style = stringAt(font, FC_STYLE, 0);
        face.File = stringAt(font, FC_FILE, 0);
        FcPatternGetInteger(font, FC_INDEX, 0, &face.Index);
        FcPatternGetInteger(font, FC_WEIGHT, 0, &face.Weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &face.Slant);
        face.Width = FC_WIDTH_NORMAL;
        FcPatternGetInteger(font, FC_WIDTH, 0, &face.Width);
        face.Languages = languagesOf(font);
        if (lastFile != face.File) {
            lastFile = face.File;
            lastError.clear();
            lastBytes = ReadFontBytes(face.File, &lastError);
        }
        if (lastBytes)
            face.FileInfo = platform::ReadFontData(*lastBytes, face.Index, preferredLanguage);
        else
            face.FileInfo.Error = lastError;
        QString format = stringAt(font, FC_FONTFORMAT, 0);
        if (format.isEmpty())
            format = face.FileInfo.Format;
        face.Format = FormatName(format);
        details.Faces.push_back(std::move(face));
    }

    // A designer reads a family as a grid: widths from condensed to expanded, in each the
    // weights from light to heavy, upright before slanted; the face a sample is drawn with
    // heads the list, where the eye starts.
    std::stable_sort(details.Faces.begin(), details.Faces.end(),
                     [](const FaceDetails& a, const FaceDetails& b) {
                         return std::tie(a.Width, a.Weight, a.Slant, a.Style, a.File, a.Index) <
                                std::tie(b.Width, b.Weight, b.Slant, b.Style, b.File, b.Index);
                     });
    for (int i = 0; i < static_cast<int>(details.Faces.size()); ++i)
        if (details.RegularFace < 0 || distanceFromRegular(details.Faces[i]) <
                                           distanceFromRegular(details.Faces[details.RegularFace]))
            details.RegularFace = i;
    if (details.RegularFace > 0) {
        std::rotate(details.Faces.begin(), details.Faces.begin() + details.RegularFace,
                    details.Faces.begin() + details.RegularFace + 1);
        details.RegularFace = 0;
    }
    return details;
}
