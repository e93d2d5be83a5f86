// The settings file reader and writer: profile-file matching rules, values that survive a
// round trip, where new keys and sections go, encodings read, and atomic writes that fail
// loudly.
#include "platform/IniFile.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// A whole list goes in one write: known keys change in place whatever their case, new ones go
// together below the section's last key, and a key given twice keeps its last value.
TEST_F(IniFileTest, AListWrittenAtOnceLandsAsKeyByKeyWritesWould) {
    write("[tags]\r\nTOTAL=1\r\n0=old\r\n; end of tags\r\n[NetWork]\r\nVersionCheck=0\r\n");
    IniFile ini(path());
    ini.WriteStrings("tags", {{"total", "3"}, {"0", "a"}, {"1", "b"}, {"2", "x"}, {"2", "c"}});
    ini.WriteStrings("fresh", {{"k", "v"}, {"K", "w"}});
    EXPECT_EQ(content(),
              QStringLiteral("[tags]\r\nTOTAL=3\r\n0=a\r\n1=b\r\n2=c\r\n; end of tags\r\n"
                             "[NetWork]\r\nVersionCheck=0\r\n[fresh]\r\nk=w\r\n"));
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

TEST_F(IniFileTest, LegacyEncodingsAreReadAndKeptOnRewrite) {
    const QString text = QStringLiteral("[tags]\r\ntotal=1\r\n0=お気に入りの明朝\r\n");
    const QString changed =
        QStringLiteral("[tags]\r\ntotal=2\r\n0=お気に入りの明朝\r\n1=見本帳\r\n");
    using platform::TextEncoding;
    for (const platform::TextFormat format : {platform::TextFormat{TextEncoding::Cp932, false},
                                              {TextEncoding::Utf16LE, true},
                                              {TextEncoding::Utf16BE, true},
                                              {TextEncoding::Utf16LE, false},
                                              {TextEncoding::Utf16BE, false}}) {
        SCOPED_TRACE(int(format.Encoding) * 2 + format.ByteOrderMark);
        const QByteArray bytes = *platform::EncodeText(text, format);
        WriteBytes(path(), bytes);
        IniFile ini(path());
        EXPECT_EQ(ini.ReadString("tags", "0", {}), QStringLiteral("お気に入りの明朝"));
        ini.WriteInteger("tags", "total", 1);
        EXPECT_EQ(ReadBytes(path()), bytes);
        ini.WriteInteger("tags", "total", 2);
        ini.WriteString("tags", "1", QStringLiteral("見本帳"));
        EXPECT_EQ(ReadBytes(path()), *platform::EncodeText(changed, format));
    }
    // A name the code page cannot hold moves the file to UTF-8; every line keeps its text.
    WriteBytes(path(), *platform::EncodeCp932(text));
    IniFile(path()).WriteString("tags", "1", QStringLiteral("나눔고딕"));
    EXPECT_EQ(content(),
              QStringLiteral("[tags]\r\ntotal=1\r\n0=お気に入りの明朝\r\n1=나눔고딕\r\n"));
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

// One stray byte, a Latin-1 hand edit or CP932's twin codes in a file: the lines the program
// does not change keep their bytes, and the names in it are read as the user wrote them.
TEST_F(IniFileTest, LinesNotChangedKeepTheirBytes) {
    const QByteArray original = "; \xE9"
                                "dit\xE9 \xE0 la main\n"
                                "[settings]\n"
                                "form_width = 640\n"
                                "[tags]\n"
                                "total=3\n"
                                "0=\xE8\xA6\x8B\xE6\x9C\xAC\xE5\xB8\xB3\n" // 見本帳
                                "1=Caf\xE9\n"
                                "2=\x87\x9A\n"; // a CP932 code with a twin
    WriteBytes(path(), original);
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("tags", "0", {}), QStringLiteral("見本帳"));
    EXPECT_EQ(ini.ReadString("tags", "2", {}), QStringLiteral("∵"));
    EXPECT_EQ(ini.ReadInteger("settings", "form_width", 0), 640);

    // What the close handler does: the same list and width again, a new height.
    ini.WriteStrings("tags", {{"total", "3"},
                              {"0", ini.ReadString("tags", "0", {})},
                              {"1", ini.ReadString("tags", "1", {})},
                              {"2", ini.ReadString("tags", "2", {})}});
    ini.WriteInteger("settings", "form_width", 640);
    EXPECT_EQ(ReadBytes(path()), original);
    ini.WriteInteger("settings", "form_height", 480);
    EXPECT_EQ(ReadBytes(path()), QByteArray(original).replace("640\n", "640\nform_height=480\n"));

    // A name that came from bytes no encoding explains is never written elsewhere.
    const QByteArray before = ReadBytes(path());
    EXPECT_THROW(ini.WriteStrings("tags", {{"total", "2"}, {"0", ini.ReadString("tags", "1", {})}}),
                 EIniFileException);
    EXPECT_EQ(ReadBytes(path()), before);
    EXPECT_EQ(ini.ReadString("tags", "0", {}), QStringLiteral("見本帳"));
}

TEST_F(IniFileTest, Utf16WithoutMarkIsReadAndWrittenBackWithItsLineEnds) {
    const QString text = QStringLiteral("[tags]\ntotal=1\n0=見本帳\n");
    const QByteArray bytes = *platform::EncodeText(text, {platform::TextEncoding::Utf16LE, false});
    WriteBytes(path(), bytes);
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("tags", "0", {}), QStringLiteral("見本帳"));
    ini.WriteString("tags", "1", QStringLiteral("お気に入り"));
    EXPECT_EQ(ReadBytes(path()), *platform::EncodeText(text + QStringLiteral("1=お気に入り\n"),
                                                       {platform::TextEncoding::Utf16LE, false}));
}

