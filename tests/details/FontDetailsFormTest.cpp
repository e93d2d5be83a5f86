// The details window of a family: its names, faces, files and name-table strings, all as
// plain text, and what it does for damaged files.
#include "details/FontDetailsForm.h"
#include "details/FontWaterfall.h"

#include "tests/support/TestFontFolder.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

const QString DejaVuDir = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString MarkupFamily = QStringLiteral("Markup <b>x</b>&amp;");

template <typename T> T* part(QWidget* form, const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList column(QTreeWidget* tree, int index) {
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts.append(tree->topLevelItem(i)->text(index));
    return texts;
}

// How many pixels of the waterfall are not its white background.
int ink(FontWaterfall* waterfall) {
    QImage image(waterfall->size(), QImage::Format_RGB32);
    waterfall->render(&image);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

TEST(FontDetailsFormTest, ListsFacesFilesAndNameTableStrings) {
    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("DejaVu Sans")), QString());
    EXPECT_EQ(part<QLabel>(&form, "FamilyNameLabel")->text(), QStringLiteral("DejaVu Sans"));
    auto* faces = part<QTreeWidget>(&form, "FacesTree");
    EXPECT_EQ(column(faces, 0), (QStringList{QStringLiteral("Book"), QStringLiteral("Bold")}));
    EXPECT_EQ(column(faces, 1),
              (QStringList{QStringLiteral("TrueType"), QStringLiteral("TrueType")}));
    EXPECT_TRUE(column(faces, 2).at(0).startsWith(QStringLiteral("Version")));
    EXPECT_TRUE(column(faces, 4).at(1).endsWith(QStringLiteral("/DejaVuSans-Bold.ttf")));
    // The regular face is shown first in the text box, with its strings in full.
    const QString text = part<QPlainTextEdit>(&form, "FaceText")->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("/DejaVuSans.ttf")));
    EXPECT_TRUE(text.contains(QStringLiteral("Copyright (c) 2003 by Bitstream")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("http://dejavu.sourceforge.net/wiki/index.php/License")));
    faces->setCurrentItem(faces->topLevelItem(1));
    EXPECT_TRUE(part<QPlainTextEdit>(&form, "FaceText")
                    ->toPlainText()
                    .contains(QStringLiteral("/DejaVuSans-Bold.ttf")));
    auto* names = part<QTableWidget>(&form, "NamesTable");
    ASSERT_GE(names->rowCount(), 1);
    EXPECT_EQ(names->item(0, 1)->text(), QStringLiteral("DejaVu Sans"));
}

TEST(FontDetailsFormTest, TheWaterfallDrawsTheFamilysOwnGlyphsOnly) {
    FontDetailsForm ipa(ReadFamilyDetails(QStringLiteral("IPAGothic")), QStringLiteral("かな"));
    auto* waterfall = part<FontWaterfall>(&ipa, "Waterfall");
    EXPECT_TRUE(waterfall->HasFace());
    EXPECT_EQ(waterfall->Text(), QStringLiteral("かな"));
    const int withText = ink(waterfall);
    waterfall->SetText(QString());
    const int labelsOnly = ink(waterfall);
    EXPECT_GT(withText, labelsOnly + 2000);
    // Each size is taller than the last: the lines grow down the window.
    EXPECT_EQ(FontWaterfall::PointSizes(), (std::vector<int>{8, 10, 12, 16, 24, 36, 48, 72}));
    EXPECT_GT(waterfall->sizeHint().height(), 72 + 48 + 36);

    // No sample text: the family's name is drawn.
    FontDetailsForm named(ReadFamilyDetails(QStringLiteral("DejaVu Serif")), QString());
    EXPECT_EQ(part<FontWaterfall>(&named, "Waterfall")->Text(), QStringLiteral("DejaVu Serif"));
}

TEST(FontDetailsFormTest, MarkupInFontStringsIsShownAsPlainText) {
    testing_support::TestFontFolder fonts;
    fonts.Add(QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fonts/data/markup-names.ttf"),
              QStringLiteral("markup.ttf"));
    FontDetailsForm form(ReadFamilyDetails(MarkupFamily, fonts.Config()), QString());
    auto* title = part<QLabel>(&form, "FamilyNameLabel");
    EXPECT_EQ(title->textFormat(), Qt::PlainText);
    EXPECT_EQ(title->text(), MarkupFamily);
    EXPECT_TRUE(form.windowTitle().contains(MarkupFamily));
    auto* faces = part<QTreeWidget>(&form, "FacesTree");
    EXPECT_EQ(column(faces, 2), QStringList{QStringLiteral("Version 1.000 <i>beta</i>")});
    const QString text = part<QPlainTextEdit>(&form, "FaceText")->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("<b>x</b>&amp; <a href='http://example.invalid/'>")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("<script>alert(1)</script> & <b>bold</b>\nsecond line")));
    EXPECT_EQ(part<QTableWidget>(&form, "NamesTable")->item(0, 1)->text(), MarkupFamily);
    EXPECT_TRUE(part<FontWaterfall>(&form, "Waterfall")->HasFace());
}

