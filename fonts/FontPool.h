#pragma once

#include "fonts/CatalogueScan.h"
#include "fonts/FontUnit.h"
#include "platform/FontFamilies.h"

#include <QObject>
#include <QPoint>
#include <QSet>
#include <functional>
#include <memory>
#include <vector>

class QProgressBar;
class QToolButton;
class FlowLayoutPanel;
class TagToolBar;
class TGlyphorama;
class TFontPoolCore;
class TPanel;
class StepwiseRemeasure;
class TileTextFactory;
namespace platform {
class TextFileList;
}
namespace sample_view_test {
class SampleViewTest;
}

// The font catalogue and the controller of the sample view and the tag list.
class TFontPool : public QObject {
    Q_OBJECT
public:
    // Starts from the installed families and the face cache, read by a CatalogueScan.
    TFontPool(TGlyphorama* window, FlowLayoutPanel* flowPanel, QProgressBar* progressBar,
              TagToolBar* tagBar, CatalogueScan::Result start);
    ~TFontPool() override;

    // Where the installed families come from; tests and benchmarks put their own here.
    static std::function<std::vector<platform::FontFamilyRecord>()> FontSource;
    // The file that keeps what tiles need from each font between runs; empty: none.
    static std::function<QString()> FaceCachePath;

    TFontPoolCore* Builder = nullptr;
    bool Building = false;
    FlowLayoutPanel* const FlowPanel;
    QProgressBar* const ProgressBar;
    TagToolBar* const TagBar;
    std::vector<std::unique_ptr<TFontUnit>> FontList;
    TGlyphoramaOptions Options;
    std::vector<TFontTag> TagList;
    std::vector<TFontUnit*> ViewList;

    // --- Font enumeration and classification
    void EnumerateFonts(const std::vector<platform::FontFamilyRecord>& families);
    // Records one reported family (TrueType ones only) at the end of the list.
    static int FontFamilyCallback(const platform::FontFamilyRecord& record,
                                  std::vector<std::unique_ptr<TFontUnit>>& list);
    static int ClassifyFont(const platform::FontFamilyRecord& record);

    // --- Sample view: rebuild, filters and status
    static bool FontTypeAdmits(int fontType, int fontClass);
    void RebuildView(const QString& tagName);
    void CollectByFontType(int fontType);
    void KeepTagFonts(const QString& tagName);
    void DropTrashFonts();
    void ClearView();
    void RemoveTile(int tag);
    void UpdateStatus();
    void SetFontType(int fontType);
    void CancelBuild();
    // The shown unit whose tile carries the tag number, or none.
    TFontUnit* FindUnitByTileTag(int tag) const;

    // --- Tiles and their builder
    void BuildTile(TFontUnit& unit, int index, const TGlyphoramaOptions& options);
    void BuilderTerminated();
    void TileMouseEnter(TPanel* sender);
    void TileMouseLeave(TPanel* sender);
    void TileMouseDown(TPanel* sender, Qt::MouseButton button, QPoint pos);

    // --- Sample text and drawing modes
    void ApplySampleText(const QString& text);
    // Draws the tiles' samples at another size; like the sample text, refused while building,
    // else every tile is measured and laid out again.
    void SetSamplePointSize(int pointSize);
    void SetSampleViewMode(int mode);
    int ToggleSampleViewMode();

    // --- Tag store
    static const QString TrashTagName;     // "ゴミ箱"
    static const QString FavoritesTagName; // "お気に入り"
    static const QString SeparatorTagName; // "/-/"
    void LoadTags(const QStringList& userTagNames);
    QStringList SaveTagNames() const;
    QString TagFilePath(const QString& tagName) const;
    bool LoadTagFile(const QString& tagName, platform::TextFileList& list) const;
    bool AddFontToTag(const QString& tagName, const QString& fontName);
    // The fonts not yet in the tag, in one write; how many were added. Raises EFileError,
    // leaving the file as it was, when it cannot be read or written.
    int AddFontsToTag(const QString& tagName, const QStringList& fontNames);
    // Takes out the lines naming the fonts (under any of their names); every other line keeps
    // its bytes. How many lines went; raises EFileError as AddFontsToTag does.
    int TakeFontsOutOfTag(const QString& tagName, const QStringList& fontNames);
    // The tag's file has changed: its count, the bar and whoever shows its fonts follow.
    void TagFileChanged(const QString& tagName);
    // Makes the user tags these, in this order, as an undo puts them back.
    void SetUserTags(const QStringList& names);
    void AddTag(const QString& name);
    // These two change the file before the entry; when the file cannot be deleted or moved
    // (a file of the new name exists), they raise EFileError and leave both as they were.
    void RemoveTag(const QString& name);
    void RenameTag(const QString& oldName, const QString& newName);
    // The user tags to save at close, given the list the settings file holds now: ours, then
    // those another writer added meanwhile whose files exist, unless this session removed or
    // renamed them.
    QStringList MergedTagNames(const QStringList& listedNow) const;
    // Whether renaming the tag to newName would land on a file that is not its own.
    bool TagFileTaken(const QString& newName, const QString& oldName) const;
    int FindTag(const QString& name) const;
    bool TagExists(const QString& name) const;
    // Whether no file of the tag remains.
    bool DeleteTagFile(const QString& name);

    // --- Tag bar
    void RebuildTagBar();
    void AddTagButton(int index);
    void AddNewTagButton();
    void TagButtonMouseDown(QToolButton* button, Qt::MouseButton mouseButton, QPoint pos);
    void TagButtonDragDrop(QToolButton* target, QObject* source);
    void TagButtonClick(QToolButton* button);

signals:
    // The view has picked its fonts into ViewList, by font type or by the tag (empty: none),
    // and is about to build their tiles: whatever narrows or orders the view further does it
    // now, on ViewList.
    void ViewCollected(const QString& tagName);
    // The view shows a new selection of fonts, whose tiles are now being built.
    void ViewRebuilt();
    // The tiles show a new sample text (the old one when it was applied again).
    void SampleTextApplied(const QString& text);
    // Fonts were added to the tag or taken out of it (or found there already).
    void TagFontsChanged(const QString& tagName);
    // A tile was dropped on the button of the tag: whoever organises takes it from here.
    void TileDroppedOnTag(const QString& tagName, TPanel* tile);
    // A tile left the view without a rebuild.
    void TileRemoved();

private:
    bool hasTagFile(const QString& name) const;
    // The tests of the sample view look at what the tiles are drawn from.
    friend class sample_view_test::SampleViewTest;

    // Draws each tile from its family's own face; the faces stay open for the catalogue's life.
    const std::unique_ptr<TileTextFactory> samples_;
    // Names of tags removed or renamed away in this session: a close must not bring them back
    // from a list another writer saved.
    QSet<QString> droppedTags_;
    // Measures the shown tiles again after the sample text or size changed, a few at a time.
    StepwiseRemeasure* const resampler_;

    // Gives the unit's tile its sample from the options, with the width and label to match.
    void SampleTile(TFontUnit& unit, const TGlyphoramaOptions& options);
    // SampleTile for every tile shown, those in view first, the rest in steps from the event
    // loop; the flow is laid out again for the new widths.
    void ResampleTiles();
    // Tiles grow with their text: 82 pixels at the 16-point default.
    static int TileHeight(int pointSize);
    // The colours of a drawing mode; other modes leave the tile as it is.
    static void PaintTileColors(TPanel* tile, int mode);
    // Whether a tag file's lines name the family already, under any of its names.
    bool IsListedInTag(const platform::TextFileList& list, const QString& fontName) const;
};
