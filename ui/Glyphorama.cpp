#include "ui/Glyphorama.h"

#include "ui_Glyphorama.h"

#include "app/Language.h"
#include "notice/VersionCheck.h"
#include "platform/Application.h"
#include "platform/BalloonHint.h"
#include "platform/Exceptions.h"
#include "platform/Folders.h"
#include "platform/FormKeys.h"
#include "platform/HttpClient.h"
#include "platform/Messages.h"
#include "platform/SessionEnd.h"
#include "platform/Thread.h"
#include "ui/CroppedRowLayout.h"
#include "ui/LanguageMenu.h"
#include "ui/OrganiseControls.h"
#include "ui/SampleViewControls.h"
#include "ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>

#ifdef __GLIBC__
#include <malloc.h>
#endif

TGlyphorama* Glyphorama = nullptr;
bool VersionCheckRunning = false;

namespace {

QStringList iconFiles(const QString& folder, const QStringList& names) {
    QStringList files;
    for (int i = 0; i < names.size(); ++i)
        files.append(QStringLiteral(":/forms/icons/%1/%2-%3.svg").arg(folder).arg(i).arg(names[i]));
    return files;
}

} // namespace

TGlyphorama::TGlyphorama(QWidget* parent) : QWidget(parent), ui(new Ui::TGlyphorama) {
    // Other parts reach the window through the global from the creation handler on.
    Glyphorama = this;
    // The forms' first texts make Qt load its own list of every font, which takes as long
    // as reading ours: the two overlap.
    scan_ = std::make_unique<CatalogueScan>(TFontPool::FontSource, TFontPool::FaceCachePath());
    ui->setupUi(this);
    // Neither bar may hold the window wider than the user made it: they are cut off instead.
    // The designed rows are gone: their names now stand for the rows that replace them.
    ui->SampleControlLayout = CroppedRowLayout::Replace(ui->SampleControlPanel);
    ui->StatusBarLayout = CroppedRowLayout::Replace(ui->StatusBar);
    flattenScrollBar();
    createImageLists();
    createMenus();
    IdHTTP = new platform::HttpClient(this);
    IdHTTP->setObjectName(QStringLiteral("IdHTTP"));
    NoticeHint = new platform::BalloonHint(this);
    NoticeHint->setObjectName(QStringLiteral("NoticeHint"));
    placement_ = new WindowPlacement(this);
    connectHandlers();
    FormCreate();
    controls_ = new SampleViewControls(*this);
    organise_ = new OrganiseControls(*this, *controls_);
}

TGlyphorama::~TGlyphorama() {
    qApp->removeEventFilter(this);
    // The catalogue's tiles live in our widgets: release it while they still exist.
    FontPool.reset();
    AppCore.reset();
    delete ui;
    if (Glyphorama == this)
        Glyphorama = nullptr;
}

void TGlyphorama::flattenScrollBar() {
    // The desktop style draws the thumb light on a grey groove: beside a few tiles, where the
    // thumb is long, the grey rest below it passes for the thumb and seems to move the wrong
    // way. A flat bar with a dark thumb on a light groove reads one way only. Set on the bar
    // itself: on the scroll box the sheet would reach every tile.
    ui->ScrollBox->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: rgb(236, 236, 236); width: 14px; margin: 0px; "
        "border: none; }"
        "QScrollBar::handle:vertical { background: rgb(150, 150, 150); min-height: 24px; "
        "margin: 2px 3px; border-radius: 3px; }"
        "QScrollBar::handle:vertical:hover { background: rgb(120, 120, 120); }"
        "QScrollBar::handle:vertical:pressed { background: rgb(90, 90, 90); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; "
        "border: none; background: none; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
}

