// The settings file reader and writer: profile-file matching rules, values that survive a
// round trip, where new keys and sections go, encodings read, and atomic writes that fail
// loudly.
#include "platform/IniFile.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using platform::EIniFileException;
using platform::IniFile;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class IniFileTest : public testing::Test {
protected:
    QString path() const { return temp.file(QStringLiteral("Glyphorama.ini")); }
    void write(const QString& text) const { WriteBytes(path(), text.toUtf8()); }
    QString content() const { return QString::fromUtf8(ReadBytes(path())); }

    testing_support::TempFolder temp;
};

} // namespace

TEST_F(IniFileTest, HandWrittenFileWithOddCaseAndBlanks) {
    write("; written by hand\r\n"
          "  [ Settings ]  \r\n"
          "  Form_Width  =   640  \r\n"
          "FORM_HEIGHT=0x1F4\r\n"
          "empty=\r\n"
          "not a key\r\n"
          "[NetWork]\r\n"
          "ignorethis = 201 #0\r\n");
    const IniFile ini(path());
    EXPECT_TRUE(ini.SectionExists("settings"));
    EXPECT_TRUE(ini.ValueExists("SETTINGS", "form_width"));
    EXPECT_FALSE(ini.ValueExists("settings", "not a key"));
    EXPECT_EQ(ini.ReadInteger("settings", "form_width", 0), 640);
    EXPECT_EQ(ini.ReadInteger("settings", "form_height", 0), 500);
    EXPECT_EQ(ini.ReadString("settings", "empty", "def"), QString());
    EXPECT_EQ(ini.ReadString("network", "IgnoreThis", "200#0"), QStringLiteral("201 #0"));
    EXPECT_EQ(ini.ReadString("network", "form_width", "def"), QStringLiteral("def"));
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexAfter0xAndOtherwiseTheDefault) {
    write("[n]\na=0x1F4\nb=0X10\nc=-12\nd=abc\ne=\nf=0x\ng=0xZZ\nh=12abc\ni= 7 \nj=99999999999\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("n", "a", -1), 500);
    EXPECT_EQ(ini.ReadInteger("n", "b", -1), 16);
    EXPECT_EQ(ini.ReadInteger("n", "c", -1), -12);
    EXPECT_EQ(ini.ReadInteger("n", "i", -1), 7);
    for (const char* key : {"d", "e", "f", "g", "h", "j", "missing"})
        EXPECT_EQ(ini.ReadInteger("n", key, -1), -1) << key;
}

TEST_F(IniFileTest, EveryStringReadsBackAsWritten) {
    const QStringList values{QStringLiteral("  タグ  "),
                             QStringLiteral("lead"),
                             QStringLiteral(" lead"),
                             QStringLiteral("trail\t"),
                             QStringLiteral("\"quoted\""),
                             QStringLiteral("\""),
                             QStringLiteral("\"half"),
                             QString(),
                             QStringLiteral("a = b ; c"),
                             QStringLiteral("[not a section]"),
                             QStringLiteral("\u3000全角\u3000"),
                             QStringLiteral("絵文字\U0001F600")};
    {
        IniFile ini(path());
        for (int i = 0; i < values.size(); ++i)
            ini.WriteString("tags", QString::number(i), values[i]);
    }
    const IniFile reread(path());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.ReadString("tags", QString::number(i), "def"), values[i]) << i;
    EXPECT_TRUE(content().contains(QStringLiteral("0=\"  タグ  \"\n")));
    EXPECT_TRUE(content().contains(QStringLiteral("1=lead\n")));
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineAndPlaceNewKeysAtTheEndOfTheirSection) {
    write("; comment before any section\r\n"
          "stray=1\r\n"
          "[Settings]\r\n"
          "Form_Width=1\r\n"
          "; about height\r\n"
          "form_height=2\r\n"
          "\r\n"
          "[other]\r\n"
          "x = y\r\n");
    IniFile ini(path());
    ini.WriteInteger("settings", "FORM_WIDTH", 640);
    ini.WriteInteger("settings", "form_top", -20);
    ini.WriteString("other", "z", "日本語");
    ini.WriteString("tags", "total", "0");
    EXPECT_EQ(content(), QStringLiteral("; comment before any section\r\n"
                                        "stray=1\r\n"
                                        "[Settings]\r\n"
                                        "Form_Width=640\r\n"
                                        "; about height\r\n"
                                        "form_height=2\r\n"
                                        "form_top=-20\r\n"
                                        "\r\n"
                                        "[other]\r\n"
                                        "x = y\r\n"
                                        "z=日本語\r\n"
                                        "[tags]\r\n"
                                        "total=0\r\n"));
    // Keys before the first section belong to none.
    EXPECT_EQ(IniFile(path()).ReadString("", "stray", "none"), QStringLiteral("none"));
}

