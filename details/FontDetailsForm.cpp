#include "details/FontDetailsForm.h"

#include "details/CharacterTab.h"
#include "details/FeaturesTab.h"
#include "details/FontWaterfall.h"
#include "fontengine/FontFileReader.h"
#include "fontengine/GlyphRunPainter.h"
#include "platform/Desktop.h"
#include "platform/FontFamilies.h"
#include "platform/FormKeys.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Window titles this long say all they can; a name table may hold far more.
constexpr int MaxWindowTitleLength = 120;

// The family's name as the window's heading. A name table may hold thousands of characters,
// and a label asks for the width of its whole text: shown elided to the label's width, the
// whole name in the tooltip (and selectable in the names table). Selecting the heading itself
// is offered only while it shows the whole name.
class ElidedTitle : public QLabel {
public:
    explicit ElidedTitle(const QString& text, QWidget* parent) : QLabel(parent), whole_(text) {
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setText(whole_);
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override {
        return {std::min(QLabel::sizeHint().width(), 600), QLabel::sizeHint().height()};
    }

protected:
    // A label not yet laid out has a width of no meaning: it keeps the whole name until shown.
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        if (isVisible())
            elide();
    }
    void showEvent(QShowEvent* event) override {
        QLabel::showEvent(event);
        elide();
    }
    void changeEvent(QEvent* event) override {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::FontChange && isVisible())
            elide();
    }

private:
    void elide() {
        const QString shown = fontMetrics().elidedText(whole_, Qt::ElideRight, width());
        const bool whole = shown == whole_;
        if (text() != shown)
            setText(shown);
        setToolTip(whole ? QString() : whole_);
        setTextInteractionFlags(whole ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    }

    const QString whole_;
};

// At most length characters, a surrogate pair never split, and "…" where text was cut.
QString shortened(const QString& text, int length) {
    if (text.size() <= length)
        return text;
    int cut = length - 1;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

// Each style's name drawn in that style, from its own file: the list reads as a specimen.
// A name the face cannot draw whole (a Japanese style name in a Latin face) is drawn as
// plain text. Faces are opened as rows are first drawn and let go of their file after.
class OwnFaceDelegate : public QStyledItemDelegate {
public:
    OwnFaceDelegate(const FamilyDetails& details, QObject* parent)
        : QStyledItemDelegate(parent), details_(details),
          files_(std::make_shared<FontFileReader>()), faces_(details.Faces.size()),
          tried_(details.Faces.size(), false) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        GlyphRun run;
        const FontFace* face = index.column() == 0 ? shaped(index, &run) : nullptr;
        if (!face) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const QRect box =
            style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(2, 0, -2, 0);
        const double pixels = pixelsFor(option);
        const double scale = pixels / face->UnitsPerEm();
        const double baseline = box.top() +
                                (box.height() - (face->Ascent() + face->Descent()) * scale) / 2 +
                                face->Ascent() * scale;
        const QColor colour = option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setClipRect(box);
        glyphrun::Paint(*painter, face, run, QPointF(box.left(), baseline), pixels, colour,
                        glyphrun::MissingMarkColor());
        painter->restore();
        face->ReleaseMemory();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        GlyphRun run;
        if (const FontFace* face = index.column() == 0 ? shaped(index, &run) : nullptr) {
            const double pixels = pixelsFor(option);
            size.setWidth(std::max(size.width(),
                                   int(std::ceil(run.advance * pixels / face->UnitsPerEm())) + 8));
            size.setHeight(std::max(
                size.height(),
                int(std::ceil((face->Ascent() + face->Descent()) * pixels / face->UnitsPerEm())) +
                    4));
            face->ReleaseMemory();
        }
        return size;
    }

private:
    static double pixelsFor(const QStyleOptionViewItem& option) {
        return QFontInfo(option.font).pixelSize() * 1.25;
    }

    // The row's face with the style's name shaped in it, or none when it cannot draw it.
    const FontFace* shaped(const QModelIndex& index, GlyphRun* run) const {
        const int row = index.row();
        if (row < 0 || row >= static_cast<int>(faces_.size()))
            return nullptr;
        if (!tried_[row]) {
            tried_[row] = true;
            const FaceDetails& details = details_.Faces[row];
            faces_[row] = FontFace::Open(details.File, details.Index, files_);
            if (faces_[row])
                faces_[row]->ReleaseMemory();
        }
        const FontFace* face = faces_[row].get();
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!face || text.isEmpty())
            return nullptr;
        *run = face->Shape(text);
        if (run->missing > 0 || face->Lost()) {
            face->ReleaseMemory();
            return nullptr;
        }
        return face;
    }

    const FamilyDetails& details_;
    std::shared_ptr<FontFileReader> files_;
    mutable std::vector<std::unique_ptr<FontFace>> faces_;
    mutable std::vector<bool> tried_;
};