void TGlyphorama::createImageLists() {
    ImageList24 = new platform::ImageList(
        24,
        iconFiles(QStringLiteral("24"),
                  {QStringLiteral("circular-arrow"), QStringLiteral("heart"),
                   QStringLiteral("letter-a"), QStringLiteral("hiragana-a"),
                   QStringLiteral("asterisk"), QStringLiteral("magnifier-white"),
                   QStringLiteral("magnifier-black"), QStringLiteral("wrench"),
                   QStringLiteral("shopping-bag")}),
        this);
    ImageList24->setObjectName(QStringLiteral("ImageList24"));
    ImageList16 = new platform::ImageList(
        16,
        iconFiles(QStringLiteral("16"), {QStringLiteral("magic-wand"), QStringLiteral("cross"),
                                         QStringLiteral("heart"), QStringLiteral("prohibition")}),
        this);
    ImageList16->setObjectName(QStringLiteral("ImageList16"));

    platform::SetButtonImage(ui->SwitchSampleViewModeButton, *ImageList24, 5);
    platform::SetButtonImage(ui->ShowEnglish, *ImageList24, 2);
    platform::SetButtonImage(ui->ShowJapanese, *ImageList24, 3);
    platform::SetButtonImage(ui->ShowAll, *ImageList24, 4);
    platform::SetButtonImage(ui->ToolButton6, *ImageList24, 7);
    platform::SetButtonImage(ui->NewTag, *ImageList16, 0);
    platform::SetButtonImage(ui->ToolButton5, *ImageList16, 2);
    platform::SetButtonImage(ui->ToolButton7, *ImageList16, 3);

    auto* apply = ui->SampleText->addAction(ImageList16->Icon(0), QLineEdit::LeadingPosition);
    apply->setObjectName(QStringLiteral("SampleTextLeftButton"));
    apply->setToolTip(tr("サンプルテキストを適用"));
    auto* clear = ui->SampleText->addAction(ImageList16->Icon(1), QLineEdit::TrailingPosition);
    clear->setObjectName(QStringLiteral("SampleTextRightButton"));
    clear->setToolTip(tr("サンプルテキストを消去"));
}

void TGlyphorama::createMenus() {
    ToolMenu = ui->ToolMenu;
    TagMenu = ui->TagMenu;
    ContextMenu = ui->ContextMenu;
    auto* languages = new LanguageMenu(InterfaceLanguage::Current(), ToolMenu);
    ToolMenu->insertMenu(ui->N4, languages);
    connect(languages, &LanguageMenu::LanguageChosen, this, [this](const QString& language) {
        if (AppCore && SaveLanguageChoice(this, AppCore->IniPath(SettingsFileName), language))
            // From the window's own loop: the menu that chose is still unwinding here.
            QMetaObject::invokeMethod(this, &TGlyphorama::RestartNow, Qt::QueuedConnection);
    });
    ui->ToolButton6->setMenu(ToolMenu);
    ui->ToolButton6->setPopupMode(QToolButton::InstantPopup);
}

void TGlyphorama::connectHandlers() {
    connect(ui->ShowEnglish, &QToolButton::clicked, this, &TGlyphorama::ShowEnglishClick);
    connect(ui->ShowJapanese, &QToolButton::clicked, this, &TGlyphorama::ShowJapaneseClick);
    connect(ui->ShowAll, &QToolButton::clicked, this, &TGlyphorama::ShowAllClick);
    connect(ui->SwitchSampleViewModeButton, &QToolButton::clicked, this,
            &TGlyphorama::SwitchSampleViewModeButtonClick);
    connect(findChild<QAction*>(QStringLiteral("SampleTextLeftButton")), &QAction::triggered, this,
            &TGlyphorama::SampleTextLeftButtonClick);
    connect(findChild<QAction*>(QStringLiteral("SampleTextRightButton")), &QAction::triggered, this,
            &TGlyphorama::SampleTextRightButtonClick);
    // Enter applies the text; a line edit never beeps, so swallowing the key needs nothing.
    connect(ui->SampleText, &QLineEdit::returnPressed, this,
            &TGlyphorama::SampleTextLeftButtonClick);
    connect(ui->FlowPanel, &FlowLayoutPanel::Resized, this, &TGlyphorama::FlowPanelResize);

    connect(ui->S1, &QAction::triggered, this, &TGlyphorama::S1Click);
    connect(ui->U1, &QAction::triggered, this, &TGlyphorama::U1Click);
    connect(ui->O2, &QAction::triggered, this, &TGlyphorama::O2Click);
    connect(ui->M1, &QAction::triggered, this, &TGlyphorama::M1Click);
    connect(ui->X2, &QAction::triggered, this, &TGlyphorama::X2Click);
    connect(ui->ShowAbout, &QAction::triggered, this, &TGlyphorama::ShowAboutClick);
    connect(TagMenu, &QMenu::aboutToShow, this, &TGlyphorama::TagMenuPopup);
    connect(ui->DeleteTag, &QAction::triggered, this, &TGlyphorama::DeleteTagClick);
    connect(ui->RenameTag, &QAction::triggered, this, &TGlyphorama::RenameTagClick);
    connect(ui->CopyFontName, &QAction::triggered, this, &TGlyphorama::CopyFontNameClick);

    // Keys are previewed and the wheel is seen application-wide.
    qApp->installEventFilter(this);
}