// A name table may hold a 15,000-character family name, and versions and copyrights as long:
// the window still fits the screen with its buttons inside. The title is elided; the whole
// name is in its tooltip and in the names table, where it can be selected.
TEST(FontDetailsFormTest, LongNamesNeverMakeTheWindowWiderThanTheScreen) {
    testing_support::TestFontFolder fonts;
    fonts.Add(QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/details/data/long-names.ttf"),
              QStringLiteral("long.ttf"));
    const QString family =
        (QStringLiteral("Long") + QStringLiteral("name").repeated(3749)).left(15000);
    FontDetailsForm form(ReadFamilyDetails(family, fonts.Config()), QString());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE(form.frameGeometry().width(), screen.width());
    EXPECT_LE(form.minimumSizeHint().width(), screen.width());
    for (const char* name : {"CopyFamilyName", "OpenFontFolder", "CloseButton"}) {
        auto* button = part<QPushButton>(&form, name);
        EXPECT_TRUE(form.rect().contains(QRect(button->mapTo(&form, QPoint()), button->size())))
            << name;
    }
    auto* title = part<QLabel>(&form, "FamilyNameLabel");
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->width());
    EXPECT_EQ(title->toolTip(), family);
    EXPECT_LT(form.windowTitle().size(), 200);
    auto* names = part<QTableWidget>(&form, "NamesTable");
    ASSERT_GE(names->rowCount(), 1);
    EXPECT_EQ(names->item(0, 1)->text(), family);
    EXPECT_TRUE(names->item(0, 1)->flags() & Qt::ItemIsSelectable);
}

TEST(FontDetailsFormTest, ADamagedFileShowsWhatCouldBeRead) {
    testing_support::TestFontFolder fonts;
    fonts.Add(DejaVuDir + QStringLiteral("DejaVuSans.ttf"), QStringLiteral("sans.ttf"));
    FcConfig* config = fonts.Config();
    testing_support::WriteBytes(fonts.File(QStringLiteral("sans.ttf")), QByteArray(2000, '\0'));

    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("DejaVu Sans"), config),
                         QStringLiteral("Hamburg"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* faces = part<QTreeWidget>(&form, "FacesTree");
    EXPECT_EQ(column(faces, 3), QStringList{QString()}); // no glyph count could be read
    const QString text = part<QPlainTextEdit>(&form, "FaceText")->toPlainText();
    EXPECT_TRUE(text.contains(fonts.File(QStringLiteral("sans.ttf"))));
    EXPECT_TRUE(text.contains(QStringLiteral("読み込みエラー")));
    auto* waterfall = part<FontWaterfall>(&form, "Waterfall");
    EXPECT_FALSE(waterfall->HasFace());
    ink(waterfall); // paints the size labels, nothing else
    EXPECT_TRUE(part<QLabel>(&form, "UnreadableFace")->isVisible());
}

// A face whose file became a FIFO after fontconfig listed it: the window opens at once and
// says in its text why the face could not be read, with no box to answer.
TEST(FontDetailsFormTest, AFifoInPlaceOfAFaceIsReportedInItsText) {
    testing_support::TestFontFolder fonts;
    fonts.Add(DejaVuDir + QStringLiteral("DejaVuSans.ttf"), QStringLiteral("sans.ttf"));
    fonts.Add(DejaVuDir + QStringLiteral("DejaVuSans-Bold.ttf"), QStringLiteral("bold.ttf"));
    FcConfig* config = fonts.Config();
    const QString fifo = fonts.File(QStringLiteral("bold.ttf"));
    ASSERT_TRUE(QFile::remove(fifo));
    testing_support::MakeFifo(fifo);

    testing_support::FifoWatchdog watchdog(fifo);
    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("DejaVu Sans"), config), QString());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* faces = part<QTreeWidget>(&form, "FacesTree");
    ASSERT_EQ(faces->topLevelItemCount(), 2);
    EXPECT_EQ(column(faces, 3).at(1), QString());                    // no glyph count
    EXPECT_TRUE(part<FontWaterfall>(&form, "Waterfall")->HasFace()); // the regular face
    faces->setCurrentItem(faces->topLevelItem(1));
    const QString text = part<QPlainTextEdit>(&form, "FaceText")->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("読み込みエラー")));
    EXPECT_TRUE(text.contains(fifo + QStringLiteral(" は通常のファイルではないため")))
        << text.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Chosen, the FIFO's style has no sample to draw, and the window says so calmly.
    EXPECT_FALSE(part<FontWaterfall>(&form, "Waterfall")->HasFace());
    EXPECT_TRUE(part<QLabel>(&form, "UnreadableFace")->isVisible());
    EXPECT_FALSE(watchdog.Fired()) << "the window waited on the FIFO";
}