// A FIFO would block the read for ever, /dev/zero would fill the memory, and a huge file is
// no settings file of ours: none is read, and none is ever written over.
TEST_F(IniFileTest, FilesThatAreNotReadAreNeverWrittenOver) {
    testing_support::MakeFifo(path());
    const QString zero = temp.file(QStringLiteral("zero.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString huge = temp.file(QStringLiteral("huge.ini"));
    const QByteArray hugeBytes = "[settings]\nform_width=640\n" + QByteArray(1024 * 1024, ';');
    WriteBytes(huge, hugeBytes);

    for (const QString& target : {path(), zero, huge}) {
        IniFile ini(target);
        ASSERT_TRUE(ini.Refusal().has_value()) << target.toStdString();
        EXPECT_EQ(ini.ReadInteger("settings", "form_width", 500), 500);
        try {
            ini.WriteInteger("settings", "form_width", 500);
            FAIL() << "wrote " << target.toStdString();
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.Message(), target + QStringLiteral(" に書き込めません"));
        }
    }
    EXPECT_TRUE(QFileInfo(path()).exists() && !QFileInfo(path()).isFile()); // still the FIFO
    EXPECT_TRUE(QFileInfo(zero).isSymLink());
    EXPECT_EQ(ReadBytes(huge), hugeBytes);
}

TEST_F(IniFileTest, AFullDiskRaisesTheWriteErrorAndKeepsTheFile) {
    const QByteArray original = "[settings]\nform_width=640\n[tags]\ntotal=1\n0=見本帳\n";
    WriteBytes(path(), original);
    IniFile ini(path());
    {
        const testing_support::FileSizeLimit full(8);
        try {
            ini.WriteInteger("settings", "form_width", 500);
            FAIL() << "the write reported success";
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.Message(), path() + QStringLiteral(" に書き込めません"));
        }
    }
    EXPECT_EQ(ReadBytes(path()), original);
    EXPECT_EQ(ini.ReadInteger("settings", "form_width", 0), 640);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"Glyphorama.ini"});
}
