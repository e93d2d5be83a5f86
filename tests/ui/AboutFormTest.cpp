#include "MainWindowFixture.h"

#include "tests/support/TestSupport.h"
#include "ui/AboutForm.h"
#include "ui_AboutForm.h"
#include "ui_Glyphorama.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {

class AboutFormTest : public MainWindowTest {
protected:
    TAboutForm* OpenAbout() {
        window->ui->ShowAbout->trigger();
        TAboutForm* box = AboutForm;
        EXPECT_TRUE(box && box->isVisible());
        return box;
    }
    // Lets a closed box be deleted.
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

TEST_F(AboutFormTest, ShowsThePictureWithTheVersionOverIt) {
    OpenWindow();
    TAboutForm* box = OpenAbout();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(box->size(), QSize(500, 400));

    const QImage picture = box->ui->Image1->pixmap().toImage();
    ASSERT_EQ(picture.size() / picture.devicePixelRatio(), QSize(500, 400));
    EXPECT_EQ(picture.pixelColor(250, 200).alpha(), 255) << "the picture covers the box";

    const auto expectLabel = [](const QLabel* label, QPoint at, const QString& text) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(label->pos(), at);
        EXPECT_EQ(label->text(), text);
    };
    expectLabel(box->ui->Label1, {85, 208}, QStringLiteral("バージョン情報:"));
    expectLabel(box->ui->Version, {172, 206}, QStringLiteral("2.00"));
    expectLabel(box->ui->SubVersion, {215, 208}, QString());
    expectLabel(box->ui->Label2, {85, 229},
                QStringLiteral("Glyphorama をご利用頂き、有難うございます。"));
}

TEST_F(AboutFormTest, IsCentredOverTheMainWindowWhereverItStands) {
    TGlyphorama& w = OpenWindow();
    for (const QPoint at : {QPoint(0, 0), QPoint(333, 121)}) {
        w.move(at);
        TAboutForm* box = OpenAbout();
        ASSERT_TRUE(box);
        const QRect bounds = w.frameGeometry();
        EXPECT_EQ(box->frameGeometry(), QRect(bounds.x() + (bounds.width() - 500) / 2,
                                              bounds.y() + (bounds.height() - 400) / 2, 500, 400))
            << at.x() << "," << at.y();
        box->close();
        Settle();
    }
}

TEST_F(AboutFormTest, EscClosesAndFreesItOtherKeysDoNot) {
    OpenWindow();
    QPointer<TAboutForm> box = OpenAbout();
    ASSERT_TRUE(box);
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Return);
    Settle();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());

    QTest::keyClick(box, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(box);
    EXPECT_EQ(AboutForm, nullptr);
    EXPECT_TRUE(window->isVisible()) << "Esc in the box does not reach the main window";
}

TEST_F(AboutFormTest, ActivatingAnotherWindowClosesIt) {
    TGlyphorama& w = OpenWindow();
    QPointer<TAboutForm> box = OpenAbout();
    ASSERT_TRUE(box);
    box->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box));

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(testing_support::WaitUntil([&box] { return !box; }, 2000));
    EXPECT_EQ(AboutForm, nullptr);
}

TEST_F(AboutFormTest, AtMostOneIsOpen) {
    TGlyphorama& w = OpenWindow();
    QPointer<TAboutForm> first = OpenAbout();
    QPointer<TAboutForm> second = OpenAbout();
    Settle();
    EXPECT_FALSE(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(AboutForm, second.data());
    EXPECT_EQ(w.findChildren<TAboutForm*>().size(), 1);
}

} // namespace
