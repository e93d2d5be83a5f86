#include "platform/InterfaceFontConfig.h"

#include "platform/FontconfigHandles.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

namespace {

std::atomic<FcConfig*> allFontsConfig{nullptr};

// fontconfig compares family names without case and blanks; so do the ranks.
std::string familyKey(const FcChar8* name) {
    std::string key;
    for (const FcChar8* c = name; *c; ++c)
        if (*c != ' ')
            key.push_back(*c >= 'A' && *c <= 'Z' ? char(*c - 'A' + 'a') : char(*c));
    return key;
}

const FcChar8* firstFamily(FcPattern* font) {
    FcChar8* family = nullptr;
    return FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch ? family : nullptr;
}

// The fonts of the set, the closest to the interface's font first: the family fontconfig
// matches for it, then the families its aliases name in their order, then the rest in
// fontconfig's own order. Sorting the collection by fontconfig's full comparison would cost
// as much as the listing this saves.
std::vector<FcPattern*> byCloseness(FcConfig* config, FcFontSet* fonts, const QString& preferred) {
    std::unordered_map<std::string, int> ranks;
    std::unique_ptr<FcPattern, fc::PatternDeleter> request(
        FcNameParse(reinterpret_cast<const FcChar8*>(preferred.toUtf8().constData())));
    if (request) {
        FcConfigSubstitute(config, request.get(), FcMatchPattern);
        FcDefaultSubstitute(request.get());
        FcResult result = FcResultNoMatch;
        std::unique_ptr<FcPattern, fc::PatternDeleter> match(
            FcFontMatch(config, request.get(), &result));
        if (const FcChar8* family = match ? firstFamily(match.get()) : nullptr)
            ranks.emplace(familyKey(family), 0);
        FcChar8* family = nullptr;
        for (int i = 0; FcPatternGetString(request.get(), FC_FAMILY, i, &family) == FcResultMatch;
             ++i)
            ranks.emplace(familyKey(family), i + 1);
    }
    std::vector<std::pair<int, FcPattern*>> ranked;
    ranked.reserve(fonts->nfont);
    for (int i = 0; i < fonts->nfont; ++i) {
        int rank = INT_MAX;
        FcChar8* family = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
             ++n)
            if (const auto found = ranks.find(familyKey(family)); found != ranks.end())
                rank = std::min(rank, found->second);
        ranked.emplace_back(rank, fonts->fonts[i]);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FcPattern*> ordered;
    ordered.reserve(ranked.size());
    for (const auto& [rank, font] : ranked)
        ordered.push_back(font);
    return ordered;
}

// The families of the fonts that bring a character or a language no font before them has.
std::vector<std::string> familiesCoveringAll(const std::vector<FcPattern*>& fonts) {
    std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)> characters(FcCharSetCreate(),
                                                                       &FcCharSetDestroy);
    std::unique_ptr<FcLangSet, decltype(&FcLangSetDestroy)> languages(FcLangSetCreate(),
                                                                      &FcLangSetDestroy);
    std::vector<std::string> families;
    std::unordered_set<std::string> seen;
    for (FcPattern* font : fonts) {
        const FcChar8* family = firstFamily(font);
        if (!family)
            continue;
        bool brings = false;
        FcCharSet* fontCharacters = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &fontCharacters) == FcResultMatch &&
            !FcCharSetIsSubset(fontCharacters, characters.get())) {
            FcCharSetMerge(characters.get(), fontCharacters, nullptr);
            brings = true;
        }
        FcLangSet* fontLanguages = nullptr;
        if (FcPatternGetLangSet(font, FC_LANG, 0, &fontLanguages) == FcResultMatch &&
            !FcLangSetContains(languages.get(), fontLanguages)) {
            languages.reset(FcLangSetUnion(languages.get(), fontLanguages));
            brings = true;
        }
        const std::string name(reinterpret_cast<const char*>(family));
        if (brings && seen.insert(name).second)
            families.push_back(name);
    }
    return families;
}

// A configuration of the same files and rules as fontconfig's default one, holding only the
// fonts given (shared with the configuration they come from, not copied).
FcConfig* configHolding(const std::vector<FcPattern*>& fonts) {
    FcConfig* config = FcInitLoadConfig();
    if (!config)
        return nullptr;
    // Every font of the folders is refused as the folders' caches are read: the fonts given
    // are added afterwards, with no second listing of the collection.
    static const char* const refuseAll =
        "<?xml version=\"1.0\"?><fontconfig><selectfont><rejectfont><pattern/></rejectfont>"
        "</selectfont></fontconfig>";
    if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(refuseAll),
                                        FcTrue) ||
        !FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return nullptr;
    }
    FcFontSet* set = FcConfigGetFonts(config, FcSetSystem);
    for (FcPattern* font : fonts) {
        FcPatternReference(font);
        if (!set || !FcFontSetAdd(set, font))
            FcPatternDestroy(font);
    }
    // Looking again at the folders every 30 s would bring the whole collection back as the
    // current configuration whenever a font is installed.
    FcConfigSetRescanInterval(config, 0);
    return config;
}

} // namespace

InterfaceFontConfig::InterfaceFontConfig(const QString& preferred, QObject* parent)
    : QObject(parent) {
    // Another instance has already narrowed the current configuration: start from all fonts.
    FcConfig* all = FcConfigReference(allFontsConfig.load());
    FcFontSet* fonts = all ? FcConfigGetFonts(all, FcSetSystem) : nullptr;
    if (!fonts || fonts->nfont == 0) {
        if (all)
            FcConfigDestroy(all);
        return;
    }
    const std::vector<FcPattern*> ordered = byCloseness(all, fonts, preferred);
    const std::vector<std::string> chosen = familiesCoveringAll(ordered);
    const std::unordered_set<std::string> chosenSet(chosen.begin(), chosen.end());
    std::vector<FcPattern*> kept;
    for (FcPattern* font : ordered)
        if (const FcChar8* family = firstFamily(font);
            family && chosenSet.count(reinterpret_cast<const char*>(family)))
            kept.push_back(font);

    FcConfig* reduced = configHolding(kept);
    if (!reduced || !FcConfigSetCurrent(reduced)) {
        if (reduced)
            FcConfigDestroy(reduced);
        FcConfigDestroy(all);
        return;
    }
    // The current configuration holds its own reference.
    FcConfigDestroy(reduced);
    allFonts_ = all;
    allFontsConfig.store(all);
    for (const std::string& family : chosen)
        families_.append(QString::fromStdString(family));
}

InterfaceFontConfig::~InterfaceFontConfig() {
    if (!allFonts_)
        return;
    FcConfig* expected = allFonts_;
    allFontsConfig.compare_exchange_strong(expected, nullptr);
    FcConfigDestroy(allFonts_);
}

FcConfig* AllFontsConfig() {
    return allFontsConfig.load();
}

} // namespace platform
