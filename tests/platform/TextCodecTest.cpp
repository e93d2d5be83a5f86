// Encoding detection by mark and by content, strict CP932 through iconv, and line splitting.
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using platform::DecodeText;
using platform::EncodeCp932;
using platform::EncodeText;
using platform::TextEncoding;
using platform::TextFormat;

namespace {

QByteArray Bytes(const char* data, qsizetype size) {
    return QByteArray(data, size);
}

const QString Nihongo = QStringLiteral("日本語");
const QByteArray NihongoSjis = Bytes("\x93\xFA\x96\x7B\x8C\xEA", 6);

} // namespace

TEST(TextCodec, MarkSelectsEncodingAndIsNotPartOfTheText) {
    const auto utf8 = DecodeText("\xEF\xBB\xBF" + Nihongo.toUtf8());
    EXPECT_EQ(utf8.Format, (TextFormat{TextEncoding::Utf8, true}));
    EXPECT_EQ(utf8.Text, Nihongo);

    const auto le = DecodeText(Bytes("\xFF\xFE"
                                     "A\0\xE5\x65",
                                     6));
    EXPECT_EQ(le.Format, (TextFormat{TextEncoding::Utf16LE, true}));
    EXPECT_EQ(le.Text, QStringLiteral("A日"));

    const auto be = DecodeText(Bytes("\xFE\xFF\0A\x65\xE5", 6));
    EXPECT_EQ(be.Format, (TextFormat{TextEncoding::Utf16BE, true}));
    EXPECT_EQ(be.Text, QStringLiteral("A日"));

    for (const auto& decoded : {utf8, le, be})
        EXPECT_FALSE(decoded.Lossy);
}

TEST(TextCodec, WithoutMarkValidUtf8IsUtf8AndAnythingElseIsCp932) {
    const auto utf8 = DecodeText(Nihongo.toUtf8());
    EXPECT_EQ(utf8.Format, (TextFormat{TextEncoding::Utf8, false}));
    EXPECT_EQ(utf8.Text, Nihongo);

    const auto sjis = DecodeText(NihongoSjis);
    EXPECT_EQ(sjis.Format, (TextFormat{TextEncoding::Cp932, false}));
    EXPECT_EQ(sjis.Text, Nihongo);
    EXPECT_FALSE(sjis.Lossy);

    EXPECT_EQ(DecodeText(QByteArray()).Format, (TextFormat{TextEncoding::Utf8, false}));
    // Overlong forms, encoded surrogates and code points past U+10FFFF are no UTF-8.
    for (const QByteArray& bytes : {Bytes("\xC0\xAF", 2), Bytes("\xED\xA0\x80", 3),
                                    Bytes("\xF4\x90\x80\x80", 4), Bytes("\xE6\x97", 2)})
        EXPECT_EQ(DecodeText(bytes).Format.Encoding, TextEncoding::Cp932) << bytes.toHex().data();
}

TEST(TextCodec, UndecodableBytesAreMarkedNotInvented) {
    // 0x80 is no CP932 byte; a lead byte at the very end lacks its trail byte.
    const auto middle = DecodeText(Bytes("A\x80"
                                         "B",
                                         3));
    EXPECT_EQ(middle.Text, QStringLiteral("A\uFFFDB"));
    EXPECT_TRUE(middle.Lossy);

    const auto cut = DecodeText(NihongoSjis + "\x81");
    EXPECT_EQ(cut.Text, Nihongo + QChar(0xFFFD));
    EXPECT_TRUE(cut.Lossy);

    EXPECT_TRUE(DecodeText(Bytes("\xFF\xFE"
                                 "A\0B",
                                 5))
                    .Lossy); // half a UTF-16 unit
    EXPECT_TRUE(DecodeText(Bytes("\xEF\xBB\xBF\xFF", 4)).Lossy);
}

