#include "details/FontWaterfall.h"

#include "fontengine/Pixels.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace {

constexpr int Padding = 8;
constexpr int LineGap = 6;

} // namespace

FontWaterfall::FontWaterfall(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
}

const std::vector<int>& FontWaterfall::PointSizes() {
    static const std::vector<int> sizes{8, 10, 12, 16, 24, 36, 48, 72};
    return sizes;
}

void FontWaterfall::SetSource(std::unique_ptr<FaceTextSource> source) {
    source_ = std::move(source);
    layOut();
}

void FontWaterfall::SetText(const QString& text) {
    text_ = text;
    layOut();
}

qreal FontWaterfall::pixelsFor(int points) const {
    // Points are 1/72 inch on the screen the window is on.
    return points * logicalDpiY() / 72.0;
}

int FontWaterfall::labelWidth() const {
    return fontMetrics().horizontalAdvance(QStringLiteral("72 pt")) + Padding;
}

void FontWaterfall::layOut() {
    lines_.clear();
    int width = labelWidth();
    int height = Padding;
    const int labelHeight = fontMetrics().height();
    for (int points : PointSizes()) {
        Line line;
        line.points = points;
        const qreal pixels = pixelsFor(points);
        if (HasFace())
            line.layout = source_->Layout(text_, pixels);
        else
            line.layout.Ascent = line.layout.Descent = pixels / 2;
        width = std::max(width, labelWidth() + CeilPixels(line.layout.Advance));
        height +=
            std::max(labelHeight, CeilPixels(line.layout.Ascent + line.layout.Descent)) + LineGap;
        lines_.push_back(std::move(line));
    }
    size_ = QSize(width + 2 * Padding, height + Padding);
    updateGeometry();
    resize(size_);
    update();
}

QSize FontWaterfall::sizeHint() const {
    return size_;
}

void FontWaterfall::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int labelHeight = fontMetrics().height();
    const int textLeft = Padding + labelWidth();
    qreal top = Padding;
    for (const Line& line : lines_) {
        const qreal lineHeight =
            std::max<qreal>(labelHeight, std::ceil(line.layout.Ascent + line.layout.Descent));
        const qreal baseline = top + line.layout.Ascent;
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawText(
            QRectF(Padding, baseline - fontMetrics().ascent(), labelWidth(), labelHeight),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, tr("%1 pt").arg(line.points));
        if (!line.layout.Outline.isEmpty())
            painter.fillPath(line.layout.Outline.translated(textLeft, baseline),
                             palette().color(QPalette::WindowText));
        top += lineHeight + LineGap;
    }
}
