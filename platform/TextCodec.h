#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The byte-order marks, as the codec writes them and the line reader recognises them.
inline const QByteArray Utf8Mark("\xEF\xBB\xBF", 3);
inline const QByteArray Utf16LEMark("\xFF\xFE", 2);
inline const QByteArray Utf16BEMark("\xFE\xFF", 2);

// How a text file was stored: its encoding and whether it began with a byte-order mark.
enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Cp932 };

struct TextFormat {
    TextEncoding Encoding = TextEncoding::Utf8;
    bool ByteOrderMark = false;
    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

struct DecodedText {
    QString Text;
    TextFormat Format;
    // Some bytes could not be decoded and stand as U+FFFD in Text: writing Text back would
    // replace them for good.
    bool Lossy = false;
};

// A mark selects UTF-8 or UTF-16 (and is not part of the text); without one, NUL bytes at
// every other position mean UTF-16, else the bytes are UTF-8 unless more of their lines are
// CP932 (files brought from Japanese Windows) than UTF-8; see TextLines.
DecodedText DecodeText(const QByteArray& bytes);

// Encodes text in the given format, mark included. nullopt when the encoding cannot hold
// every character (CP932 has no replacement we would accept: it would corrupt the name).
std::optional<QByteArray> EncodeText(const QString& text, const TextFormat& format);

// Strict CP932 conversions through iconv; nullopt on any byte or character they cannot map.
std::optional<QString> DecodeCp932(const QByteArray& bytes);
std::optional<QByteArray> EncodeCp932(const QString& text);

// Strict UTF-8: no overlong forms, no encoded surrogates, nothing above U+10FFFF, no sequence
// cut off at the end. A lenient check would let CP932 files pass as UTF-8 more often and then
// rewrite them differently. A mark at the start is dropped.
std::optional<QString> DecodeUtf8(QByteArrayView bytes);
bool IsValidUtf8(const QByteArray& bytes);
// Bytes in an encoding iconv knows ("CP932", "MACINTOSH", ...). Without lossy it is strict:
// nullopt at the first byte iconv cannot map, or maps only approximately. With lossy, each
// byte it cannot map becomes U+FFFD and *lossy is set. nullopt when iconv lacks the encoding.
std::optional<QString> DecodeWithIconv(const char* encoding, QByteArrayView bytes,
                                       bool* lossy = nullptr);
// CP932 as far as it goes: bytes that are no CP932 become U+FFFD and *lossy is set.
QString DecodeCp932Lossy(const QByteArray& bytes, bool* lossy);

// Splits text at CR LF, lone CR and lone LF; a final break makes no empty last line, an empty
// line inside the text is a line of its own. firstBreak receives the first break found (empty
// when there is none).
QStringList SplitLines(const QString& text, QString* firstBreak = nullptr);

// Whether the text holds a CR or an LF: such text cannot be stored as one line.
bool HoldsLineBreak(const QString& text);

} // namespace platform
