// The font tiles: their make-up, the flow they sit in, hover colours, dragging and the
// context menu.
#include "SampleViewFixture.h"

#include "fontengine/TileTextFactory.h"
#include "platform/FormFonts.h"
#include "platform/ImageList.h"
#include "sampleview/TileSelection.h"

#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <algorithm>

using namespace sample_view_test;

namespace {

const QColor Hover(0xC0, 0xDC, 0xC0);

// A tile is as wide as the sample it draws (measured from its own face; see
// TileTextTest) and 10 pixels either side.
int ExpectedWidth(const TPanel* tile) {
    return tile->Sample() ? tile->Sample()->Width() + 20 : -1;
}

// Remembers the data of the drags a widget starts. A drag is made as the widget's child and
// let go once it is over, so its data is read when its deletion comes in.
class DragWatcher : public QObject {
public:
    explicit DragWatcher(QObject* watched) { watched->installEventFilter(this); }
    int started = 0;
    QList<QByteArray> tags;
    QList<QByteArray> families;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded) {
            ++started;
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        } else if (event->type() == QEvent::DeferredDelete) {
            if (auto* drag = qobject_cast<QDrag*>(watched)) {
                tags.append(drag->mimeData()->data(TPanel::DragMimeType));
                families.append(drag->mimeData()->data(TPanel::FamiliesMimeType));
            }
        }
        return false;
    }
};

} // namespace

class TileTest : public SampleViewTest {
protected:
    QWindow* Screen() const { return window->windowHandle(); }
    QPoint At(QWidget* widget, QPoint local) const { return widget->mapTo(window.get(), local); }
    void MoveTo(QWidget* widget, QPoint local) const {
        QTest::mouseMove(Screen(), At(widget, local));
    }
    // A point of the tile away from its name label, and one on the label.
    static QPoint Upper(TPanel* tile) { return QPoint(tile->width() / 2, 8); }
    static QPoint OnLabel(TPanel* tile) { return tile->NameLabelRect().center(); }
    // Somewhere outside every tile: the tool bar area at the top.
    void MoveAway() const { QTest::mouseMove(Screen(), QPoint(2, 2)); }
};

TEST_F(TileTest, ATileShowsItsFamilyAndCarriesItsPosition) {
    OpenBuilt({Family(QStringLiteral("DejaVu Sans")), Family(QStringLiteral("DejaVu Serif"))});
    const std::vector<TPanel*> tiles = Tiles();
    ASSERT_EQ(tiles.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        TPanel* tile = tiles[i];
        const QString name = Pool().ViewList[i]->Name;
        EXPECT_EQ(tile->Caption(), name);
        EXPECT_EQ(tile->toolTip(), name);
        EXPECT_EQ(tile->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(tile->Sample()->Text(), name);
        EXPECT_EQ(tile->Sample()->Missing(), 0);
        EXPECT_EQ(tile->Tag, i);
        EXPECT_EQ(tile->height(), 82);
        EXPECT_EQ(tile->width(), ExpectedWidth(tile));
        EXPECT_EQ(tile->Margins, QMargins(5, 3, 5, 3));
        EXPECT_EQ(tile->Color(), QColor(Qt::white));
        EXPECT_EQ(tile->FontColor(), QColor(Qt::black));
        EXPECT_EQ(tile->parentWidget(), FlowPanel());
        EXPECT_TRUE(tile->isVisible());

        // The name label: painted by the tile, no widget of its own.
        ASSERT_TRUE(tile->HasNameLabel());
        EXPECT_TRUE(tile->findChildren<QWidget*>().isEmpty());
        EXPECT_EQ(tile->NameLabelText(), name);
        EXPECT_EQ(tile->NameLabelShownText(), name);
        EXPECT_EQ(tile->font().family(), platform::FormFont(7).family());
        EXPECT_EQ(tile->font().pointSize(), 7);
        // At the foot with margins 3 left, 2 right and bottom.
        EXPECT_EQ(tile->NameLabelRect(), QRect(3, 82 - 2 - 12, tile->width() - 5, 12));
        // Grey, right-aligned, on the tile's own colour.
        EXPECT_EQ(NameLabelPixels(tile), ExpectedNameLabel(tile, Qt::white));
    }
    // Left to right on one row, each with its margins.
    EXPECT_EQ(tiles[0]->pos(), QPoint(5, 3));
    EXPECT_EQ(tiles[1]->pos(), QPoint(5 + tiles[0]->width() + 5 + 5, 3));
}

TEST_F(TileTest, TilesWrapIntoRowsAndTheFlowPanelFitsThem) {
    OpenBuilt(ManyFamilies(40));
    const std::vector<TPanel*> tiles = Tiles();
    int rows = 1;
    for (size_t i = 1; i < tiles.size(); ++i) {
        const QRect previous = tiles[i - 1]->geometry();
        const QRect current = tiles[i]->geometry();
        if (current.y() == previous.y()) {
            EXPECT_EQ(current.x(), previous.right() + 1 + 10);
        } else {
            ++rows;
            EXPECT_EQ(current.x(), 5);
            EXPECT_EQ(current.y(), previous.y() + 88);
        }
        EXPECT_LE(current.right() + 1 + 5, FlowPanel()->width());
    }
    EXPECT_GT(rows, 2);
    EXPECT_EQ(FlowPanel()->height(), rows * 88);
    EXPECT_EQ(ScrollBox()->verticalScrollBar()->maximum(),
              rows * 88 - ScrollBox()->viewport()->height());
}

TEST_F(TileTest, AWiderWindowReflowsTheTiles) {
    OpenBuilt(ManyFamilies(40));
    const int rowsBefore = FlowPanel()->height();
    window->resize(window->width() * 2, window->height());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_LT(FlowPanel()->height(), rowsBefore);
    EXPECT_EQ(FlowPanel()->height(),
              std::max(FlowPanel()->ContentHeight(), ScrollBox()->viewport()->height()));
}

TEST_F(TileTest, MarkupInAFamilyNameStaysPlainText) {
    OpenBuilt({Family(QStringLiteral("<b>Bold</b> & Co"))});
    const QString tip = Tiles()[0]->toolTip();
    EXPECT_EQ(Tiles()[0]->Caption(), QStringLiteral("<b>Bold</b> & Co"));
    QTextDocument document;
    document.setHtml(tip);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("<b>Bold</b> & Co"));
}