TEST(TextCodec, Cp932RefusesWhatItCannotHoldExactly) {
    EXPECT_EQ(*EncodeCp932(QStringLiteral("ｱｲ ABC")), Bytes("\xB1\xB2 ABC", 6));
    EXPECT_FALSE(EncodeCp932(QStringLiteral("\U0001F600")).has_value());
    EXPECT_FALSE(EncodeCp932(QStringLiteral("한국어")).has_value());
    // iconv maps these to look-alikes without an error; the name would change.
    EXPECT_FALSE(EncodeCp932(QStringLiteral("\u00A5")).has_value());
    EXPECT_FALSE(EncodeCp932(QStringLiteral("\u2212")).has_value());

    const QString loneSurrogate(QChar(0xD800));
    EXPECT_FALSE(EncodeCp932(loneSurrogate).has_value());
    EXPECT_FALSE(EncodeText(loneSurrogate, {TextEncoding::Utf8, false}).has_value());

    EXPECT_FALSE(platform::DecodeCp932(Bytes("A\x80", 2)).has_value());
    EXPECT_FALSE(platform::DecodeCp932(Bytes("\x81", 1)).has_value());
    EXPECT_EQ(*platform::DecodeCp932(NihongoSjis), Nihongo);
}

// A surrogate without its partner has no UTF-8 or CP932 form, wherever it stands and whichever
// half it is; written as U+FFFD it would change the name for good.
TEST(TextCodec, EveryLoneSurrogateIsRefused) {
    const QChar high(0xD800), low(0xDC00);
    for (const QString& text : {QString(low), QStringLiteral("a") + low, low + QStringLiteral("a"),
                                high + QStringLiteral("a"), QString(low) + high}) {
        SCOPED_TRACE(QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)
                         .toHex()
                         .toStdString());
        EXPECT_FALSE(EncodeText(text, {TextEncoding::Utf8, true}).has_value());
        EXPECT_FALSE(EncodeCp932(text).has_value());
    }
    EXPECT_EQ(*EncodeText(QStringLiteral("\U0001F600"), {TextEncoding::Utf8, false}),
              Bytes("\xF0\x9F\x98\x80", 4));
}

TEST(TextCodec, SplitLinesMakesNoEmptyLastLine) {
    QString firstBreak;
    EXPECT_EQ(platform::SplitLines(QStringLiteral("a\r\n\nb\r"), &firstBreak),
              (QStringList{"a", "", "b"}));
    EXPECT_EQ(firstBreak, QStringLiteral("\r\n"));
    EXPECT_EQ(platform::SplitLines(QStringLiteral("\n")), QStringList{""});
    EXPECT_EQ(platform::SplitLines(QString(), &firstBreak), QStringList());
    EXPECT_TRUE(firstBreak.isEmpty());
}

TEST(TextCodec, OneStrayByteLeavesAUtf8FileUtf8) {
    // A Latin-1 hand edit among Japanese names in UTF-8: the names stay what they are.
    const QByteArray bytes = "[tags]\n0=" + QStringLiteral("見本帳").toUtf8() +
                             "\n1=Caf\xE9\n2=" + QStringLiteral("お気に入り").toUtf8() + "\n";
    const auto decoded = DecodeText(bytes);
    EXPECT_EQ(decoded.Format, (TextFormat{TextEncoding::Utf8, false}));
    EXPECT_TRUE(decoded.Text.contains(QStringLiteral("0=見本帳\n")));
    EXPECT_TRUE(decoded.Text.contains(QStringLiteral("2=お気に入り\n")));
    EXPECT_TRUE(decoded.Lossy);

    // A CP932 file keeps being CP932 whatever one UTF-8 line says.
    const auto sjis = DecodeText(NihongoSjis + "\n" + NihongoSjis + "\n" + Nihongo.toUtf8());
    EXPECT_EQ(sjis.Format.Encoding, TextEncoding::Cp932);
    EXPECT_EQ(sjis.Text, Nihongo + "\n" + Nihongo + "\n" + Nihongo);
    EXPECT_FALSE(sjis.Lossy);
}

TEST(TextCodec, Utf16WithoutMarkIsToldByItsNulBytes) {
    const QString text = QStringLiteral("[tags]\r\n0=見本帳\r\n");
    for (const TextEncoding encoding : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const auto decoded = DecodeText(*EncodeText(text, {encoding, false}));
        EXPECT_EQ(decoded.Format, (TextFormat{encoding, false}));
        EXPECT_EQ(decoded.Text, text);
    }
    // Text of one-byte characters has no NUL; a stray one does not make it UTF-16.
    EXPECT_EQ(DecodeText(Bytes("[a]\nb=\0\n", 8)).Format.Encoding, TextEncoding::Utf8);
}