// Receives the folder the window hands to the desktop.
// PATH replaced for a scope: which openers the program finds.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path) : saved_(qgetenv("PATH")) {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~ScopedPath() { qputenv("PATH", saved_); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    const QByteArray saved_;
};

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
    Q_INVOKABLE void open(const QUrl& url) { urls.append(url); }
};

TEST(FontDetailsFormTest, CopiesTheNameOpensTheFolderAndEscCloses) {
    QWidget owner;
    QPointer<FontDetailsForm> form =
        FontDetailsForm::ShowFor(QStringLiteral("IPAMincho"), QString(), &owner);
    ASSERT_TRUE(form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    // Asked again, the open window is raised instead of a second one.
    EXPECT_EQ(FontDetailsForm::ShowFor(QStringLiteral("IPAMincho"), QString(), &owner), form);
    EXPECT_EQ(owner.findChildren<FontDetailsForm*>().size(), 1);

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    // Enter in the list of styles presses no button.
    QTest::keyClick(part<QTreeWidget>(form, "FacesTree"), Qt::Key_Return);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_FALSE(form.isNull());
    part<QPushButton>(form, "CopyFamilyName")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("IPAMincho"));

    // Without xdg-open the folder goes through Qt's services, where the catcher waits.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    {
        const ScopedPath noOpener{QString()};
        part<QPushButton>(form, "OpenFontFolder")->click();
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_TRUE(catcher.urls[0].isLocalFile());
    EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith(QStringLiteral("/test-fonts")))
        << catcher.urls[0].toString().toStdString();

    QTest::keyClick(form, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

// Where nothing takes the folder the user is told so, with the folder's path to go there by
// other means: with no opener at all, and with xdg-open that finds no program for a folder
// (a desktop without a file manager: no display, no desktop, a browser that fails).
TEST(FontDetailsFormTest, SaysWhenNothingOpenedTheFolder) {
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    QWidget owner;
    QPointer<FontDetailsForm> form =
        FontDetailsForm::ShowFor(QStringLiteral("IPAMincho"), QString(), &owner);
    ASSERT_TRUE(form);
    const auto toldOf = [&form]() -> QString {
        QMessageBox* box = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                box = form->findChild<QMessageBox*>(QStringLiteral("NothingOpened"));
                return box && box->isVisible();
            },
            10000);
        if (!shown)
            return QString();
        const QString text = box->text();
        EXPECT_FALSE(box->isModal());
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return text;
    };
    const QString folder = QFileInfo(form->Details().Faces[0].File).absolutePath();
    {
        const ScopedPath noOpener{QString()};
        part<QPushButton>(form, "OpenFontFolder")->click();
    }
    EXPECT_TRUE(toldOf().endsWith(u'\n' + folder));

    if (xdgOpen.isEmpty())
        GTEST_SKIP() << "xdg-open is not installed";
    const QStringList unset = {"DISPLAY",         "WAYLAND_DISPLAY",  "XDG_CURRENT_DESKTOP",
                               "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"};
    QHash<QString, QByteArray> saved;
    for (const QString& name : unset + QStringList{"BROWSER"})
        saved.insert(name, qgetenv(name.toLatin1().constData()));
    for (const QString& name : unset)
        qunsetenv(name.toLatin1().constData());
    qputenv("BROWSER", "false");
    part<QPushButton>(form, "OpenFontFolder")->click();
    const QString told = toldOf();
    for (auto it = saved.cbegin(); it != saved.cend(); ++it)
        if (it.value().isNull())
            qunsetenv(it.key().toLatin1().constData());
        else
            qputenv(it.key().toLatin1().constData(), it.value());
    EXPECT_TRUE(told.endsWith(u'\n' + folder)) << told.toStdString();
    form->close();
}

} // namespace

#include "FontDetailsFormTest.moc"
