#pragma once

#include <QIcon>
#include <QObject>
#include <QStringList>

class QAbstractButton;

namespace platform {

// A numbered set of pictograms of one size, drawn from SVG files.
class ImageList : public QObject {
    Q_OBJECT
public:
    ImageList(int size, QStringList svgFiles, QObject* parent = nullptr);

    int Size() const { return size_; }
    int Count() const { return static_cast<int>(files_.size()); }
    // An empty icon for an index out of range. Each image is drawn from its file once, when
    // first asked for: the buttons ask again whenever their state changes.
    QIcon Icon(int index) const;
    QPixmap Pixmap(int index) const;

private:
    int size_;
    QStringList files_;
    struct Image {
        QPixmap pixmap; // null until drawn
        QIcon icon;
    };
    const Image& image(int index) const;

    mutable QList<Image> images_;
};

// Gives a button the image of the list at index, and remembers the index on the button
// (property "ImageIndex") so that it can be asked which image it shows.
void SetButtonImage(QAbstractButton* button, const ImageList& images, int index);
int ButtonImage(const QAbstractButton* button);

// An application icon drawn from one SVG file at the sizes desktops ask for. Drawn here
// rather than by Qt's SVG icon engine plugin, so that the icon never depends on a plugin
// being found at run time.
QIcon SvgIcon(const QString& svgFile);

} // namespace platform
