#include "details/FontWaterfall.h"

#include "fontengine/GlyphRunPainter.h"
#include "fontengine/Pixels.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {

constexpr int Padding = 8;
constexpr int LineGap = 6;
// The width given to the text before a window gives the waterfall one.
constexpr int DefaultTextWidth = 480;
// What a line shapes is bounded as if no character were narrower than a tenth of an em. Real
// text is wider (a space or an "i" takes a quarter); a line of nothing but combining marks or
// joiners may end short of the edge, which is no loss.
constexpr double MinimumAdvanceEm = 0.1;

} // namespace

FontWaterfall::FontWaterfall(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    layOut();
}

FontWaterfall::~FontWaterfall() = default;

const std::vector<int>& FontWaterfall::PointSizes() {
    static const std::vector<int> sizes{8, 10, 12, 16, 24, 36, 48, 72};
    return sizes;
}

void FontWaterfall::SetFace(std::unique_ptr<FontFace> face) {
    face_ = std::move(face);
    layOut();
}

void FontWaterfall::SetText(const QString& text) {
    text_ = text;
    layOut();
}

void FontWaterfall::SetShaping(ShapingOptions options) {
    options_ = std::move(options);
    layOut();
}

void FontWaterfall::SetVariations(std::vector<FontVariation> variations) {
    if (!face_)
        return;
    face_->SetVariations(std::move(variations));
    layOut();
}

int FontWaterfall::labelWidth() const {
    return fontMetrics().horizontalAdvance(QStringLiteral("72 pt")) + Padding;
}

int FontWaterfall::textLeft() const {
    return Padding + labelWidth();
}

int FontWaterfall::textTop() const {
    return Padding + fontMetrics().height() + Padding;
}

double FontWaterfall::columnLeft(const Line& line) const {
    return width() - line.top - line.height;
}

// Rows take their heights from the face's metrics, so the whole waterfall is laid out without
// shaping anything; lines are shaped when painted.
void FontWaterfall::layOut() {
    lines_.clear();
    const int labelHeight = fontMetrics().height();
    if (options_.vertical) {
        // A vertical line is an em wide whatever the face, and at least as wide as its label.
        int right = Padding;
        for (int points : PointSizes()) {
            Line line;
            line.points = points;
            line.pixels = points * logicalDpiY() / 72.0;
            line.top = right;
            line.height = std::max(labelWidth(), CeilPixels(line.pixels));
            right += line.height + LineGap;
            lines_.push_back(std::move(line));
        }
        width_ = right + Padding;
        height_ = textTop() + DefaultTextWidth + Padding;
        updateGeometry();
        resize(std::max(width(), width_), std::max(height(), minimumSizeHint().height()));
        update();
        return;
    }
    width_ = 0;
    int top = Padding;
    for (int points : PointSizes()) {
        Line line;
        line.points = points;
        // Points are 1/72 inch on the screen the window is on.
        line.pixels = points * logicalDpiY() / 72.0;
        double descent = line.pixels / 2;
        line.ascent = descent;
        if (face_) {
            const double scale = line.pixels / face_->UnitsPerEm();
            line.ascent = face_->Ascent() * scale;
            descent = face_->Descent() * scale;
        }
        line.top = top;
        line.height = std::max(labelHeight, CeilPixels(line.ascent + descent));
        top += line.height + LineGap;
        lines_.push_back(std::move(line));
    }
    height_ = top + Padding;
    updateGeometry();
    // A scroll area that holds the waterfall gives it the width of its view.
    resize(std::max(width(), sizeHint().width()), std::max(height(), height_));
    update();
}

int FontWaterfall::prefixLength(const Line& line) const {
    const double visible =
        options_.vertical ? height() - textTop() - Padding : width() - textLeft() - Padding;
    const auto textLength = static_cast<int>(text_.size());
    if (visible <= 0)
        return 0;
    const double bound = std::ceil(visible / (line.pixels * MinimumAdvanceEm)) + 1;
    if (bound >= textLength)
        return textLength;
    int length = static_cast<int>(bound);
    // A character beyond the first plane stays whole.
    if (text_.at(length - 1).isHighSurrogate())
        ++length;
    return length;
}

void FontWaterfall::shape(Line& line) {
    line.shapedLength = prefixLength(line);
    line.run = face_->Shape(text_.left(line.shapedLength), options_);
}

void FontWaterfall::resizeEvent(QResizeEvent*) {
    // A wider view may show more of a text that did not fit.
    for (Line& line : lines_)
        if (line.run && line.shapedLength < text_.size() && prefixLength(line) != line.shapedLength)
            line.run.reset();
}

const FontWaterfall::Line* FontWaterfall::lineAt(int points) const {
    for (const Line& line : lines_)
        if (line.points == points)
            return &line;
    return nullptr;
}

const GlyphRun* FontWaterfall::ShapedRun(int points) const {
    const Line* line = lineAt(points);
    return line && line->run ? &*line->run : nullptr;
}

int FontWaterfall::ShapedLength(int points) const {
    const Line* line = lineAt(points);
    return line && line->run ? line->shapedLength : 0;
}

QSize FontWaterfall::sizeHint() const {
    if (options_.vertical)
        return {width_, height_};
    return {textLeft() + DefaultTextWidth + Padding, height_};
}

QSize FontWaterfall::minimumSizeHint() const {
    if (options_.vertical)
        return {width_, textTop() + Padding};
    return {textLeft() + Padding, height_};
}

void FontWaterfall::paintLabel(QPainter& painter, const Line& line, const QRectF& box) const {
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawText(box,
                     (options_.vertical ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop |
                         Qt::TextSingleLine,
                     tr("%1 pt").arg(line.points));
}

void FontWaterfall::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect exposed = event->rect();
    for (Line& line : lines_) {
        QPointF origin;
        if (options_.vertical) {
            // Only columns in view.
            const double left = columnLeft(line);
            if (left > exposed.right() || left + line.height < exposed.left())
                continue;
            paintLabel(painter, line, QRectF(left, Padding, line.height, metrics.height()));
            origin = QPointF(left + line.height / 2.0, textTop());
        } else {
            // Only rows in view: a scroll area asks for the part it shows.
            if (line.top > exposed.bottom() || line.top + line.height < exposed.top())
                continue;
            const double baseline = line.top + line.ascent;
            paintLabel(
                painter, line,
                QRectF(Padding, baseline - metrics.ascent(), labelWidth(), metrics.height()));
            origin = QPointF(textLeft(), baseline);
        }
        if (!face_)
            continue;
        if (!line.run)
            shape(line);
        glyphrun::Paint(painter, face_.get(), *line.run, origin, line.pixels,
                        palette().color(QPalette::WindowText), glyphrun::MissingMarkColor());
    }
}
