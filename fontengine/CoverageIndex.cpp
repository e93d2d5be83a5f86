#include "fontengine/CoverageIndex.h"

#include "platform/FontconfigHandles.h"
#include "platform/InterfaceFontConfig.h"

#include <QChar>
#include <algorithm>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <map>

namespace {

using platform::fc::FontSetDeleter;
using platform::fc::ObjectSetDeleter;
using platform::fc::PatternDeleter;

using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

// How far a face is from the plain upright face of normal weight and width.
int distanceFromRegular(FcPattern* face) {
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    int width = FC_WIDTH_NORMAL;
    FcPatternGetInteger(face, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(face, FC_SLANT, 0, &slant);
    FcPatternGetInteger(face, FC_WIDTH, 0, &width);
    return platform::fc::distanceFromRegular(weight, slant, width);
}

FontSetPtr listFaces(FcConfig* config, FcPattern* pattern) {
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FAMILY, FC_CHARSET, FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr));
    return FontSetPtr(FcFontList(config, pattern, objects.get()));
}

bool isVariationSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) ||
           (c >= 0x180B && c <= 0x180D);
}

} // namespace

CoverageIndex::CoverageIndex(FcConfig* config)
    : config_(config ? config : platform::AllFontsConfig()) {
    if (config_)
        FcConfigReference(config_);
}

CoverageIndex::~CoverageIndex() {
    sets_.clear();
    if (config_)
        FcConfigDestroy(config_);
}

QString CoverageIndex::key(const QString& family) {
    // fontconfig compares family names ignoring case and spaces.
    QString folded = family.toCaseFolded();
    folded.remove(u' ');
    return folded;
}

std::vector<char32_t> CoverageIndex::CharactersToCover(QStringView text) {
    std::vector<char32_t> characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        const QChar::Category category = QChar::category(c);
        if (QChar::isSpace(c) || category == QChar::Other_Control ||
            category == QChar::Other_Format || isVariationSelector(c))
            continue;
        if (std::find(characters.begin(), characters.end(), c) == characters.end())
            characters.push_back(c);
    }
    return characters;
}

void CoverageIndex::load() {
    loaded_ = true;
    std::unique_ptr<FcPattern, PatternDeleter> all(FcPatternCreate());
    const FontSetPtr faces = listFaces(config_, all.get());
    if (!faces)
        return;
    // Faces grouped by their family's first name, as the catalogue groups them.
    std::map<QString, std::vector<FcPattern*>> families;
    for (int i = 0; i < faces->nfont; ++i) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(faces->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
            families[QString::fromUtf8(reinterpret_cast<const char*>(name))].push_back(
                faces->fonts[i]);
    }
    for (const auto& [first, members] : families) {
        FcPattern* regular = members.front();
        for (FcPattern* face : members)
            if (distanceFromRegular(face) < distanceFromRegular(regular))
                regular = face;
        FcCharSet* set = nullptr;
        CharSetPtr shared;
        if (FcPatternGetCharSet(regular, FC_CHARSET, 0, &set) == FcResultMatch)
            shared = CharSetPtr(FcCharSetCopy(set), FcCharSetDestroy);
        // Every name of every face finds the family; the first family keeps a shared name.
        for (FcPattern* face : members) {
            FcChar8* name = nullptr;
            for (int n = 0; FcPatternGetString(face, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
                const QString k = key(QString::fromUtf8(reinterpret_cast<const char*>(name)));
                if (!sets_.contains(k))
                    sets_.insert(k, shared);
            }
        }
    }
}

CoverageIndex::CharSetPtr CoverageIndex::lookUp(const QString& family) {
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.data()));
    const FontSetPtr faces = listFaces(config_, pattern.get());
    CharSetPtr shared;
    if (faces && faces->nfont > 0) {
        FcPattern* regular = faces->fonts[0];
        for (int i = 1; i < faces->nfont; ++i)
            if (distanceFromRegular(faces->fonts[i]) < distanceFromRegular(regular))
                regular = faces->fonts[i];
        FcCharSet* set = nullptr;
        if (FcPatternGetCharSet(regular, FC_CHARSET, 0, &set) == FcResultMatch)
            shared = CharSetPtr(FcCharSetCopy(set), FcCharSetDestroy);
    }
    // Unknown families are remembered too, so each is asked for once.
    sets_.insert(key(family), shared);
    return shared;
}

bool CoverageIndex::Covers(const QString& family, QStringView text) {
    return Covers(family, CharactersToCover(text));
}

bool CoverageIndex::Covers(const QString& family, const std::vector<char32_t>& characters) {
    if (characters.empty())
        return true;
    const CharSetPtr set = setOf(family);
    if (!set)
        return false;
    for (const char32_t c : characters)
        if (!FcCharSetHasChar(set.get(), c))
            return false;
    return true;
}

int CoverageIndex::Missing(const QString& family, const std::vector<char32_t>& characters) {
    if (characters.empty())
        return 0;
    const CharSetPtr set = setOf(family);
    if (!set)
        return static_cast<int>(characters.size());
    return static_cast<int>(std::count_if(characters.begin(), characters.end(), [&set](char32_t c) {
        return !FcCharSetHasChar(set.get(), c);
    }));
}

CoverageIndex::CharSetPtr CoverageIndex::setOf(const QString& family) {
    if (!loaded_)
        load();
    const auto found = sets_.constFind(key(family));
    return found != sets_.cend() ? *found : lookUp(family);
}

int CoverageIndex::FamilyCount() {
    if (!loaded_)
        load();
    return static_cast<int>(sets_.size());
}
