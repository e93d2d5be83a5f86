#include "platform/FormFonts.h"

#include <QFont>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace platform {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};

} // namespace

QString PreferredFamily(const QString& pattern) {
    std::unique_ptr<FcPattern, PatternDeleter> request(
        FcNameParse(reinterpret_cast<const FcChar8*>(pattern.toUtf8().constData())));
    if (!request)
        return {};
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(nullptr, request.get(), &result));
    FcChar8* family = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

void SubstituteFormFonts() {
    // The Japanese family covers the Latin captions as well; Qt's own generic family is the
    // last resort, which it resolves without a scan.
    QStringList substitutes;
    const QString japanese = PreferredFamily(QStringLiteral("sans-serif:lang=ja"));
    if (!japanese.isEmpty())
        substitutes.append(japanese);
    substitutes.append(QStringLiteral("sans-serif"));
    for (const QString& missing :
         {QStringLiteral("Tahoma"), QStringLiteral("メイリオ"), QStringLiteral("Meiryo")})
        QFont::insertSubstitutions(missing, substitutes);
}

} // namespace platform
