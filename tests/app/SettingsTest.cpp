// The settings-file helpers of the application core: defaults, lists with their "total",
// integers, errors that reach the caller, and where the file lives.
#include "app/AppCore.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class Settings : public testing::Test {
protected:
    Settings() : core(temp.file(QStringLiteral("exe")), temp.path()) {
        QDir().mkpath(core.DataDir);
    }
    QString iniPath() const { return core.DataDir + QStringLiteral("/Glyphorama.ini"); }
    void write(const QString& text) const { WriteBytes(iniPath(), text.toUtf8()); }
    QString content() const { return QString::fromUtf8(ReadBytes(iniPath())); }
    QStringList readList(const QString& section = QStringLiteral("tags")) const {
        QStringList list;
        core.IniReadList(SettingsFileName, section, list);
        return list;
    }

    testing_support::TempFolder temp;
    TAppCore core;
};

} // namespace

TEST_F(Settings, MissingFileGivesTheDefaults) {
    EXPECT_EQ(core.IniReadInteger(SettingsFileName, "settings", "form_width", 500), 500);
    EXPECT_EQ(core.IniReadInteger(SettingsFileName, "NetWork", "VersionCheck", 1), 1);
    EXPECT_EQ(core.IniReadString(SettingsFileName, "NetWork", "IgnoreThis", "200#0"),
              QStringLiteral("200#0"));
    EXPECT_TRUE(readList().isEmpty());
    EXPECT_FALSE(QFile::exists(iniPath())); // reading creates nothing
}

TEST_F(Settings, ListTotalDecidesHowManyEntriesAreRead) {
    write("[tags]\n0=orphan\n");
    EXPECT_TRUE(readList().isEmpty());
    write("[tags]\ntotal=0\n0=orphan\n");
    EXPECT_TRUE(readList().isEmpty());
    write("[tags]\ntotal=-2\n0=orphan\n");
    EXPECT_TRUE(readList().isEmpty());
    write("[tags]\ntotal=3\n0=明朝\n2=ゴシック\n");
    EXPECT_EQ(readList(), (QStringList{"明朝", "", "ゴシック"}));

    QStringList appended{QStringLiteral("already")};
    core.IniReadList(SettingsFileName, "tags", appended);
    EXPECT_EQ(appended, (QStringList{"already", "明朝", "", "ゴシック"}));

    // A damaged file's wild total must not hang the start, nor make up empty entries past
    // the last key; keys beyond the cap are damage too.
    write("[tags]\ntotal=2000000000\n0=a\n2=c\n");
    EXPECT_EQ(readList(), (QStringList{"a", "", "c"}));
    write("[tags]\ntotal=2147483647\n0=a\n100000=x\n");
    EXPECT_EQ(readList(), QStringList{"a"});
}

TEST_F(Settings, ADamagedListStillYieldsEveryNumberedEntryInOrder) {
    write("[tags]\ntotal=two\n2=c\nnote=x\n0=a\n01=not a number of ours\n2=later c\n"
          "-1=neg\n7=g\n[other]\n1=elsewhere\n");
    QStringList salvaged{QStringLiteral("already")};
    core.IniSalvageList(SettingsFileName, "tags", salvaged);
    EXPECT_EQ(salvaged, (QStringList{"already", "a", "c", "g"}));
    EXPECT_THROW(readList(), platform::EConvertError) << "reading it is still an error";
}

