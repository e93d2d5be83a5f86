#pragma once

#include <QColor>
#include <QMargins>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>

class QPainter;
class TileText;

// A light panel that paints its own caption: the font tiles and the captioned panels of the
// main window. There may be tens of thousands, so it keeps to plain members and one paint
// call.
class TPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TPanel(QWidget* parent = nullptr);
    ~TPanel() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Background; an invalid colour leaves the parent's background showing.
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    // Caption colour; invalid means the palette's text colour.
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    // A font tile draws its sample from its family's own face instead of the caption in the
    // panel's font; the caption becomes the sample's text. Missing characters are marked in
    // MissingMarkColor.
    void SetSample(std::unique_ptr<TileText> sample);
    const TileText* Sample() const { return sample_.get(); }
    static const QColor MissingMarkColor;

    // A selected tile is filled with the selection's colour instead of its background: an
    // amber apart from the hover green and the blue focus frame, light behind dark text and
    // dark behind light text, so the sample stays readable in both drawing modes.
    void SetSelected(bool selected);
    bool Selected() const { return selected_; }
    static QColor SelectionColor(bool darkBackground = false);

    // A font tile's name label: its family's name in small grey type (the panel's font) at
    // its foot, and the count of sample characters the family lacks, if any. The tile paints
    // it itself; a label widget on each tile would double the widgets of the flow, and every
    // show, hide and destruction of the flow with them. A name too wide for the tile is
    // shortened at its end with "…", the count kept whole.
    void SetNameLabel(const QString& name, int missing);
    bool HasNameLabel() const { return labelMissing_ >= 0; }
    // The whole text, and the text as painted.
    QString NameLabelText() const;
    QString NameLabelShownText() const;
    // Where the label sits in the panel: 3 pixels in from the left, 2 from the right and the
    // bottom, 12 high.
    QRect NameLabelRect() const;
    static const QColor NameLabelColor;

    int Tag = 0;
    // Space kept around the panel by the panel that holds it.
    QMargins Margins{3, 3, 3, 3};

    std::function<void(TPanel*)> OnMouseEnter;
    std::function<void(TPanel*)> OnMouseLeave;
    std::function<void(TPanel*, Qt::MouseButton, QPoint)> OnMouseDown;

    // Arms a drag of this panel that starts once the pressed mouse has moved past the
    // desktop's drag distance.
    void BeginDrag();
    // The drag's data: the panel's tag number as text, and for a tile of a flow that names
    // them, the families dragged with it (UTF-8, one a line); more than one are counted on
    // the drag's image.
    static constexpr const char* DragMimeType = "application/x-glyphorama-tile";
    static constexpr const char* FamiliesMimeType = "application/x-glyphorama-families";

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintCaption(QPainter& painter);
    void paintSample(QPainter& painter);
    void paintNameLabel(QPainter& painter);
    // Whether any of the panel lies inside its window's visible area, its parents' bounds and
    // the scroll box's viewport included.
    bool inView() const;
    // Repaints the panel if it can be seen. Qt would queue a repaint for a panel scrolled out
    // of view as well, and each such repaint weighs every sibling: with thousands of tiles in
    // the flow, that is what a build or a re-captioning would spend its time on.
    void refresh();
    // More children than this and a child's repaint goes through its parent (see refresh).
    static constexpr int CrowdedParent = 64;

    QString caption_;
    std::unique_ptr<TileText> sample_;
    QString labelName_;
    int labelMissing_ = -1; // no label
    QColor color_;
    QColor fontColor_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    bool selected_ = false;
    bool dragArmed_ = false;
    QPoint dragStart_;
    QPoint pressPos_;
};