// A name wider than its tile keeps its start and ends in "…"; the count of missing characters
// stays whole, and the tooltip has the whole name.
TEST_F(TileTest, ANameTooWideForItsTileIsShortenedAtItsEnd) {
    const QString name = QStringLiteral("Broadcast Digital Extended Condensed Family");
    OpenBuilt({Family(name)});
    TPanel* tile = Tiles()[0];
    EXPECT_EQ(tile->toolTip(), name);
    const QFontMetrics metrics(platform::FormFont(7));
    const auto check = [&](const QString& count) {
        const int room = tile->NameLabelRect().width();
        const QString shown = tile->NameLabelShownText();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Broad"))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QStringLiteral("…") + count)) << shown.toStdString();
        EXPECT_LT(shown.size(), name.size() + count.size());
        EXPECT_LE(metrics.horizontalAdvance(shown), room);
        EXPECT_EQ(NameLabelPixels(tile), ExpectedNameLabel(tile, Qt::white, shown));
    };

    Pool().ApplySampleText(QStringLiteral("Aa"));
    WaitForResample();
    ASSERT_GT(metrics.horizontalAdvance(name), tile->NameLabelRect().width());
    check(QString());

    Pool().ApplySampleText(QStringLiteral("AaAaAaAaあ"));
    WaitForResample();
    EXPECT_EQ(tile->NameLabelText(), name + QStringLiteral(" — 1 文字なし"));
    check(QStringLiteral(" — 1 文字なし"));
    EXPECT_EQ(tile->toolTip(), name);
}

TEST_F(TileTest, HoveringAnywhereOnATileColoursItUntilThePointerLeavesTheTile) {
    OpenBuilt(ManyFamilies(3));
    TPanel* tile = Tiles()[0];
    MoveAway();
    MoveTo(tile, Upper(tile));
    EXPECT_EQ(tile->Color(), Hover);
    MoveTo(tile, OnLabel(tile)); // into the label: the tile stays green
    EXPECT_EQ(tile->Color(), Hover);
    EXPECT_EQ(NameLabelPixels(tile), ExpectedNameLabel(tile, Hover)); // and shows through it
    MoveTo(tile, Upper(tile));                                        // back onto the tile
    EXPECT_EQ(tile->Color(), Hover);
    MoveAway();
    EXPECT_EQ(tile->Color(), QColor(Qt::white));

    // Straight from outside onto the label, and straight out from it.
    MoveTo(tile, OnLabel(tile));
    EXPECT_EQ(tile->Color(), Hover);
    MoveAway();
    EXPECT_EQ(tile->Color(), QColor(Qt::white));

    // From one tile to the next.
    TPanel* next = Tiles()[1];
    MoveTo(tile, Upper(tile));
    MoveTo(next, Upper(next));
    EXPECT_EQ(tile->Color(), QColor(Qt::white));
    EXPECT_EQ(next->Color(), Hover);
    MoveAway();
}

