#include "fonts/Panel.h"

#include "fontengine/GlyphRunPainter.h"
#include "fontengine/TileText.h"
#include "fonts/FirstPaintBudget.h"
#include "fonts/FlowLayoutPanel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <algorithm>

const QColor TPanel::MissingMarkColor = glyphrun::MissingMarkColor();
const QColor TPanel::NameLabelColor(0x80, 0x80, 0x80);

namespace {

// The label's text with the count, the name left as %1; none without a count. Translated in
// the catalogue's context, where the text has always been.
QString countForm(int missing) {
    if (missing <= 0)
        return QString();
    return QCoreApplication::translate("TFontPool", "%1 — %2 文字なし")
        .arg(QStringLiteral("%1"), QString::number(missing));
}

// The count of fonts a drag carries, in a badge of the selection's colour.
QPixmap dragCountBadge(int count, const QFont& font, qreal ratio) {
    const QString text = QString::number(count);
    const QFontMetrics metrics(font);
    const QSize size(std::max(metrics.horizontalAdvance(text) + 12, 22), metrics.height() + 6);
    QPixmap badge(size * ratio);
    badge.setDevicePixelRatio(ratio);
    badge.fill(Qt::transparent);
    QPainter painter(&badge);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(TPanel::SelectionColor(true));
    painter.drawRoundedRect(QRectF(QPointF(), size), size.height() / 2.0, size.height() / 2.0);
    painter.setPen(Qt::white);
    painter.setFont(font);
    painter.drawText(QRect(QPoint(), size), Qt::AlignCenter, text);
    return badge;
}

} // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

TPanel::~TPanel() = default;

void TPanel::SetSample(std::unique_ptr<TileText> sample) {
    sample_ = std::move(sample);
    caption_ = sample_ ? sample_->Text() : QString();
    refresh();
}

void TPanel::SetCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    refresh();
}

void TPanel::SetColor(const QColor& color) {
    if (color == color_)
        return;
    color_ = color;
    refresh();
}

void TPanel::SetFontColor(const QColor& color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    refresh();
}

void TPanel::SetSelected(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    refresh();
}

QColor TPanel::SelectionColor(bool darkBackground) {
    return darkBackground ? QColor(0x66, 0x42, 0x00) : QColor(0xFF, 0xD9, 0x8C);
}

void TPanel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    refresh();
}

bool TPanel::inView() const {
    if (!isVisible())
        return false;
    QRect visible = rect();
    QPoint offset;
    for (const QWidget* w = this; !w->isWindow() && w->parentWidget(); w = w->parentWidget()) {
        offset -= w->pos();
        const QWidget* parent = w->parentWidget();
        visible &= QRect(offset, parent->size());
        if (visible.isEmpty())
            return false;
    }
    return true;
}

void TPanel::refresh() {
    if (!inView())
        return;
    // Qt weighs each widget it repaints against every sibling stacked above it, and its
    // parent against theirs: for a tile among thousands, that is a walk
    // over the whole flow for each repaint. Repainting the tile's area of the flow paints the
    // same pixels at the cost of one widget.
    QWidget* tile = this;
    while (qobject_cast<TPanel*>(tile->parentWidget()))
        tile = tile->parentWidget();
    QWidget* flow = tile->parentWidget();
    if (flow && flow->children().size() > CrowdedParent)
        flow->update(QRect(mapTo(flow, QPoint()), size()));
    else
        update();
}

bool TPanel::event(QEvent* event) {
    // Showing a panel queues its first repaint; out of view there is nothing to paint, and
    // scrolling it into view paints it then.
    if (event->type() == QEvent::UpdateLater && !inView())
        return true;
    return QWidget::event(event);
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (selected_) {
        // Light text means the black drawing mode.
        const bool dark = fontColor_.isValid() && fontColor_.lightness() > 127;
        painter.fillRect(rect(), SelectionColor(dark));
    } else if (color_.isValid()) {
        painter.fillRect(rect(), color_);
    }
    if (sample_)
        paintSample(painter);
    else
        paintCaption(painter);
    if (HasNameLabel())
        paintNameLabel(painter);
}

