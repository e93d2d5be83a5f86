// The announcement on the main window, and the window's side of the check: starting it,
// refusing to close while it runs.
#include "TestHttpServer.h"

#include "notice/GetInternetData.h"
#include "platform/Application.h"
#include "platform/BalloonHint.h"
#include "platform/HttpClient.h"
#include "tests/support/TestSupport.h"
#include "ui/Glyphorama.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using notice_test::TestHttpServer;
using testing_support::WaitUntil;
using testing_support::WriteBytes;

namespace {

const QString Announcement =
    QStringLiteral("新しいバージョンが公開されています。\r\n公式ページをご確認下さい。\r\n");
const QString CloseRefusal =
    QStringLiteral("最新バージョンの問い合わせ中です。\r\n"
                   "正常にネットワークが閉じられるまでしばらくお待ちください。");

class NoticeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(dataDir()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(dataDir()));
        savedFontSource_ = TFontPool::FontSource;
        TFontPool::FontSource = [] { return std::vector<platform::FontFamilyRecord>{}; };
        VersionCheckRunning = false;
        qApp->setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        if (window)
            WaitUntil([] { return !VersionCheckRunning; }, 30000);
        window.reset();
        TFontPool::FontSource = savedFontSource_;
        VersionCheckRunning = false;
    }

    static QString dataDir() { return QDir::homePath() + QStringLiteral("/Documents/Glyphorama"); }
    static void writeSettings(const QByteArray& text) {
        WriteBytes(dataDir() + QStringLiteral("/Glyphorama.ini"), text);
    }
    static void writeNotice(const QByteArray& text) {
        WriteBytes(dataDir() + QStringLiteral("/isvc.dat"), text);
    }

    TGlyphorama& openWindow() {
        window = std::make_unique<TGlyphorama>();
        window->show();
        return *window;
    }

    // Runs the termination handler as the download thread would, with the given outcome.
    void terminate(bool getFinished) {
        TGetInternetData download(window.get(), window->IdHTTP, QString(), QString());
        download.GetFinished = getFinished;
        VersionCheckRunning = true;
        window->GetInternetDataTerminate(&download);
    }

    bool balloonShown() const { return window->NoticeHint->isVisible(); }

    // Answers the close refusal's message box once it is shown and keeps its caption and text.
    void answerNextMessageBox() {
        QTimer::singleShot(0, [this] { answerWhenShown(1000); });
    }
    void answerWhenShown(int triesLeft) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (triesLeft > 0)
                QTimer::singleShot(5, [this, triesLeft] { answerWhenShown(triesLeft - 1); });
            return;
        }
        messageBoxes.append(box->windowTitle() + u'|' + box->text());
        box->accept();
    }

    std::unique_ptr<TGlyphorama> window;
    QStringList messageBoxes;

private:
    std::function<std::vector<platform::FontFamilyRecord>()> savedFontSource_;
};

} // namespace

TEST_F(NoticeWindowTest, ANewerVersionIsAnnouncedOverTheMiddleOfTheWindow) {
    writeSettings("[NetWork]\nVersionCheck=0\n");
    writeNotice("[state]\nmajorVersion=300\nminorVersion=0\nName=<b>Glyphorama & 3</b>\n");
    TGlyphorama& w = openWindow();
    w.move(40, 30);
    w.resize(w.width() | 1, w.height() | 1); // odd sizes: the centre rounds down
    const QSize client = w.size();
    terminate(true);

    EXPECT_FALSE(VersionCheckRunning);
    ASSERT_TRUE(balloonShown());
    platform::BalloonHint& hint = *w.NoticeHint;
    EXPECT_EQ(hint.Title, QStringLiteral("<b>Glyphorama & 3</b>"));
    EXPECT_EQ(hint.findChild<QLabel*>(QStringLiteral("Title"))->textFormat(), Qt::PlainText);
    EXPECT_EQ(hint.Description, Announcement);
    EXPECT_EQ(hint.ImageIndex, 8);
    EXPECT_EQ(hint.Images, w.ImageList24);
    EXPECT_EQ(hint.HideAfter, 10000);
    EXPECT_EQ(hint.PointerTip(),
              w.mapToGlobal(QPoint((client.width() - 1) / 2, (client.height() - 1) / 2 - 30)));
}

