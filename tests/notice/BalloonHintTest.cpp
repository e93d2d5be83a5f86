#include "platform/BalloonHint.h"
#include "platform/ImageList.h"
#include "tests/support/TestSupport.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using platform::BalloonHint;
using testing_support::WaitUntil;

namespace {

QString labelText(const BalloonHint& hint, const char* name) {
    const auto* label = hint.findChild<QLabel*>(QString::fromLatin1(name));
    return label && label->isVisibleTo(&hint) ? label->text() : QStringLiteral("<hidden>");
}

} // namespace

TEST(BalloonHint, ShowsItsTextsAsPlainTextAndPointsAtTheSpot) {
    QWidget owner;
    BalloonHint hint(&owner);
    hint.Title = QStringLiteral("<b>3.00</b> & <i>more</i>");
    hint.Description = QStringLiteral("一行目\r\n二行目\r\n");
    hint.HideAfter = 0;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint spot = screen.center();
    hint.ShowHint(spot);

    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.windowTitle(), hint.Title);
    EXPECT_EQ(labelText(hint, "Title"), hint.Title);
    EXPECT_EQ(labelText(hint, "Description"), QStringLiteral("一行目\n二行目"));
    for (const char* name : {"Title", "Description"})
        EXPECT_EQ(hint.findChild<QLabel*>(QString::fromLatin1(name))->textFormat(), Qt::PlainText)
            << name;
    EXPECT_EQ(labelText(hint, "Image"), QStringLiteral("<hidden>")) << "no image list given";
    EXPECT_TRUE(hint.PointsDown());
    EXPECT_EQ(hint.PointerTip(), spot);
    EXPECT_LT(hint.geometry().bottom(), spot.y()) << "the body stands over the spot";
    EXPECT_GT(spot.x(), hint.geometry().left());
    EXPECT_LT(spot.x(), hint.geometry().right());
}

TEST(BalloonHint, StaysOnTheScreenNearItsEdges) {
    QWidget owner;
    BalloonHint hint(&owner);
    hint.Title = QStringLiteral("Title");
    hint.Description = QStringLiteral("A description long enough to need some room.");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    const QPoint nearTopLeft = screen.topLeft() + QPoint(20, 5);
    hint.ShowHint(nearTopLeft);
    EXPECT_FALSE(hint.PointsDown()) << "no room above: it hangs below the spot";
    EXPECT_EQ(hint.PointerTip(), nearTopLeft);
    EXPECT_TRUE(screen.contains(hint.geometry()));

    const QPoint nearRight(screen.right() - 20, screen.center().y());
    hint.ShowHint(nearRight);
    EXPECT_TRUE(hint.PointsDown());
    EXPECT_EQ(hint.PointerTip(), nearRight);
    EXPECT_TRUE(screen.contains(hint.geometry()));
}

TEST(BalloonHint, ShowsTheImageOfItsListAndHidesByItself) {
    QWidget owner;
    platform::ImageList images(24, {QStringLiteral(":/forms/icons/24/8-shopping-bag.svg")}, &owner);
    BalloonHint hint(&owner);
    hint.Images = &images;
    hint.ImageIndex = 0;
    hint.HideAfter = 50;
    hint.ShowHint(QGuiApplication::primaryScreen()->availableGeometry().center());
    const auto* image = hint.findChild<QLabel*>(QStringLiteral("Image"));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->isVisibleTo(&hint));
    EXPECT_EQ(image->pixmap().deviceIndependentSize(), QSizeF(24, 24));
    EXPECT_TRUE(WaitUntil([&] { return !hint.isVisible(); }));

    // Shown again, a click sends it away before its time.
    hint.HideAfter = 60000;
    hint.ShowHint(QGuiApplication::primaryScreen()->availableGeometry().center());
    ASSERT_TRUE(hint.isVisible());
    QTest::mouseClick(&hint, Qt::LeftButton, {}, QPoint(hint.width() / 2, hint.height() / 3));
    EXPECT_FALSE(hint.isVisible());
}

TEST(BalloonHint, ShortLinesStayWholeAndLongTextWrapsAtTheTextWidth) {
    QWidget owner;
    BalloonHint hint(&owner);
    hint.Title = QStringLiteral("Title");
    hint.Description = QStringLiteral("新しいバージョンが公開されています。\r\n短い行\r\n");
    hint.ShowHint(QGuiApplication::primaryScreen()->availableGeometry().center());
    const auto* description = hint.findChild<QLabel*>(QStringLiteral("Description"));
    ASSERT_TRUE(description);
    const QFontMetrics metrics = description->fontMetrics();
    EXPECT_GE(description->width(),
              metrics.horizontalAdvance(QStringLiteral("新しいバージョンが公開されています。")));
    EXPECT_LT(description->height(), 3 * metrics.lineSpacing()) << "two lines, none broken";

    hint.Description = QString(300, u'字');
    hint.ShowHint(QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_LE(description->width(), BalloonHint::MaxTextWidth);
    EXPECT_GT(description->height(), 3 * metrics.lineSpacing());
}