void TPanel::SetNameLabel(const QString& name, int missing) {
    missing = std::max(missing, 0);
    if (name == labelName_ && missing == labelMissing_)
        return;
    labelName_ = name;
    labelMissing_ = missing;
    refresh();
}

QString TPanel::NameLabelText() const {
    if (!HasNameLabel())
        return QString();
    const QString form = countForm(labelMissing_);
    return form.isEmpty() ? labelName_ : form.arg(labelName_);
}

QRect TPanel::NameLabelRect() const {
    return QRect(3, height() - 2 - 12, width() - 5, 12);
}

QString TPanel::NameLabelShownText() const {
    if (!HasNameLabel())
        return QString();
    const QFontMetrics metrics = fontMetrics();
    const int room = NameLabelRect().width();
    const QString whole = NameLabelText();
    if (metrics.horizontalAdvance(whole) <= room)
        return whole;
    // Only the name gives way: the count is what the user reads the label for.
    const QString form = countForm(labelMissing_);
    const auto fill = [&form](const QString& name) {
        return form.isEmpty() ? name : form.arg(name);
    };
    int nameRoom = room - metrics.horizontalAdvance(fill(QString()));
    QString shown;
    // Kerning across the join can make the parts wider than their sum by a pixel or two.
    for (int tries = 0; tries < 4; ++tries, nameRoom -= 2) {
        shown = fill(metrics.elidedText(labelName_, Qt::ElideRight, std::max(nameRoom, 0)));
        if (metrics.horizontalAdvance(shown) <= room)
            break;
    }
    return shown;
}

void TPanel::paintNameLabel(QPainter& painter) {
    painter.setFont(font());
    painter.setPen(NameLabelColor);
    painter.drawText(NameLabelRect(), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     NameLabelShownText());
}

void TPanel::paintCaption(QPainter& painter) {
    if (caption_.isEmpty())
        return;
    painter.setPen(fontColor_.isValid() ? fontColor_ : palette().color(QPalette::WindowText));
    painter.drawText(rect(), int(alignment_) | Qt::TextSingleLine, caption_);
}

void TPanel::paintSample(QPainter& painter) {
    if (!sample_->Drawn() && !FirstPaintBudget::Take()) {
        // This frame has spent its time on other new tiles: a later one paints this.
        QTimer::singleShot(0, this, &TPanel::refresh);
        return;
    }
    sample_->Paint(painter, rect(),
                   fontColor_.isValid() ? fontColor_ : palette().color(QPalette::WindowText),
                   MissingMarkColor);
}

void TPanel::enterEvent(QEnterEvent*) {
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TPanel::leaveEvent(QEvent*) {
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TPanel::mousePressEvent(QMouseEvent* event) {
    dragArmed_ = false;
    pressPos_ = event->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->position().toPoint());
    else
        QWidget::mousePressEvent(event);
}

void TPanel::BeginDrag() {
    dragArmed_ = true;
    dragStart_ = pressPos_;
}

void TPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!dragArmed_ || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    if ((event->position().toPoint() - dragStart_).manhattanLength() <
        QApplication::startDragDistance())
        return;
    dragArmed_ = false;
    auto* mime = new QMimeData;
    mime->setData(DragMimeType, QByteArray::number(Tag));
    auto* drag = new QDrag(this);
    const auto* flow = qobject_cast<const FlowLayoutPanel*>(parentWidget());
    if (flow && flow->DraggedFamilies) {
        const QStringList families = flow->DraggedFamilies(this);
        mime->setData(FamiliesMimeType, families.join(u'\n').toUtf8());
        if (families.size() > 1)
            drag->setPixmap(
                dragCountBadge(static_cast<int>(families.size()), font(), devicePixelRatio()));
    }
    drag->setMimeData(mime);
    // The drop may take this panel out of the view; the removal is posted, so it is still
    // here when exec returns.
    drag->exec(Qt::CopyAction | Qt::MoveAction);
}

void TPanel::mouseReleaseEvent(QMouseEvent* event) {
    dragArmed_ = false;
    QWidget::mouseReleaseEvent(event);
}