QTableWidgetItem* plainItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

FontDetailsForm::FontDetailsForm(FamilyDetails details, const QString& sampleText, QWidget* parent)
    : QDialog(parent), details_(std::move(details)) {
    setObjectName(QStringLiteral("FontDetailsForm"));
    // Window titles are never read as markup.
    setWindowTitle(tr("フォントの詳細 - %1").arg(shortened(details_.Family, MaxWindowTitleLength)));
    const QSize screen =
        (parent ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry().size();
    resize(std::min(720, screen.width()), std::min(560, screen.height()));

    auto* layout = new QVBoxLayout(this);
    title_ = new ElidedTitle(details_.Family, this);
    title_->setObjectName(QStringLiteral("FamilyNameLabel"));
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    layout->addWidget(title_);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("DetailsTabs"));
    layout->addWidget(tabs_, 1);

    waterfall_ = new FontWaterfall;
    waterfall_->setObjectName(QStringLiteral("Waterfall"));
    waterfall_->setAccessibleName(tr("見本"));
    waterfall_->SetText(sampleText.isEmpty() ? details_.Family : sampleText);
    sample_ = new QScrollArea;
    // Lines as wide as the view: what a line cannot show is never shaped.
    sample_->setWidgetResizable(true);
    sample_->setWidget(waterfall_);
    sample_->setBackgroundRole(QPalette::Base);
    samplePage_ = new QWidget;
    samplePage_->setAccessibleName(tr("見本"));
    auto* sampleLayout = new QVBoxLayout(samplePage_);
    sampleLayout->setContentsMargins(0, 0, 0, 0);
    unreadable_ = new QLabel(samplePage_);
    unreadable_->setObjectName(QStringLiteral("UnreadableFace"));
    unreadable_->setWordWrap(true);
    unreadable_->setTextFormat(Qt::PlainText);
    unreadable_->setText(tr("このスタイルのファイルは読めないか、壊れています。読めたことは"
                            "「スタイル」のタブにあります。"));
    unreadable_->hide();
    sampleLayout->addWidget(unreadable_);
    sampleLayout->addWidget(sample_, 1);
    tabs_->addTab(samplePage_, tr("見本"));

    auto* styles = new QSplitter(Qt::Vertical);
    styles->setAccessibleName(tr("スタイル", "the tab of all styles"));
    faces_ = new QTreeWidget(styles);
    faces_->setObjectName(QStringLiteral("FacesTree"));
    faces_->setAccessibleName(tr("スタイルの一覧"));
    faces_->setRootIsDecorated(false);
    faces_->setUniformRowHeights(false);
    // A path is read from both ends: its folder and its file's name.
    faces_->setTextElideMode(Qt::ElideMiddle);
    faces_->setItemDelegate(new OwnFaceDelegate(details_, faces_));
    faces_->setHeaderLabels({tr("スタイル", "one face's style"), tr("形式"), tr("バージョン"),
                             tr("グリフ数"), tr("ファイル")});
    faceText_ = new QPlainTextEdit(styles);
    faceText_->setObjectName(QStringLiteral("FaceText"));
    faceText_->setAccessibleName(tr("スタイルの情報"));
    faceText_->setReadOnly(true);
    tabs_->addTab(styles, tr("スタイル", "the tab of all styles"));

    features_ = new FeaturesTab;
    features_->setObjectName(QStringLiteral("FeaturesTab"));
    features_->setAccessibleName(tr("機能"));
    tabs_->addTab(features_, tr("機能"));

    names_ = new QTableWidget(0, 2);
    names_->setObjectName(QStringLiteral("NamesTable"));
    names_->setHorizontalHeaderLabels({tr("言語"), tr("名前")});
    names_->horizontalHeader()->setStretchLastSection(true);
    names_->verticalHeader()->hide();
    names_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    names_->setAccessibleName(tr("名前"));
    tabs_->addTab(names_, tr("名前"));
    // After the tabs the window always had, so that their places stay where users know them.
    characters_ = new CharacterTab;
    tabs_->addTab(characters_, tr("文字"));

    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(tr("フォント名をコピー"), this);
    copy->setObjectName(QStringLiteral("CopyFamilyName"));
    openFolder_ = new QPushButton(tr("フォルダーを開く"), this);
    openFolder_->setObjectName(QStringLiteral("OpenFontFolder"));
    auto* close = new QPushButton(tr("閉じる"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    // Enter in the lists is no request to copy or open anything.
    for (QPushButton* button : {copy, openFolder_, close})
        button->setAutoDefault(false);
    buttons->addWidget(copy);
    buttons->addWidget(openFolder_);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(copy, &QPushButton::clicked, this, &FontDetailsForm::CopyFamilyNameClick);
    connect(openFolder_, &QPushButton::clicked, this, &FontDetailsForm::OpenFolderClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(faces_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int index = item ? faces_->indexOfTopLevelItem(item) : -1;
        showFace(index);
        if (index >= 0)
            chooseFace(index);
    });
    connect(tabs_, &QTabWidget::currentChanged, this, &FontDetailsForm::placeSample);
    connect(features_, &FeaturesTab::ShapingChanged, this, [this](const ShapingOptions& options) {
        const bool turned = options.vertical != waterfall_->Shaping().vertical;
        waterfall_->SetShaping(options);
        // Vertical lines start at the right, where the eye does.
        if (turned && options.vertical)
            sample_->horizontalScrollBar()->setValue(sample_->horizontalScrollBar()->maximum());
    });
    connect(features_, &FeaturesTab::VariationsChanged, waterfall_, &FontWaterfall::SetVariations);

    fillNames();
    fillFaces();
}

FontDetailsForm* FontDetailsForm::ShowFor(const QString& family, const QString& sampleText,
                                          QWidget* parent) {
    if (parent)
        for (FontDetailsForm* open : parent->findChildren<FontDetailsForm*>())
            if (open->Details().Family == family && open->isVisible()) {
                open->raise();
                open->activateWindow();
                return open;
            }
    auto* form = new FontDetailsForm(
        ReadFamilyDetails(family, nullptr, platform::UserFontLanguage()), sampleText, parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    return form;
}

void FontDetailsForm::fillNames() {
    names_->setRowCount(static_cast<int>(details_.Names.size()));
    for (int row = 0; row < static_cast<int>(details_.Names.size()); ++row) {
        const FamilyName& name = details_.Names[row];
        names_->setItem(row, 0, plainItem(name.Language));
        names_->setItem(row, 1, plainItem(name.Name));
    }
    names_->resizeColumnToContents(0);
}

void FontDetailsForm::fillFaces() {
    for (const FaceDetails& face : details_.Faces) {
        auto* item = new QTreeWidgetItem(faces_);
        item->setText(0, face.Style);
        item->setText(1, face.Format);
        // A version string is one line; a damaged one may hold line breaks.
        item->setText(2, face.FileInfo.Version.simplified());
        item->setText(3, face.FileInfo.GlyphCount >= 0 ? QString::number(face.FileInfo.GlyphCount)
                                                       : QString());
        item->setText(4, face.File);
        item->setToolTip(4, face.File);
    }
    for (int column = 0; column < 4; ++column)
        faces_->resizeColumnToContents(column);
    openFolder_->setEnabled(!details_.Faces.empty());
    if (details_.RegularFace >= 0)
        faces_->setCurrentItem(faces_->topLevelItem(details_.RegularFace));
    else
        faceText_->setPlainText(tr("fontconfig はこのフォントを知りません。"));
}

int FontDetailsForm::CurrentFace() const {
    const int index = faces_->indexOfTopLevelItem(faces_->currentItem());
    return index >= 0 ? index : details_.RegularFace;
}

void FontDetailsForm::showFace(int index) {
    if (index < 0 || index >= static_cast<int>(details_.Faces.size())) {
        faceText_->clear();
        characters_->SetFace({}, 0);
        return;
    }
    const FaceDetails& face = details_.Faces[index];
    characters_->SetFace(face.File, face.Index);
    const platform::FontFileInfo& file = face.FileInfo;
    QStringList lines;
    const auto add = [&lines](const QString& label, const QString& value) {
        if (!value.isEmpty())
            lines.append(label + QStringLiteral(": ") + value);
    };
    add(tr("スタイル", "one face's style"), face.Style);
    add(tr("ファイル"),
        face.Index > 0 ? tr("%1 (フェイス %2)").arg(face.File).arg(face.Index) : face.File);
    add(tr("形式"), face.Format);
    if (!file.Opened)
        add(tr("読み込みエラー"), tr("ファイルを読めませんでした (%1)").arg(file.Error));
    add(tr("フルネーム"), file.FullName);
    add(tr("バージョン"), file.Version);
    if (file.GlyphCount >= 0)
        add(tr("グリフ数"), QString::number(file.GlyphCount));
    add(tr("著作権"), file.Copyright);
    add(tr("ライセンス"), file.Licence);
    add(tr("ライセンスの URL"), file.LicenceUrl);
    add(tr("対応言語"), face.Languages.join(QStringLiteral(", ")));
    faceText_->setPlainText(lines.join(u'\n'));
}

void FontDetailsForm::chooseFace(int index) {
    const FaceDetails& face = details_.Faces[index];
    waterfall_->SetFace(FontFace::Open(face.File, face.Index));
    unreadable_->setVisible(!waterfall_->HasFace());
    features_->SetFace(waterfall_->Face());
    waterfall_->SetShaping(features_->Shaping());
    waterfall_->SetVariations(features_->Variations());
    emit FaceChosen(face.File, face.Index);
}

void FontDetailsForm::placeSample(int tab) {
    if (tabs_->widget(tab) == features_)
        features_->HoldSample(sample_);
    else if (tabs_->widget(tab) == samplePage_ && sample_->parentWidget() != samplePage_) {
        static_cast<QVBoxLayout*>(samplePage_->layout())->addWidget(sample_, 1);
        sample_->show();
    }
}

void FontDetailsForm::CopyFamilyNameClick() {
    platform::SetClipboardText(details_.Family);
}

void FontDetailsForm::OpenFolderClick() {
    const int index = CurrentFace();
    if (index < 0)
        return;
    const QString folder = QFileInfo(details_.Faces[index].File).absolutePath();
    platform::OpenWithDesktop(folder, this, [this, folder] { tellNothingOpened(folder); });
}

void FontDetailsForm::tellNothingOpened(const QString& folder) {
    // Not modal: the user may want the path and this window at once. The path is the way
    // there by other means, so it can be selected and copied.
    auto* box = new QMessageBox(
        QMessageBox::Information, windowTitle(),
        tr("フォルダーを開くプログラムが見つかりませんでした。フォルダーの場所:\n%1").arg(folder),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("NothingOpened"));
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void FontDetailsForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        platform::CloseOnEscape(this, event->key());
        return;
    }
    QDialog::keyPressEvent(event);
}
