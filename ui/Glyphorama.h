#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/AppCore.h"
#include "fonts/FontPool.h"
#include "platform/ImageList.h"

namespace Ui {
class TGlyphorama;
}
class QLabel;
class QMenu;
class QMessageBox;
class QAction;
class OrganiseControls;
class SampleViewControls;
namespace platform {
class Thread;
class HttpClient;
class BalloonHint;
} // namespace platform
class WindowPlacement;

// The main window: its form, its lifecycle and the window-level commands.
class TGlyphorama : public QWidget {
    Q_OBJECT
public:
    explicit TGlyphorama(QWidget* parent = nullptr);
    ~TGlyphorama() override;

    int ChosenFontType = 2;
    std::unique_ptr<TAppCore> AppCore;
    std::unique_ptr<TFontPool> FontPool;

    Ui::TGlyphorama* const ui;
    platform::ImageList* ImageList24 = nullptr;
    platform::ImageList* ImageList16 = nullptr;
    QMenu* ToolMenu = nullptr;
    QMenu* TagMenu = nullptr;
    QMenu* ContextMenu = nullptr;
    platform::HttpClient* IdHTTP = nullptr;
    platform::BalloonHint* NoticeHint = nullptr;

    // The status bar's four panels.
    QLabel* StatusPanel(int index) const;

    // --- Lifecycle
    void FormCreate();
    // The saved outer bounds, applied before the window first goes on screen (the rest of the
    // first show's work is FormShow's).
    void RestoreBounds();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void FormKeyDown(int key);
    void FormKeyPress(int key);
    // The session ends (a signal, the desktop's logout): the ordinary close, which saves and
    // releases, but one that cannot be refused, since the session does not wait for the
    // version check; a running check is stopped.
    void EndSession();
    // The ordinary close, and a new start of the program once this one has ended (in the
    // language just chosen). A refused close (a running version check) starts nothing.
    void RestartNow();

    // --- Sample view
    void SelectFontType(int fontType, bool rebuild);
    void DisableViewButtons();
    void EnableViewButtons();
    void ShowEnglishClick();
    void ShowJapaneseClick();
    void ShowAllClick();
    void SampleTextLeftButtonClick();
    void SampleTextRightButtonClick();
    void SwitchSampleViewModeButtonClick();
    void FlowPanelResize();
    // Every wheel event of the application scrolls the sample view by 32 pixels.
    bool ApplicationEventsMessage(QObject* receiver, QEvent* event);

    // --- Tags
    void TagMenuPopup();
    void DeleteTagClick();
    void RenameTagClick();
    void NewTagButtonClick();
    void AskRenameTag(const QString& oldName);
    int TagMenuTag = -1; // position in the tag bar of the button whose menu is open

    // --- Help and shell commands
    void S1Click();
    void U1Click();
    void O2Click();
    void M1Click();
    void X2Click();
    void ShowAboutClick();
    void CopyFontNameClick();
    int ContextMenuTag = -1; // tag number of the tile whose menu is open

    // --- Update notice
    void GetInternetDataTerminate(platform::Thread* sender);

    static constexpr int WM_REMOVE_TILE = 0x400 + 100;

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void flattenScrollBar();
    void createImageLists();
    void createMenus();
    void connectHandlers();
    void releaseCatalogue();
    void stopVersionCheck();
    WindowPlacement* placement_ = nullptr;
    // Reads the families while the window is built; handed to the catalogue in FormCreate.
    std::unique_ptr<CatalogueScan> scan_;
    bool boundsRestored_ = false;
    // What the sample view offers beyond the window's own commands: its filters and count,
    // the preview size, the keyboard on the tiles, favourite marks, the details window.
    SampleViewControls* controls_ = nullptr;
    // The organising steps on the tags, with their undo and redo.
    OrganiseControls* organise_ = nullptr;
    bool shown_ = false;
    bool closed_ = false;
    bool tagsLoaded_ = false;
    bool endingSession_ = false;
    QPointer<QMessageBox> closeRefusal_;
    QPointer<platform::Thread> versionCheck_;
};

// The one main window of the process.
extern TGlyphorama* Glyphorama;
// The notice download is under way: the window refuses to close.
extern bool VersionCheckRunning;
