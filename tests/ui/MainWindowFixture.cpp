#include "MainWindowFixture.h"

#include "platform/Application.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

void MainWindowTest::SetUp() {
    QDir(DataDir()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(DataDir() + QStringLiteral("/tags")));
    WriteSettings(QByteArray());
    savedFontSource = TFontPool::FontSource;
    UseFamilies(5);
    VersionCheckRunning = false;
    qApp->setQuitOnLastWindowClosed(false);
    platform::Application::instance()->OnException = [this](const QString& message) {
        errors.append(message);
    };
}

void MainWindowTest::TearDown() {
    window.reset();
    TFontPool::FontSource = savedFontSource;
    platform::Application::instance()->OnException = nullptr;
    VersionCheckRunning = false;
}

QString MainWindowTest::DataDir() {
    return QDir::homePath() + QStringLiteral("/Documents/Glyphorama");
}

QString MainWindowTest::SettingsPath() {
    return DataDir() + QStringLiteral("/Glyphorama.ini");
}

void MainWindowTest::WriteSettings(const QByteArray& text, bool versionCheckOff) {
    testing_support::WriteBytes(SettingsPath(),
                                text + (versionCheckOff ? "[NetWork]\nVersionCheck=0\n" : ""));
}

QByteArray MainWindowTest::SettingsText() {
    return testing_support::ReadBytes(SettingsPath());
}

QStringList MainWindowTest::SettingsLines() {
    QStringList lines = QString::fromUtf8(SettingsText()).split(u'\n');
    lines.removeAll(QString());
    return lines;
}

void MainWindowTest::UseFamilies(int count) {
    TFontPool::FontSource = [count] {
        std::vector<platform::FontFamilyRecord> records;
        for (int i = 0; i < count; ++i) {
            platform::FontFamilyRecord record;
            record.FaceName = QStringLiteral("Family %1").arg(i, 4, 10, QLatin1Char('0'));
            record.Style = QStringLiteral("Regular");
            records.push_back(record);
        }
        return records;
    };
}

TGlyphorama& MainWindowTest::OpenWindow(bool waitForBuild) {
    window = std::make_unique<TGlyphorama>();
    window->show();
    if (waitForBuild) {
        EXPECT_TRUE(WaitForBuild());
    }
    return *window;
}

bool MainWindowTest::WaitForBuild() {
    return testing_support::WaitUntil(
        [this] { return !window->FontPool || !window->FontPool->Building; });
}

void MainWindowTest::PressKey(int key) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != window.get())
        target = window.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

namespace {

// Looks for the modal box for a while, since it appears only once its caller runs its loop.
void answerWhenShown(QStringList* log, int triesLeft) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        if (triesLeft > 0)
            QTimer::singleShot(5, [log, triesLeft] { answerWhenShown(log, triesLeft - 1); });
        return;
    }
    log->append(box->objectName() + QStringLiteral(": ") + box->text());
    box->accept();
}

} // namespace

void MainWindowTest::AnswerNextMessageBox() {
    QTimer::singleShot(0, [log = &messageBoxes] { answerWhenShown(log, 1000); });
}

int MainWindowTest::TileCount() const {
    int count = 0;
    if (window && window->FontPool)
        for (const TFontUnit* unit : window->FontPool->ViewList)
            count += unit->Tile != nullptr;
    return count;
}
