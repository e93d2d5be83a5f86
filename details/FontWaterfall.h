#pragma once

#include "fontengine/FaceText.h"

#include <QWidget>
#include <memory>
#include <vector>

// A text drawn at the usual point sizes, one line each, with one face's own glyphs.
class FontWaterfall : public QWidget {
    Q_OBJECT
public:
    explicit FontWaterfall(QWidget* parent = nullptr);

    static const std::vector<int>& PointSizes();

    // None, or a face that cannot be read, draws only the size labels.
    void SetSource(std::unique_ptr<FaceTextSource> source);
    bool HasFace() const { return source_ && source_->IsValid(); }
    void SetText(const QString& text);
    QString Text() const { return text_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Line {
        int points = 0;
        FaceTextLine layout;
    };
    void layOut();
    qreal pixelsFor(int points) const;
    int labelWidth() const;

    std::unique_ptr<FaceTextSource> source_;
    QString text_;
    std::vector<Line> lines_;
    QSize size_;
};