QLabel* TGlyphorama::StatusPanel(int index) const {
    switch (index) {
    case 0:
        return ui->StatusPanel0;
    case 1:
        return ui->StatusPanel1;
    case 2:
        return ui->StatusPanel2;
    case 3:
        return ui->StatusPanel3;
    default:
        return nullptr;
    }
}

void TGlyphorama::FormCreate() {
    // Asked to end while the fonts are still being read (a hung font file, a slow disk): the
    // window is left without a catalogue, having read and made nothing, and is never shown.
    if (!scan_->WaitUntilRead(platform::SessionEnd::Requested)) {
        scan_.reset();
        return;
    }
    AppCore = std::make_unique<TAppCore>();
    FontPool = std::make_unique<TFontPool>(this, ui->FlowPanel, ui->ProgressBar, ui->TagBar,
                                           std::exchange(scan_, nullptr)->Take());
#ifdef __GLIBC__
    // The scan read every installed family on a thread of its own, whose memory the C library
    // keeps apart from ours: what the catalogue did not keep goes back to the system now,
    // before the tiles are made, instead of adding to the peak for the program's life.
    malloc_trim(0);
#endif
    // On Linux the documents folder itself may not exist yet; without it nothing of ours
    // could be saved, so it is made as well.
    const QString documents = QFileInfo(AppCore->DataDir).path();
    if (!platform::DirectoryExists(documents))
        QDir().mkpath(documents);
    for (const QString& folder : {AppCore->DataDir, AppCore->TagDir, AppCore->ResourceDir})
        if (!platform::DirectoryExists(folder))
            platform::CreateDir(folder);
}

void TGlyphorama::RestoreBounds() {
    const QString ini = SettingsFileName;
    const QString settings = QStringLiteral("settings");
    // The keys hold the outer bounds, frame included.
    const QRect frame = frameGeometry();
    const int top = AppCore->IniReadInteger(ini, settings, QStringLiteral("form_top"), frame.y());
    const int left = AppCore->IniReadInteger(ini, settings, QStringLiteral("form_left"), frame.x());
    const int width = AppCore->IniReadInteger(ini, settings, QStringLiteral("form_width"), 500);
    const int height = AppCore->IniReadInteger(ini, settings, QStringLiteral("form_height"), 500);
    placement_->Apply(QRect(left, top, width, height));
}

void TGlyphorama::FormShow() {
    const QString ini = SettingsFileName;
    const QString settings = QStringLiteral("settings");
    const int mode = AppCore->IniReadInteger(ini, settings, QStringLiteral("sample_view_mode"), 0);
    FontPool->SetSampleViewMode(mode);
    if (mode == 0)
        platform::SetButtonImage(ui->SwitchSampleViewModeButton, *ImageList24, 5);
    else if (mode == 1)
        platform::SetButtonImage(ui->SwitchSampleViewModeButton, *ImageList24, 6);

    // The first build already draws at the saved size.
    controls_->LoadSettings(*AppCore);
    SelectFontType(AppCore->IniReadInteger(ini, settings, QStringLiteral("current_font_type"), 2),
                   true);

    QStringList tags;
    std::exception_ptr damaged;
    try {
        AppCore->IniReadList(ini, QStringLiteral("tags"), tags);
    } catch (const platform::EConvertError&) {
        // The user is told, but keeps every tag the list still names; the close saves the
        // list whole again, so the error does not come back at every start.
        damaged = std::current_exception();
        tags.clear();
        AppCore->IniSalvageList(ini, QStringLiteral("tags"), tags);
    }
    FontPool->LoadTags(tags);
    tagsLoaded_ = true;
    FontPool->RebuildTagBar();
    if (damaged)
        std::rethrow_exception(damaged);

    versionCheck_ = StartVersionCheck(this);
}

