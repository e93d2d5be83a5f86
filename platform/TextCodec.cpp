#include "platform/TextCodec.h"

#include "platform/TextLines.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {

const QByteArray Utf8Replacement("\xEF\xBF\xBD", 3); // U+FFFD

// Stateless, so that a sequence cut off at the end counts as an error rather than waiting for
// more input; and Qt's encoder reports a lone low surrogate only then.
constexpr auto Strict = QStringConverter::Flag::Stateless;

// Text in UTF-8, or nullopt when it holds a surrogate that is not part of a pair: such text
// has no UTF-8 or CP932 form (a lenient encoder would quietly put U+FFFD in its place).
std::optional<QByteArray> EncodeUtf8(const QString& text) {
    QStringEncoder encoder(QStringEncoder::Utf8, Strict);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QByteArray EncodeUtf16(const QString& text, QStringEncoder::Encoding encoding) {
    QStringEncoder encoder(encoding, Strict);
    return encoder.encode(text);
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
    std::optional<QByteArray> convert(QByteArrayView input, const QByteArray* replacement,
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

} // namespace

DecodedText DecodeText(const QByteArray& bytes) {
    const TextLines lines = TextLines::Decode(bytes);
    DecodedText decoded;
    decoded.Format = lines.Format;
    decoded.Lossy = lines.lossy();
    decoded.Text = lines.joined();
    return decoded;
}

std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, Strict);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool IsValidUtf8(const QByteArray& bytes) {
    return DecodeUtf8(bytes).has_value();
}

std::optional<QString> DecodeWithIconv(const char* encoding, QByteArrayView bytes, bool* lossy) {
    IconvConverter converter("UTF-8", encoding);
    bool replaced = false;
    const std::optional<QByteArray> utf8 =
        converter.convert(bytes, lossy ? &Utf8Replacement : nullptr, &replaced);
    if (!utf8)
        return std::nullopt;
    if (lossy && replaced)
        *lossy = true;
    return QString::fromUtf8(*utf8);
}

QString DecodeCp932Lossy(const QByteArray& bytes, bool* lossy) {
    if (std::optional<QString> text = DecodeWithIconv("CP932", bytes, lossy))
        return *text;
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

std::optional<QByteArray> EncodeText(const QString& text, const TextFormat& format) {
    switch (format.Encoding) {
    case TextEncoding::Utf8:
        if (std::optional<QByteArray> bytes = EncodeUtf8(text))
            return (format.ByteOrderMark ? Utf8Mark : QByteArray()) + *bytes;
        return std::nullopt;
    case TextEncoding::Utf16LE:
        return (format.ByteOrderMark ? Utf16LEMark : QByteArray()) +
               EncodeUtf16(text, QStringEncoder::Utf16LE);
    case TextEncoding::Utf16BE:
        return (format.ByteOrderMark ? Utf16BEMark : QByteArray()) +
               EncodeUtf16(text, QStringEncoder::Utf16BE);
    case TextEncoding::Cp932:
        return EncodeCp932(text); // the code page has no mark
    }
    return std::nullopt;
}

std::optional<QString> DecodeCp932(const QByteArray& bytes) {
    return DecodeWithIconv("CP932", bytes);
}

std::optional<QByteArray> EncodeCp932(const QString& text) {
    const std::optional<QByteArray> utf8 = EncodeUtf8(text);
    if (!utf8)
        return std::nullopt;
    IconvConverter converter("CP932", "UTF-8");
    auto bytes = converter.convert(*utf8, nullptr, nullptr);
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