TEST_F(TileTest, ATileTheLayoutMovesFromUnderAStillPointerLosesItsHoverColour) {
    OpenBuilt(ManyFamilies(3));
    TPanel* last = Tiles()[2];
    MoveAway();
    MoveTo(last, Upper(last));
    ASSERT_EQ(last->Color(), Hover);
    Pool().RemoveTile(Tiles()[0]->Tag);
    FlowPanel()->FitHeight();
    EXPECT_EQ(last->Color(), QColor(Qt::white));
    MoveAway();
}

TEST_F(TileTest, WhiteOnBlackTilesTurnGreenAndBackToBlack) {
    OpenBuilt(ManyFamilies(2), "[settings]\nsample_view_mode=1\n");
    EXPECT_EQ(platform::ButtonImage(Part<QToolButton>("SwitchSampleViewModeButton")), 6);
    TPanel* tile = Tiles()[0];
    EXPECT_EQ(tile->Color(), QColor(Qt::black));
    EXPECT_EQ(tile->FontColor(), QColor(Qt::white));
    EXPECT_EQ(NameLabelPixels(tile), ExpectedNameLabel(tile, Qt::black));
    MoveAway();
    MoveTo(tile, Upper(tile));
    EXPECT_EQ(tile->Color(), Hover);
    MoveAway();
    EXPECT_EQ(tile->Color(), QColor(Qt::black));
}

TEST_F(TileTest, WithoutNameLabelsHoverStillColoursTheTile) {
    Open(ManyFamilies(2));
    WaitForBuild();
    Pool().Options.ShowNameLabel = false;
    window->SelectFontType(2, true);
    WaitForBuild();
    TPanel* tile = Tiles()[0];
    EXPECT_FALSE(tile->HasNameLabel());
    EXPECT_TRUE(tile->NameLabelText().isEmpty());
    EXPECT_EQ(NameLabelPixels(tile), ExpectedNameLabel(tile, Qt::white, QString()));
    MoveAway();
    MoveTo(tile, QPoint(tile->width() / 2, 75));
    EXPECT_EQ(tile->Color(), Hover);
    MoveAway();
    EXPECT_EQ(tile->Color(), QColor(Qt::white));
}

