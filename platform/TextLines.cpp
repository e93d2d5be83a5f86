#include "platform/TextLines.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace platform {

namespace {

bool IsUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

// A settings or tag file always holds some ASCII (brackets, "=", digits, line breaks), which
// UTF-16 stores with a NUL beside it; text in an 8-bit encoding holds no NUL at all.
std::optional<TextEncoding> Utf16ByNulBytes(const QByteArray& bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return std::nullopt;
    qsizetype even = 0, odd = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0')
            ++(i % 2 == 0 ? even : odd);
    const qsizetype units = bytes.size() / 2;
    // Kanji such as U+4E00 put a NUL on the other side now and then; one stray NUL in 8-bit
    // text is not enough.
    if (odd >= 2 && odd * 8 >= units && odd > 3 * even)
        return TextEncoding::Utf16LE;
    if (even >= 2 && even * 8 >= units && even > 3 * odd)
        return TextEncoding::Utf16BE;
    return std::nullopt;
}

struct RawLine {
    QByteArray Bytes;
    QByteArray Break;
};

// Splits at CR LF, lone CR and lone LF, in units of one byte or of one UTF-16 code unit.
// Neither UTF-8 nor CP932 uses the bytes of CR and LF inside a character.
QList<RawLine> SplitRaw(const QByteArray& bytes, qsizetype from, TextEncoding encoding) {
    const int width = IsUtf16(encoding) ? 2 : 1;
    const auto unitAt = [&](qsizetype i) -> char16_t {
        const auto byte = [&](qsizetype k) {
            return char16_t(static_cast<unsigned char>(bytes[k]));
        };
        if (width == 1)
            return byte(i);
        return encoding == TextEncoding::Utf16LE ? char16_t(byte(i) | byte(i + 1) << 8)
                                                 : char16_t(byte(i) << 8 | byte(i + 1));
    };
    QList<RawLine> lines;
    qsizetype start = from;
    qsizetype i = from;
    while (i + width <= bytes.size()) {
        const char16_t unit = unitAt(i);
        if (unit != u'\r' && unit != u'\n') {
            i += width;
            continue;
        }
        qsizetype breakLength = width;
        if (unit == u'\r' && i + 2 * width <= bytes.size() && unitAt(i + width) == u'\n')
            breakLength = 2 * width;
        lines.append({bytes.mid(start, i - start), bytes.mid(i, breakLength)});
        i += breakLength;
        start = i;
    }
    if (start < bytes.size())
        lines.append({bytes.mid(start), QByteArray()});
    return lines;
}

QString BreakText(const QByteArray& raw, TextEncoding encoding) {
    const int width = IsUtf16(encoding) ? 2 : 1;
    QString text;
    for (qsizetype i = IsUtf16(encoding) && encoding == TextEncoding::Utf16BE ? 1 : 0;
         i < raw.size(); i += width)
        text += QLatin1Char(raw[i]);
    return text;
}

bool IsAscii(const QByteArray& bytes) {
    for (char byte : bytes)
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    return true;
}

// The encoding of a file without a mark and without NUL bytes. A file is UTF-8 when all of
// it is: one stray byte in a UTF-8 file must not turn its Japanese names into CP932
// nonsense, so otherwise the lines vote.
TextEncoding EightBitEncoding(const QByteArray& bytes, const QList<RawLine>& lines) {
    if (IsValidUtf8(bytes))
        return TextEncoding::Utf8;
    int utf8 = 0, cp932 = 0;
    for (const RawLine& line : lines) {
        if (IsAscii(line.Bytes))
            continue;
        if (IsValidUtf8(line.Bytes))
            ++utf8;
        else if (DecodeCp932(line.Bytes))
            ++cp932;
    }
    return utf8 > cp932 ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

struct DecodedLine {
    QString Text;
    bool Faithful = true;
};

DecodedLine DecodeUtf16Line(const QByteArray& bytes, TextEncoding encoding) {
    QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                             : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (bytes.size() % 2 != 0) { // half a code unit at the end of the file
        text += QChar::ReplacementCharacter;
        return {text, false};
    }
    return {text, !decoder.hasError()};
}

// A line that is valid UTF-8 is read as UTF-8 whatever the file's encoding: CP932 text is
// almost never valid UTF-8, while UTF-8 text with accents or kana is often valid CP932.
DecodedLine DecodeEightBitLine(const QByteArray& bytes, TextEncoding encoding) {
    if (IsAscii(bytes))
        return {QString::fromLatin1(bytes), true};
    if (std::optional<QString> text = DecodeUtf8(bytes))
        return {*text, true};
    if (std::optional<QString> text = DecodeCp932(bytes))
        return {*text, true};
    if (encoding == TextEncoding::Utf8)
        return {QString::fromUtf8(bytes), false};
    bool lossy = false;
    return {DecodeCp932Lossy(bytes, &lossy), false};
}

QByteArray MarkOf(const TextFormat& format) {
    if (!format.ByteOrderMark)
        return {};
    switch (format.Encoding) {
    case TextEncoding::Utf8:
        return Utf8Mark;
    case TextEncoding::Utf16LE:
        return Utf16LEMark;
    case TextEncoding::Utf16BE:
        return Utf16BEMark;
    case TextEncoding::Cp932:
        break;
    }
    return {};
}

} // namespace

TextLines TextLines::Decode(const QByteArray& bytes) {
    TextLines result;
    qsizetype from = 0;
    if (bytes.startsWith(Utf8Mark)) {
        result.readFormat_ = {TextEncoding::Utf8, true};
        from = Utf8Mark.size();
    } else if (bytes.startsWith(Utf16LEMark)) {
        result.readFormat_ = {TextEncoding::Utf16LE, true};
        from = Utf16LEMark.size();
    } else if (bytes.startsWith(Utf16BEMark)) {
        result.readFormat_ = {TextEncoding::Utf16BE, true};
        from = Utf16BEMark.size();
    } else if (const auto utf16 = Utf16ByNulBytes(bytes)) {
        result.readFormat_ = {*utf16, false};
    }
    QList<RawLine> raw = SplitRaw(bytes, from, result.readFormat_.Encoding);
    if (from == 0 && !IsUtf16(result.readFormat_.Encoding))
        result.readFormat_ = {EightBitEncoding(bytes, raw), false};

    const TextEncoding encoding = result.readFormat_.Encoding;
    result.lines_.reserve(raw.size());
    for (RawLine& line : raw) {
        const DecodedLine decoded = IsUtf16(encoding) ? DecodeUtf16Line(line.Bytes, encoding)
                                                      : DecodeEightBitLine(line.Bytes, encoding);
        Line entry;
        entry.Text = decoded.Text;
        entry.Break = BreakText(line.Break, encoding);
        entry.Raw = std::move(line.Bytes);
        entry.Read = true;
        entry.Faithful = decoded.Faithful;
        if (result.firstBreak_.isEmpty())
            result.firstBreak_ = entry.Break;
        result.lines_.append(std::move(entry));
    }
    result.Format = result.readFormat_;
    if (!result.firstBreak_.isEmpty())
        result.LineBreak = result.firstBreak_;
    return result;
}

void TextLines::setText(qsizetype i, const QString& text) {
    Line& line = lines_[i];
    if (line.Text == text)
        return;
    line.Text = text;
    line.Read = false;
    line.Faithful = true;
}

void TextLines::insert(qsizetype i, const QString& text) {
    Line line;
    line.Text = text;
    lines_.insert(i, std::move(line));
}

void TextLines::insert(qsizetype i, const QStringList& texts) {
    QList<Line> lines;
    lines.reserve(lines_.size() + texts.size());
    lines.append(lines_.mid(0, i));
    for (const QString& text : texts) {
        Line line;
        line.Text = text;
        lines.append(std::move(line));
    }
    lines.append(lines_.mid(i));
    lines_ = std::move(lines);
}

QStringList TextLines::texts() const {
    QStringList result;
    result.reserve(lines_.size());
    for (const Line& line : lines_)
        result.append(line.Text);
    return result;
}

QString TextLines::joined() const {
    QString result;
    for (const Line& line : lines_)
        result += line.Text + line.Break;
    return result;
}

void TextLines::assign(const QStringList& texts) {
    QList<Line> previous = std::move(lines_);
    lines_.clear();
    lines_.reserve(texts.size());
    qsizetype next = 0;
    for (const QString& text : texts) {
        if (next < previous.size() && previous[next].Text == text) {
            lines_.append(std::move(previous[next++]));
        } else {
            Line line;
            line.Text = text;
            lines_.append(std::move(line));
        }
    }
}

bool TextLines::lossy() const {
    for (const Line& line : lines_)
        if (!line.Faithful)
            return true;
    return false;
}

std::optional<QByteArray> TextLines::encode(QString* problem) const {
    const auto fail = [problem](const QString& text) -> std::optional<QByteArray> {
        if (problem)
            *problem = text;
        return std::nullopt;
    };
    const TextFormat lineFormat{Format.Encoding, false};
    const bool sameEncoding = Format.Encoding == readFormat_.Encoding;
    const bool fileLossy = lossy();
    const std::optional<QByteArray> lineBreak = EncodeText(LineBreak, lineFormat);
    if (!lineBreak)
        return fail(QCoreApplication::translate("platform::TextLines", "改行を書けません"));

    QByteArray bytes = MarkOf(Format);
    for (const Line& line : lines_) {
        if (line.Read && (sameEncoding || !line.Faithful)) {
            // Undecodable bytes mean nothing in any encoding; moved to another one they
            // would still be garbage, but only UTF-16 would turn them into other text.
            if (!sameEncoding && (IsUtf16(Format.Encoding) || IsUtf16(readFormat_.Encoding)))
                return fail(QCoreApplication::translate(
                    "platform::TextLines", "読み込んだファイルに文字として読めないバイトが"
                                           "あるため、書き換えません"));
            bytes += line.Raw;
        } else {
            if (fileLossy && !line.Read && line.Text.contains(QChar::ReplacementCharacter))
                return fail(QCoreApplication::translate(
                    "platform::TextLines", "読み込んだファイルに文字として読めないバイトが"
                                           "あるため、書き換えません"));
            const std::optional<QByteArray> encoded = EncodeText(line.Text, lineFormat);
            if (!encoded)
                return fail(QCoreApplication::translate(
                    "platform::TextLines", "ファイルの文字コードで表せない文字があります"));
            bytes += *encoded;
        }
        if (line.Break.isEmpty() || !KeepLineBreaks) {
            bytes += *lineBreak;
        } else {
            const std::optional<QByteArray> encoded = EncodeText(line.Break, lineFormat);
            bytes += encoded ? *encoded : *lineBreak;
        }
    }
    return bytes;
}

} // namespace platform