TEST_F(NoticeWindowTest, OnlyANewerVersionThatIsNotIgnoredIsAnnounced) {
    struct Case {
        const char* name;
        QByteArray notice;
        QByteArray settings;
        bool shown;
    };
    const QByteArray checkOff = "[NetWork]\nVersionCheck=0\n";
    const Case cases[] = {
        {"newer major", "[STATE]\nmajorVersion=300\nminorVersion=0\n", checkOff, true},
        {"pre-release of our major", "[STATE]\nmajorVersion=200\nminorVersion=5\n", checkOff,
         false},
        {"older", "[STATE]\nmajorVersion=100\nminorVersion=0\n", checkOff, false},
        {"hex major", "[STATE]\nmajorVersion=0x12C\nminorVersion=0\n", checkOff, true},
        {"not a number", "[STATE]\nmajorVersion=3OO\nminorVersion=0\n", checkOff, false},
        {"empty file", "", checkOff, false},
        {"ignored with the blank", "[STATE]\nmajorVersion=300\nminorVersion=0\n",
         checkOff + "IgnoreThis=300 #0\n", false},
        {"ignore entry without the blank", "[STATE]\nmajorVersion=300\nminorVersion=0\n",
         checkOff + "IgnoreThis=300#0\n", true},
        {"ignoring another version", "[STATE]\nmajorVersion=300\nminorVersion=0\n",
         "[network]\nversioncheck=0\nignorethis=300 #1\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(c.settings);
        writeNotice(c.notice);
        openWindow();
        ASSERT_FALSE(VersionCheckRunning);
        terminate(true);
        EXPECT_EQ(balloonShown(), c.shown);
        EXPECT_FALSE(VersionCheckRunning);
        if (c.shown) {
            EXPECT_EQ(window->NoticeHint->Title, QStringLiteral("N/A")) << "no Name in the file";
        }
        window.reset();
    }
}

TEST_F(NoticeWindowTest, NothingIsReadAfterAFailedHeadAndClosingIsAllowedOnEveryPath) {
    writeSettings("[NetWork]\nVersionCheck=0\n");
    writeNotice("[STATE]\nmajorVersion=300\nminorVersion=0\n");
    openWindow();
    terminate(false);
    EXPECT_FALSE(balloonShown()) << "the file of an earlier run is not announced again";
    EXPECT_FALSE(VersionCheckRunning);

    // A notice that cannot be read at all (a folder in its place).
    QFile::remove(dataDir() + QStringLiteral("/isvc.dat"));
    ASSERT_TRUE(QDir().mkdir(dataDir() + QStringLiteral("/isvc.dat")));
    terminate(true);
    EXPECT_FALSE(balloonShown());
    EXPECT_FALSE(VersionCheckRunning);
}

TEST_F(NoticeWindowTest, TheWindowStaysWhileTheServerIsAskedAndAnnouncesWhenItAnswers) {
    std::atomic<bool> answer{false};
    TestHttpServer server([&](const httplib::Request& request, httplib::Response& response) {
        while (!answer)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (request.path == "/istore/version.dat")
            response.set_content("[STATE]\nmajorVersion=300\nminorVersion=0\nName=x\n",
                                 "text/plain");
        else
            response.status = 404;
    });
    writeSettings(
        QStringLiteral("[NetWork]\nNoticeHost=127.0.0.1:%1\n").arg(server.port()).toUtf8());
    TGlyphorama& w = openWindow();
    ASSERT_TRUE(VersionCheckRunning);

    answerNextMessageBox();
    w.close();
    ASSERT_TRUE(WaitUntil([this] { return !messageBoxes.isEmpty(); }));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(messageBoxes, QStringList{QStringLiteral("Glyphorama|") + CloseRefusal});

    answer = true;
    ASSERT_TRUE(WaitUntil([] { return !VersionCheckRunning; }));
    EXPECT_TRUE(balloonShown());
    EXPECT_EQ(w.NoticeHint->windowTitle(), QStringLiteral("x"));
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[1].method, "GET");
    EXPECT_EQ(server.requests()[1].userAgent, "Glyphorama2 /200#0");

    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(messageBoxes.size(), 1);
}

TEST_F(NoticeWindowTest, AWindowDestroyedDuringTheCheckStopsItSafely) {
    std::atomic<bool> answer{false};
    TestHttpServer server([&](const httplib::Request&, httplib::Response& response) {
        while (!answer)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        response.status = 404;
    });
    writeSettings(
        QStringLiteral("[NetWork]\nNoticeHost=127.0.0.1:%1\n").arg(server.port()).toUtf8());
    openWindow();
    ASSERT_TRUE(VersionCheckRunning);
    ASSERT_TRUE(WaitUntil([&] { return !server.requests().empty(); }));

    // Not by closing, which the check refuses, but as a quitting application would.
    const auto started = std::chrono::steady_clock::now();
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10))
        << "the download was stopped, not waited out";
    EXPECT_TRUE(WaitUntil([] { return !VersionCheckRunning; }));
    answer = true;
}

TEST_F(NoticeWindowTest, TheSessionsEndDuringTheCheckSavesAndStopsTheCheckAtOnce) {
    notice_test::SilentServer silent;
    writeSettings(
        QStringLiteral("[NetWork]\nNoticeHost=127.0.0.1:%1\n").arg(silent.port()).toUtf8());
    TGlyphorama& w = openWindow();
    ASSERT_TRUE(VersionCheckRunning);
    answerNextMessageBox();
    w.close();
    ASSERT_TRUE(WaitUntil([this] { return !messageBoxes.isEmpty(); }));

    const auto started = std::chrono::steady_clock::now();
    w.EndSession();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10))
        << "the download was stopped, not waited out";
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(VersionCheckRunning) << "the check has ended before the session does";
    EXPECT_TRUE(testing_support::ReadBytes(dataDir() + QStringLiteral("/Glyphorama.ini"))
                    .contains("form_width="));
    EXPECT_FALSE(QFile::exists(dataDir() + QStringLiteral("/isvc.dat")));
}
