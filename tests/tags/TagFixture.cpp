#include "TagFixture.h"

#include "fonts/Panel.h"
#include "platform/Application.h"
#include "tags/TagButton.h"
#include "tags/TagToolBar.h"
#include "tests/support/TestSupport.h"
#include "ui_Glyphorama.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace tag_test {

namespace {

platform::FontFamilyRecord family(const QString& name, const QStringList& otherNames = {}) {
    platform::FontFamilyRecord record;
    record.FaceName = name;
    record.OtherNames = otherNames;
    record.Style = QStringLiteral("Regular");
    record.CharSet = platform::ANSI_CHARSET;
    record.PitchAndFamily = platform::VARIABLE_PITCH;
    record.FontType = platform::TRUETYPE_FONTTYPE;
    return record;
}

} // namespace

void TagTest::SetUp() {
    dataDir = QDir::homePath() + QStringLiteral("/Documents/Glyphorama");
    QDir(QDir::homePath() + QStringLiteral("/Documents")).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(TagDir()));
    savedSource_ = TFontPool::FontSource;
    TFontPool::FontSource = [] {
        return std::vector<platform::FontFamilyRecord>{
            family(DejaVu), family(Gothic, {QStringLiteral("IPAゴシック")}), family(Hangul),
            family(Serif)};
    };
    VersionCheckRunning = false;
    qApp->setQuitOnLastWindowClosed(false);
    platform::Application::instance()->OnException = [this](const QString& message) {
        errors.append(message);
    };
}

void TagTest::TearDown() {
    window.reset();
    Settle();
    TFontPool::FontSource = savedSource_;
    TagButton::DragSource = [](const QDropEvent* event) { return event->source(); };
    platform::Application::instance()->OnException = nullptr;
    QDir(QDir::homePath() + QStringLiteral("/Documents")).removeRecursively();
}

void TagTest::Create() {
    testing_support::WriteBytes(dataDir + QStringLiteral("/Glyphorama.ini"),
                                "[NetWork]\nVersionCheck=0\n");
    window = std::make_unique<TGlyphorama>();
}

void TagTest::Open(const QStringList& userTags) {
    QByteArray settings =
        "[NetWork]\nVersionCheck=0\n[tags]\ntotal=" + QByteArray::number(userTags.size()) + "\n";
    for (int i = 0; i < userTags.size(); ++i)
        settings += QByteArray::number(i) + "=" + userTags[i].toUtf8() + "\n";
    testing_support::WriteBytes(dataDir + QStringLiteral("/Glyphorama.ini"), settings);
    window = std::make_unique<TGlyphorama>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }, 60000));
    Settle();
}

QString TagTest::TagPath(const QString& name) const {
    return TagDir() + u'/' + name + QStringLiteral(".tag");
}

QByteArray TagTest::TagBytes(const QString& name) const {
    return testing_support::ReadBytes(TagPath(name));
}

void TagTest::WriteTag(const QString& name, const QByteArray& bytes) const {
    testing_support::WriteBytes(TagPath(name), bytes);
}

QStringList TagTest::Counts() const {
    QStringList counts;
    for (const TFontTag& tag : Pool().TagList)
        counts.append(tag.Name + u'=' + QString::number(tag.FontCount));
    return counts;
}

QList<QWidget*> TagTest::BarWidgets() const {
    return window->ui->TagBar->Buttons();
}

QStringList TagTest::BarCaptions() const {
    QStringList captions;
    for (QWidget* widget : BarWidgets()) {
        const auto* button = qobject_cast<QToolButton*>(widget);
        captions.append(button ? button->text() : QStringLiteral("|"));
    }
    return captions;
}

QToolButton* TagTest::TagButtonOf(const QString& name) const {
    for (QWidget* widget : BarWidgets())
        if (auto* button = qobject_cast<TagButton*>(widget))
            if (Pool().TagList[button->Tag].Name == name)
                return button;
    return nullptr;
}

TPanel* TagTest::TileOf(const QString& name) const {
    for (const TFontUnit* unit : Pool().ViewList)
        if (unit->Name == name)
            return unit->Tile;
    return nullptr;
}

void TagTest::Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void WhenModalOpens(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activePopupWidget();
        if (!modal)
            modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

} // namespace tag_test
