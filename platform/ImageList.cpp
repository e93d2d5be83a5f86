#include "platform/ImageList.h"

#include <QAbstractButton>
#include <QPainter>
#include <QSvgRenderer>

namespace platform {

ImageList::ImageList(int size, QStringList svgFiles, QObject* parent)
    : QObject(parent), size_(size), files_(std::move(svgFiles)) {}

QPixmap ImageList::Pixmap(int index) const {
    if (index < 0 || index >= Count())
        return {};
    QSvgRenderer renderer(files_[index]);
    const qreal ratio = 2.0; // sharp on high-density screens as well
    QPixmap pixmap(QSize(size_, size_) * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
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
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace platform
