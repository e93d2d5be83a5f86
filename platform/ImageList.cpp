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
    : QObject(parent), size_(size), files_(std::move(svgFiles)) {}

QPixmap ImageList::Pixmap(int index) const {
    if (index < 0 || index >= Count())
        return {};
    QSvgRenderer renderer(files_[index]);
    const qreal ratio = 2.0; // sharp on high-density screens as well
    QPixmap pixmap = render(renderer, qRound(size_ * ratio));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ImageList::Icon(int index) const {
    const QPixmap pixmap = Pixmap(index);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
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