TEST_F(Settings, ShorterListLeavesOldKeysThatAreNeverReadBack) {
    const QStringList seven{"a", "b", "c", "d", "e", "f", "g"};
    core.IniWriteList(SettingsFileName, "tags", seven, 7);
    core.IniWriteList(SettingsFileName, "tags", {"1", "2", "3", "4", "5"}, 5);
    EXPECT_EQ(readList(), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(core.IniReadString(SettingsFileName, "tags", "total", {}), QStringLiteral("5"));
    EXPECT_EQ(core.IniReadString(SettingsFileName, "tags", "5", {}), QStringLiteral("f"));
    EXPECT_EQ(core.IniReadString(SettingsFileName, "tags", "6", {}), QStringLiteral("g"));

    core.IniWriteList(SettingsFileName, "tags", seven, 2); // only the first count entries
    EXPECT_EQ(readList(), (QStringList{"a", "b"}));
}

TEST_F(Settings, TagNamesSurviveExactly) {
    const QStringList names{QStringLiteral(" 前後に空白 "), QStringLiteral("\"引用\""),
                            QStringLiteral("a=b"), QStringLiteral("Ｆｕｌｌ　Ｗｉｄｔｈ")};
    core.IniWriteList(SettingsFileName, "tags", names, static_cast<int>(names.size()));
    EXPECT_EQ(readList(), names);
}

TEST_F(Settings, IntegersReadDecimalOrHexElseTheDefault) {
    write("[settings]\nform_width=0x1F4\nform_height=abc\nform_top=-30\n");
    EXPECT_EQ(core.IniReadInteger(SettingsFileName, "settings", "form_width", 1), 500);
    EXPECT_EQ(core.IniReadInteger(SettingsFileName, "settings", "form_height", 500), 500);
    EXPECT_EQ(core.IniReadInteger(SettingsFileName, "settings", "form_top", 0), -30);
    core.IniWriteInteger(SettingsFileName, "settings", "form_left", -8);
    EXPECT_TRUE(content().endsWith(QStringLiteral("form_left=-8\n")));
}

TEST_F(Settings, TotalThatIsNoIntegerRaisesTheConversionError) {
    for (const QString& total : {QStringLiteral("abc"), QString(), QStringLiteral("3x")}) {
        write("[tags]\ntotal=" + total + "\n0=a\n");
        try {
            readList();
            FAIL() << "no error for total " << total.toStdString();
        } catch (const platform::EConvertError& error) {
            EXPECT_EQ(error.Message(), "''" + total + "'' は整数ではありません");
        }
    }
}

TEST_F(Settings, UnwritableFileRaisesTheIniError) {
    QDir(core.DataDir).removeRecursively();
    const QString expected = iniPath() + QStringLiteral(" に書き込めません");
    try {
        core.IniWriteInteger(SettingsFileName, "settings", "form_width", 500);
        FAIL() << "wrote into a missing folder";
    } catch (const platform::EIniFileException& error) {
        EXPECT_EQ(error.Message(), expected);
    }
    try {
        core.IniWriteList(SettingsFileName, "tags", {"a"}, 1);
        FAIL() << "wrote a list into a missing folder";
    } catch (const platform::EIniFileException& error) {
        EXPECT_EQ(error.Message(), expected);
    }
}

TEST_F(Settings, FirstRunFileHasTheKeysInTheOrderOfTheCloseHandler) {
    const QString name = SettingsFileName;
    core.IniWriteInteger(name, "settings", "current_font_type", 2);
    core.IniWriteInteger(name, "settings", "sample_view_mode", 0);
    core.IniWriteList(name, "tags", {QStringLiteral("仕事")}, 1);
    core.IniWriteInteger(name, "settings", "form_top", 10);
    core.IniWriteInteger(name, "settings", "form_left", 20);
    core.IniWriteInteger(name, "settings", "form_width", 500);
    core.IniWriteInteger(name, "settings", "form_height", 500);
    EXPECT_EQ(content(), QStringLiteral("[settings]\ncurrent_font_type=2\nsample_view_mode=0\n"
                                        "form_top=10\nform_left=20\nform_width=500\n"
                                        "form_height=500\n[tags]\ntotal=1\n0=仕事\n"));
}

TEST_F(Settings, NameWithAColonIsUsedUnchanged) {
    EXPECT_EQ(core.IniPath(SettingsFileName), iniPath());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(temp.path());
    core.IniWriteInteger(QStringLiteral("C:other.ini"), "settings", "form_width", 640);
    const bool inCurrentFolder = QFile::exists(temp.file(QStringLiteral("C:other.ini")));
    const int readBack =
        core.IniReadInteger(QStringLiteral("C:other.ini"), "settings", "form_width", 0);
    QDir::setCurrent(previous);
    EXPECT_TRUE(inCurrentFolder);
    EXPECT_EQ(readBack, 640);
    EXPECT_FALSE(QFile::exists(core.DataDir + QStringLiteral("/C:other.ini")));
}

// A FIFO in place of the settings file would block the start before the window appears.
// It reads as no file, the user hears of it once, and the close cannot write over it.
TEST_F(Settings, SettingsFileThatIsNotReadIsReportedOnceAndNeverWrittenOver) {
    QStringList shown;
    platform::Application::instance()->OnException = [&](const QString& m) { shown.append(m); };
    testing_support::MakeFifo(iniPath());
    EXPECT_EQ(core.IniReadInteger(SettingsFileName, "settings", "form_width", 500), 500);
    EXPECT_EQ(core.IniReadString(SettingsFileName, "NetWork", "IgnoreThis", "200#0"), "200#0");
    EXPECT_TRUE(readList().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList{iniPath() + " は通常のファイルではないため、読み込みません"});

    EXPECT_THROW(core.IniWriteInteger(SettingsFileName, "settings", "form_width", 640),
                 platform::EIniFileException);
    EXPECT_THROW(core.IniWriteList(SettingsFileName, "tags", {"見本帳"}, 1),
                 platform::EIniFileException);
    EXPECT_TRUE(QFileInfo(iniPath()).exists() && !QFileInfo(iniPath()).isFile());
    platform::Application::instance()->OnException = nullptr;
}
