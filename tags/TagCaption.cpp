#include "tags/TagCaption.h"

#include "app/Language.h"
#include "fonts/FontPool.h"

#include <QCoreApplication>

QString TagCaption(const QString& tagName) {
    if (tagName == TFontPool::TrashTagName)
        return QCoreApplication::translate("TagCaption", "ゴミ箱");
    if (tagName == TFontPool::FavoritesTagName)
        return QCoreApplication::translate("TagCaption", "お気に入り");
    return tagName;
}

QString FixedTagCaptioned(const QString& text) {
    // The fixed tags' names proper are the sources of their captions (see TagCaption).
    for (const QString& name : {TFontPool::TrashTagName, TFontPool::FavoritesTagName}) {
        const QByteArray source = name.toUtf8();
        for (const QString& language : language::Available())
            if (text.compare(InterfaceLanguage::TranslateInto(language, "TagCaption", source),
                             Qt::CaseInsensitive) == 0)
                return name;
    }
    return QString();
}
