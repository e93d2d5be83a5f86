#include "TagFixture.h"

#include "fonts/Panel.h"
#include "platform/Application.h"
#include "tags/TagButton.h"
#include "tags/TagToolBar.h"
#include "tests/support/TestSupport.h"
#include "ui_Glyphorama.h"

#include <QDir>
#include <QTest>
#include <QTimer>

namespace tag_test {

void TagTest::SetUp() {
    tagDir = QDir::homePath() + QStringLiteral("/Documents/Glyphorama/tags");
    QDir(QDir::homePath() + QStringLiteral("/Documents")).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(tagDir));
    savedSource_ = TFontPool::FontSource;
    TFontPool::FontSource = [] {
        std::vector<platform::FontFamilyRecord> families;
        for (const QString& name : {DejaVu, Gothic, Hangul, Serif}) {
            platform::FontFamilyRecord record;
            record.FaceName = name;
            if (name == Gothic)
                record.OtherNames = QStringList{QStringLiteral("IPAゴシック")};
            families.push_back(record);
        }
        return families;
    };
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
}

void TagTest::Create() {
    testing_support::WriteBytes(tagDir + QStringLiteral("/../Glyphorama.ini"),
                                "[NetWork]\nVersionCheck=0\n");
    window = std::make_unique<TGlyphorama>();
}

void TagTest::Open(const QStringList& userTags) {
    QString settings =
        QStringLiteral("[NetWork]\nVersionCheck=0\n[tags]\ntotal=%1\n").arg(userTags.size());
    for (int i = 0; i < userTags.size(); ++i)
        settings += QStringLiteral("%1=%2\n").arg(i).arg(userTags[i]);
    testing_support::WriteBytes(tagDir + QStringLiteral("/../Glyphorama.ini"), settings.toUtf8());
    window = std::make_unique<TGlyphorama>();
    window->show();
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }, 60000));
    Settle();
}

QString TagTest::TagPath(const QString& name) const {
    return tagDir + u'/' + name + QStringLiteral(".tag");
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

QStringList TagTest::BarCaptions() const {
    QStringList captions;
    for (QWidget* widget : window->ui->TagBar->Buttons()) {
        const auto* button = qobject_cast<QToolButton*>(widget);
        captions.append(button ? button->text() : QStringLiteral("|"));
    }
    return captions;
}

QToolButton* TagTest::TagButtonOf(const QString& name) const {
    for (QWidget* widget : window->ui->TagBar->Buttons())
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
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activePopupWidget();
        if (!modal)
            modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->deleteLater();
        timer->stop();
        action(modal);
    });
    timer->start(10);
}

} // namespace tag_test
