// A name taken out of a tag file leaves every other byte as it was, in each encoding a tag
// file comes in.
#include "platform/LineRemoval.h"

#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using platform::WithoutLines;

namespace {

QByteArray Cp932(const QString& text) {
    return *platform::EncodeCp932(text);
}

QByteArray Utf16LE(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

auto Is(const QString& name) {
    return [name](const QString& line) { return line == name; };
}

} // namespace

TEST(LineRemoval, Cp932KeepsTheOtherLinesAndTheirOwnBreaks) {
    // Mixed breaks and a last line without one, as hand edits leave them.
    const QByteArray first = Cp932(QStringLiteral("ＭＳ ゴシック")) + "\r\n";
    const QByteArray second = Cp932(QStringLiteral("メイリオ")) + "\n";
    const QByteArray third = "Arial\r";
    const QByteArray last = Cp932(QStringLiteral("游明朝"));
    int removed = -1;
    EXPECT_EQ(WithoutLines(first + second + third + last, Is(QStringLiteral("メイリオ")), &removed),
              first + third + last);
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(WithoutLines(first + second + third + last, Is(QStringLiteral("游明朝"))),
              first + second + third);
}

TEST(LineRemoval, Utf16KeepsItsMarkAndEveryOtherCodeUnit) {
    const QByteArray mark("\xFF\xFE", 2);
    const QByteArray a = Utf16LE(QStringLiteral("DejaVu Sans\r\n"));
    const QByteArray b = Utf16LE(QStringLiteral("IPAゴシック\r\n"));
    // U+0A0D holds the byte of LF, U+0D0A those of CR LF: only whole code units break lines.
    const QByteArray c = Utf16LE(QStringLiteral("\u0A0D\u0D0A\n"));
    int removed = -1;
    EXPECT_EQ(WithoutLines(mark + a + b + c, Is(QStringLiteral("IPAゴシック")), &removed),
              mark + a + c);
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(WithoutLines(mark + a + b + c, Is(QStringLiteral("\u0A0D\u0D0A"))), mark + a + b);
    EXPECT_EQ(WithoutLines(mark + a, Is(QStringLiteral("DejaVu Sans"))), mark);
}

TEST(LineRemoval, Utf8WithAndWithoutMarkLosesEveryMatchingLineOnly) {
    const QByteArray mark("\xEF\xBB\xBF", 3);
    const QByteArray body = QStringLiteral("Serif\r\nIPA明朝\r\nserif\r\n").toUtf8();
    const auto anySerif = [](const QString& line) {
        return line.compare(QStringLiteral("SERIF"), Qt::CaseInsensitive) == 0;
    };
    int removed = -1;
    EXPECT_EQ(WithoutLines(mark + body, anySerif, &removed),
              mark + QStringLiteral("IPA明朝\r\n").toUtf8());
    EXPECT_EQ(removed, 2);
    EXPECT_EQ(WithoutLines(body, anySerif), QStringLiteral("IPA明朝\r\n").toUtf8());

    // Nothing matches: the very bytes come back, undecodable ones included.
    const QByteArray odd = mark + "Arial\r\n\xFF\xFE\x80\r\n";
    EXPECT_EQ(WithoutLines(odd, anySerif, &removed), odd);
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(WithoutLines(odd, Is(QStringLiteral("Arial"))), mark + "\xFF\xFE\x80\r\n");
}
