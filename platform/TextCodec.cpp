#include "platform/TextCodec.h"

#include "platform/TextLines.h"

#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {

const QByteArray Utf8Mark("\xEF\xBB\xBF", 3);
const QByteArray Utf16LEMark("\xFF\xFE", 2);
const QByteArray Utf16BEMark("\xFE\xFF", 2);
const QByteArray Utf8Replacement("\xEF\xBF\xBD", 3); // U+FFFD

// Strict UTF-8: no overlong forms, no encoded surrogates, nothing above U+10FFFF. A lenient
// check would let CP932 files pass as UTF-8 more often and then rewrite them differently.
bool IsValidUtf8(const char* data, qsizetype size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int trailing = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the first trailing byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            trailing = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trailing = 2;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trailing = 3;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (size - i - 1 < trailing)
            return false;
        if (bytes[i + 1] < low || bytes[i + 1] > high)
            return false;
        for (int k = 2; k <= trailing; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        i += 1 + trailing;
    }
    return true;
}

// Whether every surrogate is part of a pair: only then does the text have a UTF-8 or CP932
// form (Qt would quietly put a replacement character in place of a lone one).
bool HasOnlyPairedSurrogates(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (text[i].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

QByteArray EncodeUtf16(const QString& text, bool littleEndian) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        if (littleEndian) {
            bytes.append(low);
            bytes.append(high);
        } else {
            bytes.append(high);
            bytes.append(low);
        }
    }
    return bytes;
}

// One iconv conversion descriptor, closed when it goes out of scope.
class IconvConverter {
public:
    IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvConverter() {
        if (valid())
            iconv_close(cd_);
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input. Without a replacement it is strict: nullopt at the first
    // sequence that cannot be converted, or that iconv converts only approximately. With one,
    // each byte that cannot be converted becomes the replacement and *replaced is set.
    std::optional<QByteArray> convert(const QByteArray& input, const QByteArray* replacement,
                                      bool* replaced) {
        if (!valid())
            return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // initial shift state
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = static_cast<size_t>(input.size());
        QByteArray out(input.size() * 3 + 16, Qt::Uninitialized);
        qsizetype used = 0;
        bool flushing = false; // all input taken, writing what the shift state still holds
        for (;;) {
            char* outPtr = out.data() + used;
            size_t outLeft = static_cast<size_t>(out.size() - used);
            const size_t result = flushing ? iconv(cd_, nullptr, nullptr, &outPtr, &outLeft)
                                           : iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            used = outPtr - out.data();
            if (result != static_cast<size_t>(-1)) {
                if (result > 0 && !replacement) // approximations such as a best fit
                    return std::nullopt;
                if (flushing)
                    break;
                flushing = true;
                continue;
            }
            if (error == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            if (!replacement || (error != EILSEQ && error != EINVAL))
                return std::nullopt;
            // EILSEQ: skip one byte and resynchronise; EINVAL: the input ends inside a
            // sequence, so every byte left is undecodable.
            const size_t skipped = error == EILSEQ ? 1 : inLeft;
            out.resize(used);
            for (size_t k = 0; k < skipped; ++k)
                out.append(*replacement);
            used = out.size();
            out.resize(used * 2 + 16);
            in += skipped;
            inLeft -= skipped;
            *replaced = true;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t cd_;
};

// CP932 as far as it goes: bytes that are no CP932 become U+FFFD and the result is lossy.
QString DecodeCp932Lenient(const QByteArray& bytes, bool* lossy) {
    IconvConverter converter("UTF-8", "CP932");
    if (converter.valid()) {
        if (auto utf8 = converter.convert(bytes, &Utf8Replacement, lossy))
            return QString::fromUtf8(*utf8);
    }
    // Without the converter only ASCII can be trusted.
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80) {
            text += QLatin1Char(byte);
        } else {
            text += QChar::ReplacementCharacter;
            *lossy = true;
        }
    }
    return text;
}

} // namespace

DecodedText DecodeText(const QByteArray& bytes) {
    const TextLines lines = TextLines::Decode(bytes);
    DecodedText decoded;
    decoded.Format = lines.Format;
    decoded.Lossy = lines.lossy();
    decoded.Text = lines.joined();
    return decoded;
}

bool IsValidUtf8(const QByteArray& bytes) {
    return IsValidUtf8(bytes.constData(), bytes.size());
}

QString DecodeCp932Lossy(const QByteArray& bytes, bool* lossy) {
    return DecodeCp932Lenient(bytes, lossy);
}

std::optional<QByteArray> EncodeText(const QString& text, const TextFormat& format) {
    switch (format.Encoding) {
    case TextEncoding::Utf8:
        if (!HasOnlyPairedSurrogates(text))
            return std::nullopt;
        return (format.ByteOrderMark ? Utf8Mark : QByteArray()) + text.toUtf8();
    case TextEncoding::Utf16LE:
        return (format.ByteOrderMark ? Utf16LEMark : QByteArray()) + EncodeUtf16(text, true);
    case TextEncoding::Utf16BE:
        return (format.ByteOrderMark ? Utf16BEMark : QByteArray()) + EncodeUtf16(text, false);
    case TextEncoding::Cp932:
        return EncodeCp932(text); // the code page has no mark
    }
    return std::nullopt;
}

std::optional<QString> DecodeCp932(const QByteArray& bytes) {
    IconvConverter converter("UTF-8", "CP932");
    if (auto utf8 = converter.convert(bytes, nullptr, nullptr))
        return QString::fromUtf8(*utf8);
    return std::nullopt;
}

std::optional<QByteArray> EncodeCp932(const QString& text) {
    if (!HasOnlyPairedSurrogates(text))
        return std::nullopt;
    IconvConverter converter("CP932", "UTF-8");
    auto bytes = converter.convert(text.toUtf8(), nullptr, nullptr);
    // iconv maps some characters to look-alikes without saying so (U+00A5 to "\", U+2212 to
    // U+FF0D); a name changed that way would no longer match, so only exact round trips pass.
    if (!bytes || DecodeCp932(*bytes) != text)
        return std::nullopt;
    return bytes;
}

bool HoldsLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

QStringList SplitLines(const QString& text, QString* firstBreak) {
    QStringList lines;
    QString found;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        qsizetype breakLength = 1;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            breakLength = 2;
        if (found.isEmpty())
            found = text.mid(i, breakLength);
        i += breakLength - 1;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    if (firstBreak)
        *firstBreak = found;
    return lines;
}

} // namespace platform