TEST_F(TileTest, ADragStartsPastTheDragDistanceAndCarriesTheTagNumber) {
    OpenBuilt(ManyFamilies(3));
    TPanel* source = Tiles()[2];
    for (const QPoint start : {source->rect().center(), OnLabel(source)}) {
        SCOPED_TRACE(start == OnLabel(source) ? "label" : "tile");
        DragWatcher watcher(source);
        QTest::mousePress(Screen(), Qt::LeftButton, {}, At(source, start));
        MoveTo(source, start + QPoint(2, 0));
        EXPECT_EQ(watcher.started, 0) << "a drag before the drag distance";
        MoveTo(source, start + QPoint(QApplication::startDragDistance() + 2, 0));
        EXPECT_EQ(watcher.started, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(watcher.tags, QList<QByteArray>{QByteArray("2")});
        QTest::mouseRelease(Screen(), Qt::LeftButton, {}, At(source, start));
    }
    // Another button never drags.
    DragWatcher watcher(Tiles()[0]);
    const QPoint start = Upper(Tiles()[0]);
    QTest::mousePress(Screen(), Qt::MiddleButton, {}, At(Tiles()[0], start));
    MoveTo(Tiles()[0], start + QPoint(40, 0));
    QTest::mouseRelease(Screen(), Qt::MiddleButton, {}, At(Tiles()[0], start + QPoint(40, 0)));
    EXPECT_EQ(watcher.started, 0);
}

TEST_F(TileTest, ADragOfASelectedTileCarriesTheWholeSelectionAndKeepsIt) {
    OpenBuilt(ManyFamilies(4));
    for (int i : {3, 1})
        QTest::mouseClick(Tiles()[i], Qt::LeftButton, Qt::ControlModifier, Upper(Tiles()[i]));
    const auto drag = [this](TPanel* source) {
        DragWatcher watcher(source);
        const QPoint start = Upper(source);
        QTest::mousePress(Screen(), Qt::LeftButton, {}, At(source, start));
        MoveTo(source, start + QPoint(QApplication::startDragDistance() + 2, 0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::mouseRelease(Screen(), Qt::LeftButton, {}, At(source, start));
        return watcher.families.value(0);
    };
    EXPECT_EQ(drag(Tiles()[3]), QByteArray("Family 001\nFamily 003"));
    EXPECT_EQ(window->findChild<TileSelection*>()->Count(), 2);
    EXPECT_EQ(drag(Tiles()[2]), QByteArray("Family 002"));
}

TEST_F(TileTest, TheRightButtonOpensTheContextMenuForThatTile) {
    OpenBuilt(ManyFamilies(3));
    auto* menu = Part<QMenu>("ContextMenu");
    // Each click ends with the button let go, so that the tests after this one start with
    // no button held.
    const auto rightClick = [&](QWidget* widget, QPoint local) {
        QTest::mousePress(Screen(), Qt::RightButton, {}, At(widget, local));
        const bool shown = menu->isVisible();
        menu->hide();
        QTest::mouseRelease(Screen(), Qt::RightButton, {}, At(widget, local));
        return shown;
    };
    EXPECT_TRUE(rightClick(Tiles()[1], OnLabel(Tiles()[1])));
    EXPECT_EQ(window->ContextMenuTag, 1);
    EXPECT_EQ(menu->property("Tag").toInt(), 1);
    EXPECT_TRUE(rightClick(Tiles()[2], Upper(Tiles()[2])));
    EXPECT_EQ(window->ContextMenuTag, 2);
}

// Tiles out of view are not repainted when they appear or change; what reaches the screen
// once they are scrolled into view must still be their current look.
TEST_F(TileTest, TilesScrolledIntoViewShowTheirCurrentLook) {
    OpenBuilt(ManyFamilies(80));
    QScrollBar* bar = ScrollBox()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), ScrollBox()->viewport()->height());
    const auto screenColour = [this](TPanel* tile) {
        QCoreApplication::processEvents();
        const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
        return shot.pixelColor(At(tile, QPoint(2, 2)) * shot.devicePixelRatio());
    };
    TPanel* last = Tiles().back();
    bar->setValue(bar->maximum());
    EXPECT_EQ(screenColour(last), QColor(Qt::white));

    bar->setValue(0);
    QCoreApplication::processEvents();
    Part<QToolButton>("SwitchSampleViewModeButton")->click();
    EXPECT_EQ(screenColour(Tiles()[0]), QColor(Qt::black)); // in view: repainted at once
    bar->setValue(bar->maximum());
    EXPECT_EQ(screenColour(last), QColor(Qt::black));
    EXPECT_EQ(screenColour(Tiles()[Tiles().size() - 2]), QColor(Qt::black));
}

TEST_F(TileTest, TheFlowPanelFitsItsTilesOnceTheBuildHasEnded) {
    OpenBuilt(ManyFamilies(80));
    // Fitting is spaced out while tiles arrive; the end of the build fits at once.
    EXPECT_EQ(FlowPanel()->minimumHeight(), FlowPanel()->ContentHeight());
    EXPECT_EQ(FlowPanel()->height(), FlowPanel()->ContentHeight());
    EXPECT_EQ(FlowPanel()->ContentHeight(), Tiles().back()->geometry().bottom() + 1 + 3);
}

TEST_F(TileTest, TheScrollRangeGrowsWhileTheBuildGoesOn) {
    Open(ManyFamilies(1500));
    QScrollBar* bar = ScrollBox()->verticalScrollBar();
    EXPECT_TRUE(testing_support::WaitUntil([&] { return bar->maximum() > 0; }));
    EXPECT_TRUE(Pool().Building);
    const int early = bar->maximum();
    EXPECT_TRUE(testing_support::WaitUntil([&] { return bar->maximum() > early; }));
    EXPECT_TRUE(Pool().Building);
}

// Western tiles under a Japanese sample: marks in the label's grey, never kana borrowed from
// the IPA fonts beside them.
TEST_F(TileTest, ATileDrawsOnlyFromItsOwnFamily) {
    OpenBuilt({Family(QStringLiteral("DejaVu Sans")), Family(QStringLiteral("IPAGothic"))},
              "[settings]\ncurrent_font_type=5\n");
    Pool().ApplySampleText(QStringLiteral("あいう"));
    WaitForResample();
    const auto inks = [](TPanel* tile) {
        const QImage image = tile->grab().toImage();
        int dark = 0, grey = 0;
        // Above the name label, which Qt draws in a font of its choosing.
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
                grey += pixel == 0x808080;
                dark += qGray(pixel) < 0x60;
            }
        return std::pair(dark, grey);
    };
    TPanel* western = TileOf(QStringLiteral("DejaVu Sans"));
    TPanel* japanese = TileOf(QStringLiteral("IPAGothic"));
    EXPECT_EQ(inks(western).first, 0);
    EXPECT_GT(inks(western).second, 30);
    EXPECT_GT(inks(japanese).first, 30);
    EXPECT_EQ(western->NameLabelText(), QStringLiteral("DejaVu Sans — 3 文字なし"));
    EXPECT_EQ(japanese->NameLabelText(), QStringLiteral("IPAGothic"));
}

