#include "notice/NoticeFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(NoticeFile, VersionRule) {
    struct Case {
        int progMajor, progMinor, fileMajor, fileMinor;
        bool newer;
    };
    const Case cases[] = {
        {200, 0, 300, 0, true},  // a higher major number
        {200, 0, 300, 5, true},  // a pre-release of a higher major number too
        {200, 0, 200, 5, false}, // nothing ranks above a final release of the same major
        {200, 0, 200, 0, false}, // the same version
        {200, 3, 200, 0, true},  // the final release after a pre-release
        {200, 3, 200, 4, true},  // a later pre-release
        {200, 4, 200, 4, false},
        {200, 5, 200, 4, false},
        {200, 0, 100, 0, false}, // an older major number
        {200, 3, 100, 0, false},
        {200, 0, 200, 1000, false}, // the file's defaults never announce anything to us
        {200, 0, 200, -1, false},
        {200, 3, 200, -1, false},
        {-5, 0, -4, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.progMajor, c.progMinor, c.fileMajor, c.fileMinor), c.newer)
            << c.progMajor << "." << c.progMinor << " against " << c.fileMajor << "."
            << c.fileMinor;
}

TEST(NoticeFile, VersionKeyHasABlankBeforeTheHash) {
    EXPECT_EQ(VersionKey(300, 0), QStringLiteral("300 #0"));
    EXPECT_EQ(VersionKey(200, -1), QStringLiteral("200 #-1"));
    EXPECT_NE(VersionKey(200, 0), QStringLiteral("200#0")) << "the default ignores nothing";
}

TEST(NoticeFile, AllKeysAreReadWithTheProfileRules) {
    TempFolder folder;
    const QString path = folder.file("isvc.dat");
    WriteBytes(path, "; notice\r\n"
                     "[state]\r\n"
                     "MAJORVERSION=0x12C\r\n"
                     "minorversion=7\r\n"
                     "Date=2024-05-01\r\n"
                     "Level=high\r\n"
                     "Name=<b>Glyphorama 3 & more</b>\r\n"
                     "Msg=hello\r\n"
                     "Url=http://example.invalid/\r\n"
                     "SubCaption1=one\r\n"
                     "SubCaption2=two\r\n");
    const TNoticeFile notice = ReadNoticeFile(path, QStringLiteral("http://home/"));
    EXPECT_EQ(notice.MajorVersion, 300);
    EXPECT_EQ(notice.MinorVersion, 7);
    EXPECT_EQ(notice.Date, "2024-05-01");
    EXPECT_EQ(notice.Level, "high");
    EXPECT_EQ(notice.Name, "<b>Glyphorama 3 & more</b>");
    EXPECT_EQ(notice.Msg, "hello");
    EXPECT_EQ(notice.Url, "http://example.invalid/");
    EXPECT_EQ(notice.SubCaption1, "one");
    EXPECT_EQ(notice.SubCaption2, "two");
}

TEST(NoticeFile, MissingEmptyOrBrokenFilesFallBackToTheDefaults) {
    TempFolder folder;
    const auto expectDefaults = [](const TNoticeFile& notice) {
        EXPECT_EQ(notice.MajorVersion, 200);
        EXPECT_EQ(notice.MinorVersion, 1000);
        EXPECT_EQ(notice.Date, "N/A");
        EXPECT_EQ(notice.Level, "N/A");
        EXPECT_EQ(notice.Name, "N/A");
        EXPECT_EQ(notice.Msg, "");
        EXPECT_EQ(notice.Url, "http://home/");
        EXPECT_EQ(notice.SubCaption1, "");
    };
    {
        SCOPED_TRACE("missing");
        expectDefaults(ReadNoticeFile(folder.file("absent.dat"), QStringLiteral("http://home/")));
    }
    {
        SCOPED_TRACE("empty");
        WriteBytes(folder.file("empty.dat"), "");
        expectDefaults(ReadNoticeFile(folder.file("empty.dat"), QStringLiteral("http://home/")));
    }
    {
        SCOPED_TRACE("not an ini file");
        WriteBytes(folder.file("html.dat"), "<html><body>Not Found</body></html>");
        expectDefaults(ReadNoticeFile(folder.file("html.dat"), QStringLiteral("http://home/")));
    }

    // A download cut off midway: what arrived counts, the rest takes its defaults.
    WriteBytes(folder.file("cut.dat"), "[STATE]\nmajorVersion=300\nminorVersion=x1\nNa");
    const TNoticeFile cut = ReadNoticeFile(folder.file("cut.dat"), QString());
    EXPECT_EQ(cut.MajorVersion, 300);
    EXPECT_EQ(cut.MinorVersion, 1000) << "not a number";
    EXPECT_EQ(cut.Name, "N/A");
}
