#include "platform/ImageList.h"

#include <QAbstractButton>
#include <QPainter>
#include <QSvgRenderer>

namespace platform {

namespace {

QPixmap render(QSvgRenderer& renderer, int pixels) {
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

ImageList::ImageList(int size, QStringList svgFiles, QObject* parent)
    : QObject(parent), size_(size), files_(std::move(svgFiles)), images_(files_.size()) {}

const ImageList::Image& ImageList::image(int index) const {
    Image& image = images_[index];
    if (image.pixmap.isNull()) {
        QSvgRenderer renderer(files_[index]);
        const qreal ratio = 2.0; // sharp on high-density screens as well
        image.pixmap = render(renderer, qRound(size_ * ratio));
        image.pixmap.setDevicePixelRatio(ratio);
        image.icon = QIcon(image.pixmap);
    }
    return image;
}

QPixmap ImageList::Pixmap(int index) const {
    return index < 0 || index >= Count() ? QPixmap() : image(index).pixmap;
}

QIcon ImageList::Icon(int index) const {
    return index < 0 || index >= Count() ? QIcon() : image(index).icon;
}

void SetButtonImage(QAbstractButton* button, const ImageList& images, int index) {
    button->setIcon(images.Icon(index));
    button->setIconSize(QSize(images.Size(), images.Size()));
    button->setProperty("ImageIndex", index);
}

int ButtonImage(const QAbstractButton* button) {
    const QVariant value = button->property("ImageIndex");
    return value.isValid() ? value.toInt() : -1;
}

QIcon SvgIcon(const QString& svgFile) {
    QSvgRenderer renderer(svgFile);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(render(renderer, size));
    return icon;
}

} // namespace platform