TEST_F(IniFileTest, Utf8MarkIsKept) {
    WriteBytes(path(), "\xEF\xBB\xBF[a]\r\nb=1\r\n");
    IniFile ini(path());
    ini.WriteString("a", "b", "2");
    EXPECT_EQ(ReadBytes(path()), QByteArray("\xEF\xBB\xBF[a]\r\nb=2\r\n"));
}

TEST_F(IniFileTest, FirstOfTwinSectionsAndKeysWins) {
    write("[tags]\ntotal=1\ntotal=9\n[TAGS]\ntotal=5\n0=late\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("tags", "total", -1), 1);
    EXPECT_EQ(ini.ReadString("tags", "0", "none"), QStringLiteral("none"));
    ini.WriteInteger("tags", "total", 2);
    ini.WriteString("tags", "0", "new");
    EXPECT_EQ(content(),
              QStringLiteral("[tags]\ntotal=2\ntotal=9\n0=new\n[TAGS]\ntotal=5\n0=late\n"));
}

TEST_F(IniFileTest, LegacyEncodingsAreReadAndRewrittenAsUtf8) {
    const QString text = QStringLiteral("[tags]\r\ntotal=1\r\n0=お気に入りの明朝\r\n");
    const QByteArray sjis = *platform::EncodeCp932(text);
    const QByteArray utf16le = *platform::EncodeText(text, {platform::TextEncoding::Utf16LE, true});
    const QByteArray utf16be = *platform::EncodeText(text, {platform::TextEncoding::Utf16BE, true});
    for (const QByteArray& bytes : {sjis, utf16le, utf16be}) {
        WriteBytes(path(), bytes);
        IniFile ini(path());
        EXPECT_EQ(ini.ReadString("tags", "0", {}), QStringLiteral("お気に入りの明朝"));
        ini.WriteInteger("tags", "total", 1);
        EXPECT_EQ(ReadBytes(path()), text.toUtf8());
    }
}

TEST_F(IniFileTest, LongValuesAreCutTo2047UnitsWithoutSplittingACharacter) {
    const QString exact(2047, u'x');
    const QString surrogateAtCut = QString(2046, u'x') + QStringLiteral("\U0001F600");
    IniFile ini(path());
    ini.WriteString("s", "long", exact + QStringLiteral("yz"));
    ini.WriteString("s", "pair", surrogateAtCut);
    EXPECT_EQ(ini.ReadString("s", "long", {}), exact);
    EXPECT_EQ(ini.ReadString("s", "pair", {}), QString(2046, u'x'));
    EXPECT_TRUE(content().contains(exact + QStringLiteral("yz")));
}

TEST_F(IniFileTest, FailedWriteRaisesWithThePathAndChangesNothing) {
    const QString inMissingFolder = temp.file(QStringLiteral("missing/Glyphorama.ini"));
    WriteBytes(temp.file("file"), "x");
    const QString underRegularFile = temp.file(QStringLiteral("file/Glyphorama.ini"));
    for (const QString& target : {inMissingFolder, underRegularFile}) {
        IniFile ini(target);
        try {
            ini.WriteInteger("settings", "form_width", 500);
            FAIL() << "wrote " << target.toStdString();
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.Message(), target + QStringLiteral(" に書き込めません"));
        }
        EXPECT_FALSE(ini.ValueExists("settings", "form_width"));
    }

    // A line break would add lines of its own making to the file.
    write("[a]\nb=1\n");
    IniFile ini(path());
    EXPECT_THROW(ini.WriteString("a", "b", "x\n[settings]\nform_width=1"), EIniFileException);
    EXPECT_EQ(content(), QStringLiteral("[a]\nb=1\n"));
    EXPECT_EQ(ini.ReadString("a", "b", {}), QStringLiteral("1"));
}
