#pragma once

// Owning handles for fontconfig's objects, and the one getter every fontconfig reader needs.
#include <QString>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace platform::fc {

struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct StrSetDeleter {
    void operator()(FcStrSet* set) const { FcStrSetDestroy(set); }
};
struct StrListDeleter {
    void operator()(FcStrList* list) const { FcStrListDone(list); }
};

// The string value of the pattern's object at the index; empty when there is none.
inline QString stringAt(FcPattern* pattern, const char* object, int index) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

// How far a face is from the plain upright face of normal weight and width (fontconfig's
// weight, slant and width scales): 0 for the regular face itself.
inline int distanceFromRegular(int weight, int slant, int width) {
    return std::abs(weight - FC_WEIGHT_REGULAR) + std::abs(slant - FC_SLANT_ROMAN) +
           std::abs(width - FC_WIDTH_NORMAL);
}

} // namespace platform::fc
