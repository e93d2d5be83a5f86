#include "fontengine/TextItemizer.h"

#include <hb.h>
#include <memory>
#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

namespace {

struct BidiDeleter {
    void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

// Whether the character can start a run from right to left. Most samples have none, and then
// the bidirectional algorithm has nothing to reorder.
bool runsRightToLeft(UChar32 c) {
    switch (u_charDirection(c)) {
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC:
    case U_ARABIC_NUMBER:
    case U_RIGHT_TO_LEFT_EMBEDDING:
    case U_RIGHT_TO_LEFT_OVERRIDE:
    case U_RIGHT_TO_LEFT_ISOLATE:
        return true;
    default:
        return false;
    }
}

hb_script_t toHarfBuzz(UScriptCode script) {
    // Every tile shapes its caption: the names are looked up once.
    static const std::vector<hb_script_t> scripts = [] {
        std::vector<hb_script_t> all(USCRIPT_CODE_LIMIT);
        for (int code = 0; code < USCRIPT_CODE_LIMIT; ++code)
            all[static_cast<size_t>(code)] =
                hb_script_from_string(uscript_getShortName(static_cast<UScriptCode>(code)), -1);
        return all;
    }();
    return script >= 0 && script < USCRIPT_CODE_LIMIT ? scripts[static_cast<size_t>(script)]
                                                      : HB_SCRIPT_UNKNOWN;
}

// The script of each UTF-16 unit, with characters of no script of their own resolved to a
// neighbour's; and whether any character can run right to left.
std::vector<hb_script_t> resolveScripts(const char16_t* text, int length, bool& rightToLeft) {
    std::vector<hb_script_t> scripts(static_cast<size_t>(length), HB_SCRIPT_COMMON);
    UScriptCode current = USCRIPT_COMMON;
    UScriptCode first = USCRIPT_COMMON;
    hb_script_t currentTag = HB_SCRIPT_COMMON;
    rightToLeft = false;
    for (int i = 0; i < length;) {
        const int start = i;
        UChar32 c = 0;
        U16_NEXT(text, i, length, c);
        rightToLeft = rightToLeft || runsRightToLeft(c);
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(c, &status);
        if (U_SUCCESS(status) && script != USCRIPT_COMMON && script != USCRIPT_INHERITED &&
            script != USCRIPT_UNKNOWN && script != current) {
            current = script;
            currentTag = toHarfBuzz(script);
            if (first == USCRIPT_COMMON)
                first = script;
        }
        for (int unit = start; unit < i; ++unit)
            scripts[static_cast<size_t>(unit)] = currentTag;
    }
    // What came before the first character of a script takes that script.
    if (first != USCRIPT_COMMON) {
        const hb_script_t firstTag = toHarfBuzz(first);
        for (hb_script_t& script : scripts) {
            if (script != HB_SCRIPT_COMMON)
                break;
            script = firstTag;
        }
    }
    return scripts;
}

// Cuts [start, start + length) where the script changes and appends the pieces in visual order.
void splitByScript(const std::vector<hb_script_t>& scripts, int start, int length, bool rightToLeft,
                   std::vector<TextItem>& items) {
    std::vector<TextItem> pieces;
    const int end = start + length;
    for (int i = start; i < end;) {
        int next = i + 1;
        while (next < end && scripts[static_cast<size_t>(next)] == scripts[static_cast<size_t>(i)])
            ++next;
        pieces.push_back({i, next - i, rightToLeft, scripts[static_cast<size_t>(i)]});
        i = next;
    }
    if (rightToLeft)
        items.insert(items.end(), pieces.rbegin(), pieces.rend());
    else
        items.insert(items.end(), pieces.begin(), pieces.end());
}

} // namespace

std::vector<TextItem> TextItemizer::Itemize(const QString& text) {
    std::vector<TextItem> items;
    const int length = static_cast<int>(text.size());
    if (length == 0)
        return items;
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    bool rightToLeft = false;
    const std::vector<hb_script_t> scripts = resolveScripts(units, length, rightToLeft);
    if (!rightToLeft) {
        splitByScript(scripts, 0, length, false, items);
        return items;
    }

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UBiDi, BidiDeleter> bidi(ubidi_openSized(length, 0, &status));
    if (U_SUCCESS(status))
        ubidi_setPara(bidi.get(), units, length, UBIDI_DEFAULT_LTR, nullptr, &status);
    const int32_t runs = U_SUCCESS(status) ? ubidi_countRuns(bidi.get(), &status) : 0;
    if (U_FAILURE(status) || runs <= 0) {
        // Out of memory in ICU: the text as it stands, still cut by script.
        splitByScript(scripts, 0, length, false, items);
        return items;
    }
    for (int32_t run = 0; run < runs; ++run) {
        int32_t start = 0;
        int32_t runLength = 0;
        const UBiDiDirection direction = ubidi_getVisualRun(bidi.get(), run, &start, &runLength);
        splitByScript(scripts, start, runLength, direction == UBIDI_RTL, items);
    }
    return items;
}
