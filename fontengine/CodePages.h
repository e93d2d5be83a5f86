#pragma once

#include <QString>
#include <optional>

class FontFileReader;

// The Windows code pages a face says it serves, from its OS/2 table (ulCodePageRange1). The
// desktop this program's font classes come from takes a family's character set from these
// bits, not from whether the font has every character of a language's orthography.
namespace codepages {

// Bit 17 of ulCodePageRange1: JIS/Japan (code page 932).
inline constexpr quint32 Japanese = 1u << 17;

// The face's ulCodePageRange1; none when the face has no OS/2 table, one of version 0 (which
// holds no code pages), or the file cannot be read. Reads the few bytes it needs through the
// reader: a FIFO, a device or a file that changes underneath gives none, never a hang.
std::optional<quint32> ReadRange1(FontFileReader& reader, const QString& path, int faceIndex);

} // namespace codepages
