#include "tags/TagCaption.h"

#include "fonts/FontPool.h"

#include <QCoreApplication>

QString TagCaption(const QString& tagName) {
    if (tagName == TFontPool::TrashTagName)
        return QCoreApplication::translate("TagCaption", "ゴミ箱");
    if (tagName == TFontPool::FavoritesTagName)
        return QCoreApplication::translate("TagCaption", "お気に入り");
    return tagName;
}
