#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// A stretch of text that HarfBuzz shapes on its own: one direction and one script.
struct TextItem {
    int start = 0;  // UTF-16 offset into the text
    int length = 0; // UTF-16 units
    bool rightToLeft = false;
    // The script as HarfBuzz names it (an hb_script_t, the ISO 15924 tag); Common when the
    // whole text has no characters of a script of their own.
    uint32_t script = 0;
    bool operator==(const TextItem&) const = default;
};

// Splits a text into what can be shaped in one go. Shaping a mixed text as a single run
// applies one direction and one script's rules to all of it: Arabic after Latin comes out
// backwards and unjoined.
class TextItemizer {
public:
    // The items of a one-line text in visual order, left to right. Directions come from the
    // Unicode bidirectional algorithm, the paragraph's from its first strong character (left
    // to right when there is none). Within each direction run the text is cut where the script
    // changes; characters of no script of their own (spaces, digits, punctuation, combining
    // marks) go with the script before them, or at the start with the one after them.
    static std::vector<TextItem> Itemize(const QString& text);
};
