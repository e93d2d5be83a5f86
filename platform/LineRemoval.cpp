#include "platform/LineRemoval.h"

#include "platform/TextLines.h"

#include <QList>

namespace platform {

namespace {

qsizetype MarkLength(const TextFormat& format) {
    if (!format.ByteOrderMark)
        return 0;
    return format.Encoding == TextEncoding::Utf8 ? Utf8Mark.size() : Utf16LEMark.size();
}

// Each line with its break, as it stands in the bytes. The same cuts as TextLines makes: at
// CR LF, lone CR and lone LF, counted in code units of the file's encoding.
QList<QByteArrayView> SplitWithBreaks(QByteArrayView bytes, TextEncoding encoding) {
    const bool utf16 = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
    const qsizetype width = utf16 ? 2 : 1;
    const auto unitAt = [&](qsizetype i) -> char16_t {
        const auto byte = [&](qsizetype k) { return char16_t(static_cast<uchar>(bytes[k])); };
        if (!utf16)
            return byte(i);
        return encoding == TextEncoding::Utf16LE ? char16_t(byte(i) | byte(i + 1) << 8)
                                                 : char16_t(byte(i) << 8 | byte(i + 1));
    };
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i + width <= bytes.size()) {
        const char16_t unit = unitAt(i);
        if (unit != u'\r' && unit != u'\n') {
            i += width;
            continue;
        }
        i += width;
        if (unit == u'\r' && i + width <= bytes.size() && unitAt(i) == u'\n')
            i += width;
        lines.append(bytes.sliced(start, i - start));
        start = i;
    }
    if (start < bytes.size())
        lines.append(bytes.sliced(start));
    return lines;
}

} // namespace

QByteArray WithoutLines(const QByteArray& bytes,
                        const std::function<bool(const QString& line)>& matches, int* removed) {
    if (removed)
        *removed = 0;
    const TextLines decoded = TextLines::Decode(bytes);
    const qsizetype mark = MarkLength(decoded.Format);
    const QList<QByteArrayView> raw =
        SplitWithBreaks(QByteArrayView(bytes).sliced(mark), decoded.Format.Encoding);
    // Both cut the same bytes the same way; should they ever disagree, no line is known for
    // sure, and the file is better left whole.
    if (raw.size() != decoded.size())
        return bytes;
    QByteArray result = bytes.left(mark);
    int count = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (matches(decoded.text(i)))
            ++count;
        else
            result += raw[i];
    }
    if (removed)
        *removed = count;
    return count ? result : bytes;
}

} // namespace platform
