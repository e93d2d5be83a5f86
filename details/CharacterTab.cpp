#include "details/CharacterTab.h"

#include "details/CharacterGrid.h"
#include "fontengine/CharacterCoverage.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidgetItem* coverageItem(QTreeWidgetItem* parent, const QString& name,
                              const charcoverage::Coverage& coverage) {
    const QLocale locale;
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, name);
    item->setText(1, QStringLiteral("%1 / %2").arg(locale.toString(coverage.present),
                                                   locale.toString(coverage.total)));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    const double share = coverage.total > 0 ? 100.0 * coverage.present / coverage.total : 0;
    item->setText(2, QStringLiteral("%1%").arg(locale.toString(share, 'f', 1)));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

CharacterTab::CharacterTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CharacterTab"));
    setAccessibleName(tr("文字"));
    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    grid_ = new CharacterGrid(splitter);

    auto* side = new QWidget(splitter);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    character_ = new QLabel(side);
    character_->setObjectName(QStringLiteral("CharacterName"));
    character_->setAccessibleName(tr("選んだ文字"));
    character_->setTextFormat(Qt::PlainText);
    character_->setWordWrap(true);
    character_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    counts_ = new QLabel(side);
    counts_->setObjectName(QStringLiteral("CharacterCounts"));
    counts_->setAccessibleName(tr("文字数とグリフ数"));
    counts_->setTextFormat(Qt::PlainText);
    counts_->setWordWrap(true);
    coverage_ = new QTreeWidget(side);
    coverage_->setObjectName(QStringLiteral("CoverageTree"));
    coverage_->setAccessibleName(tr("文字集合とブロックの収録数"));
    coverage_->setHeaderLabels({tr("文字集合"), tr("収録数"), tr("割合")});
    coverage_->header()->setStretchLastSection(false);
    coverage_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    coverage_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    coverage_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    sideLayout->addWidget(character_);
    sideLayout->addWidget(counts_);
    sideLayout->addWidget(coverage_, 1);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter);

    connect(grid_, &CharacterGrid::CurrentCharacterChanged, this, &CharacterTab::showCharacter);
}

QString CharacterTab::SetName(const QString& id) {
    if (id == u"kana")
        return tr("かな");
    if (id == u"joyo-kanji")
        return tr("常用漢字");
    if (id == u"jinmeiyo-kanji")
        return tr("人名用漢字");
    if (id == u"jisx0208-level1")
        return tr("JIS X 0208 第1水準");
    if (id == u"jisx0208-level2")
        return tr("JIS X 0208 第2水準");
    if (id == u"jisx0213")
        return tr("JIS X 0213");
    return id;
}

void CharacterTab::SetFace(const QString& path, int index) {
    if (path == path_ && index == index_ && loaded_)
        return;
    path_ = path;
    index_ = index;
    loaded_ = false;
    if (isVisible())
        load();
}

void CharacterTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_)
        load();
}

void CharacterTab::load() {
    loaded_ = true;
    std::unique_ptr<FontFace> face = path_.isEmpty() ? nullptr : FontFace::Open(path_, index_);
    std::vector<char32_t> characters = face ? face->Characters() : std::vector<char32_t>{};
    const int glyphs = face ? face->GlyphCount() : 0;
    const QLocale locale;
    counts_->setText(face ? tr("文字 %1 ・ グリフ %2")
                                .arg(locale.toString(static_cast<qlonglong>(characters.size())),
                                     locale.toString(glyphs))
                          : tr("このフォントのファイルを読めませんでした。"));

    coverage_->clear();
    auto* sets = new QTreeWidgetItem(coverage_, {tr("日本語の文字集合")});
    for (const charcoverage::Coverage& set : charcoverage::SetCoverage(characters))
        coverageItem(sets, SetName(set.name), set);
    auto* blocks = new QTreeWidgetItem(coverage_, {tr("Unicode のブロック")});
    for (const charcoverage::Coverage& block : charcoverage::BlockCoverage(characters))
        coverageItem(blocks, block.name, block);
    sets->setExpanded(true);
    blocks->setExpanded(true);

    grid_->SetFace(std::move(face), std::move(characters));
}

void CharacterTab::showCharacter(char32_t c) {
    character_->setText(c ? QStringLiteral("%1  %2\n%3")
                                .arg(QString::fromUcs4(&c, 1), charcoverage::CodePointText(c),
                                     charcoverage::CharacterName(c))
                          : QString());
}

QString CharacterTab::CountsText() const {
    return counts_->text();
}

QString CharacterTab::CharacterText() const {
    return character_->text();
}
