// Sample view rebuild, filters and status.
#include "fonts/FontPool.h"

#include "fontengine/TileTextFactory.h"
#include "fonts/FirstPaintBudget.h"
#include "fonts/FlowLayoutPanel.h"
#include "fonts/FontPoolCore.h"
#include "fonts/Panel.h"
#include "fonts/StepwiseRemeasure.h"
#include "platform/TextFileList.h"
#include "tags/TagCaption.h"
#include "ui/Glyphorama.h"
#include "ui_Glyphorama.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <algorithm>
#include <utility>

namespace {

// The scroll box that holds the flow panel (through its viewport), if any.
QAbstractScrollArea* enclosingScrollBox(QWidget* widget) {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* box = qobject_cast<QAbstractScrollArea*>(w))
            return box;
    return nullptr;
}

void setStatusText(int panel, const QString& text) {
    if (!Glyphorama)
        return;
    if (QLabel* label = Glyphorama->StatusPanel(panel)) {
        // Panel 2 shows a tag name, which comes from the user's files.
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
    }
}

// Destroys a unit's tile and forgets it.
void destroyTile(TFontUnit& unit) {
    delete std::exchange(unit.Tile, nullptr);
}

} // namespace

bool TFontPool::FontTypeAdmits(int fontType, int fontClass) {
    if (fontClass < fcJapaneseFixed || fontClass > fcAtInName)
        return false;
    switch (fontType) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
        return fontClass == fontType;
    case 5:
        return fontClass != fcVertical;
    case 6:
        return true;
    default:
        return false;
    }
}

void TFontPool::RebuildView(const QString& tagName) {
    // A request made while tiles are being built is dropped, not queued.
    if (Building)
        return;
    if (ProgressBar) {
        ProgressBar->setValue(0);
        ProgressBar->setMinimum(0);
    }
    ClearView();
    if (!tagName.isEmpty()) {
        SetFontType(5);
        CollectByFontType(5);
        KeepTagFonts(tagName);
        setStatusText(2, tr("%1タグ").arg(TagCaption(tagName)));
    } else {
        CollectByFontType(Options.CurrentFontType);
        DropTrashFonts();
        setStatusText(2, tr("なし"));
    }
    emit ViewCollected(tagName);
    // The tiles of a first start have no caption measured yet: the other cores measure them
    // ahead of the builder.
    if (Options.SampleString.isEmpty()) {
        std::vector<CaptionMeasurer::Face> faces;
        faces.reserve(ViewList.size());
        for (const TFontUnit* unit : ViewList)
            faces.push_back({unit->FaceFile, unit->FaceIndex, unit->Name});
        samples_->MeasureAhead(faces);
    }
    // A bar whose maximum equals its minimum shows an endless busy animation in Qt; an empty
    // view keeps a still, empty bar instead.
    if (ProgressBar)
        ProgressBar->setMaximum(std::max(1, static_cast<int>(ViewList.size())));
    Building = true;
    FirstPaintBudget::Hold();
    Builder = new TFontPoolCore(true, ProgressBar, Options);
    Builder->Units = ViewList;
    Builder->OnTerminate = [this](platform::Thread*) { BuilderTerminated(); };
    Builder->FreeOnTerminate = true;
    Builder->Start();
    UpdateStatus();
    emit ViewRebuilt();
}

void TFontPool::CollectByFontType(int fontType) {
    for (const auto& unit : FontList)
        if (FontTypeAdmits(fontType, unit->FontClass))
            ViewList.push_back(unit.get());
}

void TFontPool::KeepTagFonts(const QString& tagName) {
    platform::TextFileList names;
    if (!LoadTagFile(tagName, names)) {
        ViewList.clear();
        return;
    }
    std::erase_if(ViewList, [&names](const TFontUnit* unit) {
        return std::none_of(names.Strings.cbegin(), names.Strings.cend(),
                            [unit](const QString& name) { return unit->IsNamed(name); });
    });
}

void TFontPool::DropTrashFonts() {
    platform::TextFileList names;
    if (!LoadTagFile(TrashTagName, names))
        return;
    std::erase_if(ViewList, [&names](const TFontUnit* unit) {
        return std::any_of(names.Strings.cbegin(), names.Strings.cend(),
                           [unit](const QString& name) { return unit->IsNamed(name); });
    });
}

void TFontPool::ClearView() {
    // Pending re-measuring is for tiles about to go; a new build measures its own.
    resampler_->Cancel();
    // The flow panel hides its tiles at once and destroys them a slice at a time. It hides
    // them before the scroll box below: hiding a widget tells every child not yet hidden, so
    // hiding the box first would tell each of tens of thousands of tiles twice more.
    if (FlowPanel)
        FlowPanel->DiscardTiles();
    // Hidden, the deletions below (of tiles outside the flow) cost no repaint or layout each;
    // the main panel's caption shows meanwhile.
    QAbstractScrollArea* scrollBox = enclosingScrollBox(FlowPanel);
    if (scrollBox)
        scrollBox->hide();
    if (FlowPanel)
        FlowPanel->hide();
    for (TFontUnit* unit : ViewList) {
        if (FlowPanel && unit->Tile && unit->Tile->parentWidget() == FlowPanel) {
            unit->Tile = nullptr;
        } else {
            destroyTile(*unit);
        }
    }
    ViewList.clear();
    if (FlowPanel) {
        FlowPanel->show();
        FlowPanel->FitHeight();
    }
    if (scrollBox)
        scrollBox->show();
}

void TFontPool::RemoveTile(int tag) {
    const auto it = std::find_if(ViewList.begin(), ViewList.end(), [tag](const TFontUnit* unit) {
        return unit->Tile && unit->Tile->Tag == tag;
    });
    if (it == ViewList.end())
        return;
    destroyTile(**it);
    ViewList.erase(it);
    // Close the gap the tile leaves in the flow.
    if (FlowPanel)
        FlowPanel->FitHeight();
    emit TileRemoved();
}

void TFontPool::UpdateStatus() {
    // Panel 0 counts the fonts shown, which the view's filters decide: it is theirs to write.
    switch (Options.CurrentFontType) {
    case 1:
        setStatusText(1, tr("日本語フォント"));
        break;
    case 2:
        setStatusText(1, tr("欧文フォント"));
        break;
    default:
        setStatusText(1, tr("全て"));
        break;
    }
}

void TFontPool::SetFontType(int fontType) {
    Options.CurrentFontType = fontType;
    if (!Glyphorama)
        return;
    QToolButton* pressed = fontType == 1   ? Glyphorama->ui->ShowJapanese
                           : fontType == 2 ? Glyphorama->ui->ShowEnglish
                                           : Glyphorama->ui->ShowAll;
    // Grouped buttons: pressing one releases the others, whether or not the form groups them.
    for (QToolButton* button :
         {Glyphorama->ui->ShowEnglish, Glyphorama->ui->ShowJapanese, Glyphorama->ui->ShowAll})
        button->setChecked(button == pressed);
}

void TFontPool::CancelBuild() {
    if (Building && Builder)
        Builder->Cancel();
}

TFontUnit* TFontPool::FindUnitByTileTag(int tag) const {
    for (TFontUnit* unit : ViewList)
        if (unit->Tile && unit->Tile->Tag == tag)
            return unit;
    return nullptr;
}
