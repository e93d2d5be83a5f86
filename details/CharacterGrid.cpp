#include "details/CharacterGrid.h"

#include "fontengine/CharacterCoverage.h"
#include "fontengine/GlyphRunPainter.h"
#include "platform/Desktop.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Cells no smaller than this: a glyph at 24 pixels with room to tell it from its neighbours.
constexpr int MinimumCell = 40;

QString textOf(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

// Draws each cell's character with the grid's face, shaped as every glyph view shapes it;
// a face that lost its file draws the missing mark, never another font's glyph.
class GlyphDelegate : public QStyledItemDelegate {
public:
    explicit GlyphDelegate(CharacterGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        const QWidget* widget = option.widget;
        (widget ? widget->style() : QApplication::style())
            ->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        const char32_t c = grid_->Model().CharacterAt(index);
        if (c == 0)
            return;
        const FontFace* face = grid_->Face();
        const double pixels = option.rect.height() * 0.6;
        const GlyphRun run =
            face ? face->Shape(textOf(c))
                 : FontFace::AllMissing(textOf(c), glyphrun::NoFaceUnitsPerEm / 2.0);
        const double unitsPerEm = face ? face->UnitsPerEm() : glyphrun::NoFaceUnitsPerEm;
        const double scale = pixels / unitsPerEm;
        const double ascent = face ? face->Ascent() : unitsPerEm * 0.8;
        const double descent = face ? face->Descent() : unitsPerEm * 0.2;
        const QRectF box = option.rect;
        const QPointF origin(box.center().x() - run.advance * scale / 2,
                             box.center().y() + (ascent - descent) * scale / 2);
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->save();
        painter->setClipRect(option.rect);
        glyphrun::Paint(*painter, face, run, origin, pixels,
                        palette.color(selected ? QPalette::HighlightedText : QPalette::Text),
                        selected ? palette.color(QPalette::HighlightedText)
                                 : glyphrun::MissingMarkColor());
        painter->restore();
    }

private:
    const CharacterGrid* grid_;
};

} // namespace

void CharacterModel::SetCharacters(std::vector<char32_t> characters) {
    beginResetModel();
    characters_ = std::move(characters);
    endResetModel();
}

void CharacterModel::SetColumns(int columns) {
    columns = std::max(1, columns);
    if (columns == columns_)
        return;
    beginResetModel();
    columns_ = columns;
    endResetModel();
}

char32_t CharacterModel::CharacterAt(const QModelIndex& index) const {
    if (!index.isValid())
        return 0;
    const size_t position = static_cast<size_t>(index.row()) * columns_ + index.column();
    return position < characters_.size() ? characters_[position] : 0;
}

QModelIndex CharacterModel::IndexOf(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= characters_.size())
        return {};
    return index(position / columns_, position % columns_);
}

int CharacterModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>((characters_.size() + columns_ - 1) / columns_);
}

int CharacterModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant CharacterModel::data(const QModelIndex& index, int role) const {
    const char32_t c = CharacterAt(index);
    if (c == 0)
        return {};
    switch (role) {
    case Qt::AccessibleTextRole:
        // What a screen reader says of a cell: the character, then what it is.
        return QStringLiteral("%1 %2 %3")
            .arg(textOf(c), charcoverage::CodePointText(c), charcoverage::CharacterName(c));
    case Qt::ToolTipRole:
        return QStringLiteral("%1 %2").arg(charcoverage::CodePointText(c),
                                           charcoverage::CharacterName(c));
    case Qt::UserRole:
        return static_cast<uint>(c);
    default:
        return {};
    }
}

Qt::ItemFlags CharacterModel::flags(const QModelIndex& index) const {
    return CharacterAt(index) != 0 ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

CharacterGrid::CharacterGrid(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("CharacterGrid"));
    setAccessibleName(tr("文字の一覧"));
    setModel(&model_);
    setItemDelegate(new GlyphDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setShowGrid(true);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Every row the same height: the header places a row by arithmetic, not by asking the rows
    // above it.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(MinimumCell);
    verticalHeader()->setMinimumSectionSize(MinimumCell);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMinimumWidth(MinimumCell * 8);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (model_.CharacterAt(index) == 0)
            return;
        setCurrentIndex(index);
        CopyCurrent();
    });
    fitCells();
}

CharacterGrid::~CharacterGrid() = default;

void CharacterGrid::SetFace(std::unique_ptr<FontFace> face, std::vector<char32_t> characters) {
    face_ = std::move(face);
    model_.SetCharacters(std::move(characters));
    fitCells();
    if (!model_.Characters().empty())
        setCurrentIndex(model_.IndexOf(0));
    else
        emit CurrentCharacterChanged(0);
}

char32_t CharacterGrid::CurrentCharacter() const {
    return model_.CharacterAt(currentIndex());
}

void CharacterGrid::CopyCurrent() {
    if (const char32_t c = CurrentCharacter())
        platform::SetClipboardText(textOf(c));
}

void CharacterGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyCurrent();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CharacterGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitCells();
}

void CharacterGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    emit CurrentCharacterChanged(model_.CharacterAt(current));
}

void CharacterGrid::fitCells() {
    // As many columns as cells of the smallest size fit; they share the width, and rows are as
    // high as a column is wide. A new count of columns keeps the current character.
    const int width = viewport()->width();
    const int columns = std::max(1, width / MinimumCell);
    const int cell = std::max(MinimumCell, width / columns);
    if (columns != model_.Columns()) {
        const QModelIndex current = currentIndex();
        const int position =
            current.isValid() ? current.row() * model_.Columns() + current.column() : -1;
        model_.SetColumns(columns);
        if (position >= 0)
            setCurrentIndex(model_.IndexOf(position));
    }
    horizontalHeader()->setDefaultSectionSize(cell);
    verticalHeader()->setDefaultSectionSize(cell);
}