TEST_F(TileTest, RebuildsNewTextsAndSizesReuseTheLoadedFaces) {
    const std::vector<platform::FontFamilyRecord> families{
        Family(QStringLiteral("DejaVu Sans")), Family(QStringLiteral("DejaVu Serif")),
        Family(QStringLiteral("IPAGothic")), Family(QStringLiteral("IPAMincho"))};
    OpenBuilt(families, "[settings]\ncurrent_font_type=5\n");
    const auto paintAll = [this] {
        for (TPanel* tile : Tiles())
            tile->grab();
    };
    paintAll();
    const int loads = Samples().Store().Loads();
    EXPECT_EQ(loads, 4);

    window->SelectFontType(2, true);
    WaitForBuild();
    window->SelectFontType(5, true);
    WaitForBuild();
    paintAll();
    Pool().ApplySampleText(QStringLiteral("Aa あ"));
    WaitForResample();
    paintAll();
    Pool().SetSamplePointSize(32);
    WaitForResample();
    paintAll();
    Pool().ApplySampleText(QString());
    WaitForResample();
    paintAll();
    EXPECT_EQ(Samples().Store().Loads(), loads);
}

TEST_F(TileTest, ANewSampleSizeResizesAndReflowsTheTiles) {
    OpenBuilt({Family(QStringLiteral("IPAGothic")), Family(QStringLiteral("IPAMincho"))},
              "[settings]\ncurrent_font_type=5\n");
    Pool().ApplySampleText(QStringLiteral("あいう"));
    WaitForResample();
    EXPECT_EQ(Tiles()[0]->width(), 64 + 20); // three kana of one em at 16 points
    Pool().SetSamplePointSize(32);
    WaitForResample();
    EXPECT_EQ(Pool().Options.SamplePointSize, 32);
    EXPECT_EQ(Tiles()[0]->width(), 128 + 20);
    EXPECT_EQ(Tiles()[0]->height(), 34 + 3 * 32); // tiles grow with their text: 82 px at 16
    EXPECT_EQ(Tiles()[1]->x(), Tiles()[0]->geometry().right() + 1 + 10);
    // New tiles take the size as well.
    window->SelectFontType(5, true);
    WaitForBuild();
    EXPECT_EQ(Tiles()[1]->width(), 128 + 20);
}

// A rebuild takes the old tiles away at once, though it destroys them over the next turns of
// the event loop: none may show, be laid out with the new ones or outlive the catalogue.
TEST_F(TileTest, ARebuildHidesTheOldTilesAtOnceAndDestroysThemLater) {
    OpenBuilt(ManyFamilies(300));
    std::vector<QPointer<TPanel>> old;
    for (TPanel* tile : Tiles())
        old.emplace_back(tile);
    window->SelectFontType(2, true);
    EXPECT_EQ(TileCount(), 0);
    EXPECT_TRUE(FlowPanel()->Tiles().isEmpty());
    for (const QPointer<TPanel>& tile : old)
        EXPECT_TRUE(!tile || tile->isHidden());
    WaitForBuild();
    EXPECT_EQ(TileCount(), 300);
    EXPECT_EQ(Tiles()[0]->pos(), QPoint(5, 3)); // the new flow starts afresh
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        return std::all_of(old.cbegin(), old.cend(), [](const auto& tile) { return !tile; });
    }));

    // Those still waiting when the catalogue goes, go with it.
    for (TPanel* tile : Tiles())
        old.emplace_back(tile);
    window->SelectFontType(5, true);
    ASSERT_TRUE(window->close());
    EXPECT_EQ(window->FontPool, nullptr);
    EXPECT_TRUE(std::all_of(old.cbegin(), old.cend(), [](const auto& tile) { return !tile; }));
}