bool TGlyphorama::FormCloseQuery() {
    if (!VersionCheckRunning)
        return true;
    // One box answers every request made while it is up: the close button, 終了 and Esc
    // may all come at once, and a key may even reach the window twice.
    if (closeRefusal_) {
        closeRefusal_->raise();
        closeRefusal_->activateWindow();
        return false;
    }
    // Shown without a loop of its own: a box run from inside a close is still part of that
    // close, and Qt takes a second close request during it for an accepted one, ending the
    // program without a word and without the settings.
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Glyphorama"),
                                tr("最新バージョンの問い合わせ中です。\r\n"
                                   "正常にネットワークが閉じられるまでしばらくお待ちください。"),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("CloseRefusal"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    closeRefusal_ = box;
    box->show();
    return false;
}

void TGlyphorama::FormClose() {
    if (!AppCore || !FontPool)
        return;
    const QString ini = SettingsFileName;
    const QString settings = QStringLiteral("settings");
    AppCore->IniWriteInteger(ini, settings, QStringLiteral("current_font_type"), ChosenFontType);
    AppCore->IniWriteInteger(ini, settings, QStringLiteral("sample_view_mode"),
                             FontPool->Options.SampleViewMode);
    // A list that could not be read at start must not overwrite the user's saved tags.
    // Another writer (an older version, a hand edit) may have listed tags since the start:
    // the list is merged with the file's as it is now, never written from our copy alone.
    if (tagsLoaded_) {
        QStringList listed;
        try {
            AppCore->IniReadList(ini, QStringLiteral("tags"), listed);
        } catch (const platform::EConvertError&) {
            listed.clear();
            AppCore->IniSalvageList(ini, QStringLiteral("tags"), listed);
        }
        const QStringList tags = FontPool->MergedTagNames(listed);
        AppCore->IniWriteList(ini, QStringLiteral("tags"), tags, static_cast<int>(tags.size()));
    }
    const QRect frame = placement_->Outer();
    AppCore->IniWriteInteger(ini, settings, QStringLiteral("form_top"), frame.y());
    AppCore->IniWriteInteger(ini, settings, QStringLiteral("form_left"), frame.x());
    AppCore->IniWriteInteger(ini, settings, QStringLiteral("form_width"), frame.width());
    AppCore->IniWriteInteger(ini, settings, QStringLiteral("form_height"), frame.height());
    controls_->SaveSettings(*AppCore);
    releaseCatalogue();
}

void TGlyphorama::releaseCatalogue() {
    FontPool.reset();
    AppCore.reset();
}

void TGlyphorama::FormKeyDown(int key) {
    platform::CloseOnEscape(this, key);
}

void TGlyphorama::FormKeyPress(int key) {
    if (key == Qt::Key_Escape && FontPool)
        FontPool->CancelBuild();
}

void TGlyphorama::setVisible(bool visible) {
    // A window manager takes a position as the frame's only from a window that is not on
    // screen yet: once shown, the request would place the client and the frame would drift.
    if (visible && !boundsRestored_ && AppCore) {
        boundsRestored_ = true;
        RestoreBounds();
    }
    QWidget::setVisible(visible);
}

void TGlyphorama::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TGlyphorama::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (!endingSession_ && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    closed_ = true;
    event->accept();
    if (closeRefusal_)
        closeRefusal_->close();
    try {
        FormClose();
    } catch (...) {
        // The settings could not be saved. Say so, but let the user leave all the same:
        // a window that can never close would be worse than settings not kept.
        releaseCatalogue();
        if (auto* app = platform::Application::instance())
            app->ShowException(std::current_exception());
    }
    stopVersionCheck();
}

void TGlyphorama::EndSession() {
    // Before the first show nothing has been read that could be saved.
    if (closed_ || !shown_)
        return;
    endingSession_ = true;
    close();
}

void TGlyphorama::stopVersionCheck() {
    // Only a session's end closes the window while the check runs. The check is of no use
    // any more: end its request now and wait for the thread, which a loop that has ended
    // would otherwise never see off.
    if (!versionCheck_)
        return;
    IdHTTP->Cancel();
    versionCheck_->WaitFor();
}

bool TGlyphorama::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(WM_REMOVE_TILE)) {
        if (FontPool)
            FontPool->RemoveTile(
                static_cast<int>(static_cast<platform::MessageEvent*>(event)->LParam));
        return true;
    }
    return QWidget::event(event);
}

bool TGlyphorama::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false; // the same input reaches the widgets after their windows
    if (event->type() == QEvent::Wheel)
        return ApplicationEventsMessage(watched, event);
    if (event->type() != QEvent::KeyPress)
        return false;
    // Keys reach the focused widget first and may then travel up to its parents: preview
    // each key once, at its first receiver.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != this)
        first = this;
    if (watched != first || closed_)
        return false;
    if (controls_ && controls_->TakeKey(*static_cast<QKeyEvent*>(event)))
        return true;
    const int key = static_cast<QKeyEvent*>(event)->key();
    FormKeyDown(key);
    // The close has destroyed the tiles, and the focused one was to receive this key.
    if (closed_)
        return true;
    FormKeyPress(key);
    return false;
}
