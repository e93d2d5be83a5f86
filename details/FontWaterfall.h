#pragma once

#include "fontengine/FontFace.h"

#include <QWidget>

class QPainter;
#include <memory>
#include <optional>
#include <vector>

// A text drawn at the usual point sizes, one line each, with one face's own glyphs. Each line
// shapes only what can show: the start of the text that fits the width, when its row is first
// painted. A long text costs no more than a short one.
class FontWaterfall : public QWidget {
    Q_OBJECT
public:
    explicit FontWaterfall(QWidget* parent = nullptr);
    ~FontWaterfall() override;

    static const std::vector<int>& PointSizes();

    // None, or a face that could not be read, draws only the size labels.
    void SetFace(std::unique_ptr<FontFace> face);
    bool HasFace() const { return face_ != nullptr; }
    const FontFace* Face() const { return face_.get(); }
    void SetText(const QString& text);
    QString Text() const { return text_; }
    // Features turned on or off, and vertical setting: columns from right to left, each set
    // top to bottom.
    void SetShaping(ShapingOptions options);
    const ShapingOptions& Shaping() const { return options_; }
    // Moves the face along its variation axes; the lines are shaped and drawn again.
    void SetVariations(std::vector<FontVariation> variations);

    // The line drawn at the point size as shaped, for tests; none until its row is painted.
    const GlyphRun* ShapedRun(int points) const;
    // Characters of the text the line at the point size shaped.
    int ShapedLength(int points) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Line {
        int points = 0;
        double pixels = 0;
        int top = 0;
        int height = 0;
        double ascent = 0;
        int shapedLength = 0;
        std::optional<GlyphRun> run;
    };
    void layOut();
    void shape(Line& line);
    // Characters of the text that can fill the line's visible width and no more.
    int prefixLength(const Line& line) const;
    int labelWidth() const;
    int textLeft() const;
    // Where a vertical line's text starts, below its size label.
    int textTop() const;
    // A vertical line's column: its left edge now that the waterfall has its width.
    double columnLeft(const Line& line) const;
    void paintLabel(QPainter& painter, const Line& line, const QRectF& box) const;
    const Line* lineAt(int points) const;

    std::unique_ptr<FontFace> face_;
    QString text_;
    ShapingOptions options_;
    // Rows: each line's top and height. Columns (vertical setting): how far the column's right
    // edge is from the waterfall's, and its width.
    std::vector<Line> lines_;
    int height_ = 0;
    int width_ = 0; // of all columns, in vertical setting
};
