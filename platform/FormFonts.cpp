#include "platform/FormFonts.h"

#include "platform/FontconfigHandles.h"

#include <QGuiApplication>
#include <QStringList>

namespace platform {

namespace {

QString& formFamily() {
    static QString family;
    return family;
}

} // namespace

QString PreferredFamily(const QString& pattern) {
    std::unique_ptr<FcPattern, fc::PatternDeleter> request(
        FcNameParse(reinterpret_cast<const FcChar8*>(pattern.toUtf8().constData())));
    if (!request)
        return {};
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, fc::PatternDeleter> match(
        FcFontMatch(nullptr, request.get(), &result));
    return match ? fc::stringAt(match.get(), FC_FAMILY, 0) : QString();
}

void UseFormFontEverywhere() {
    const QString japanese = PreferredFamily(QStringLiteral("sans-serif:lang=ja"));
    formFamily() = japanese;
    if (japanese.isEmpty())
        return;
    // The desktop's size stays; the Japanese family covers the Latin captions as well.
    QFont font = QGuiApplication::font();
    font.setFamilies({japanese});
    QGuiApplication::setFont(font);
    // Anything that still names the designed fonts ends up in the same family.
    for (const QString& designed :
         {QStringLiteral("Tahoma"), QStringLiteral("メイリオ"), QStringLiteral("Meiryo")})
        QFont::insertSubstitution(designed, japanese);
}

QString FormFamily() {
    return formFamily();
}

QFont FormFont(int pointSize) {
    QFont font = QGuiApplication::font();
    if (!formFamily().isEmpty())
        font.setFamilies({formFamily()});
    font.setPointSize(pointSize);
    return font;
}

} // namespace platform
