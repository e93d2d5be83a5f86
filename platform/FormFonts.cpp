#include "platform/FormFonts.h"

#include "platform/FontconfigHandles.h"

#include <QGuiApplication>
#include <QStringList>

namespace platform {

namespace {

struct FormFamilyChoice {
    QString family;
    bool hasJapanese = false;
};

FormFamilyChoice& chosen() {
    static FormFamilyChoice choice;
    return choice;
}

std::unique_ptr<FcPattern, fc::PatternDeleter> preferredMatch(const QString& pattern) {
    std::unique_ptr<FcPattern, fc::PatternDeleter> request(
        FcNameParse(reinterpret_cast<const FcChar8*>(pattern.toUtf8().constData())));
    if (!request)
        return nullptr;
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    return std::unique_ptr<FcPattern, fc::PatternDeleter>(
        FcFontMatch(nullptr, request.get(), &result));
}

// fontconfig hands back its best font even when none has the language asked for.
bool hasLanguage(FcPattern* font, const char* language) {
    FcLangSet* languages = nullptr;
    return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
           FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual;
}

} // namespace

QString PreferredFamily(const QString& pattern) {
    const auto match = preferredMatch(pattern);
    return match ? fc::stringAt(match.get(), FC_FAMILY, 0) : QString();
}

void UseFormFontEverywhere() {
    const auto match = preferredMatch(FormFontPattern());
    const QString japanese = match ? fc::stringAt(match.get(), FC_FAMILY, 0) : QString();
    chosen() = {japanese, match && hasLanguage(match.get(), "ja")};
    if (japanese.isEmpty())
        return;
    // The desktop's size stays; the Japanese family covers the Latin captions as well.
    QFont font = QGuiApplication::font();
    font.setFamilies({japanese});
    // Every form, tile label and message box inherits the strategy, as it does the family.
    if (!chosen().hasJapanese)
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    QGuiApplication::setFont(font);
    // Anything that still names the designed fonts ends up in the same family.
    for (const QString& designed :
         {QStringLiteral("Tahoma"), QStringLiteral("メイリオ"), QStringLiteral("Meiryo")})
        QFont::insertSubstitution(designed, japanese);
}

QString FormFontPattern() {
    return QStringLiteral("sans-serif:lang=ja");
}

QString FormFamily() {
    return chosen().family;
}

bool FormFamilyHasJapanese() {
    return chosen().hasJapanese;
}

QFont FormFont(int pointSize) {
    QFont font = QGuiApplication::font();
    if (!chosen().family.isEmpty())
        font.setFamilies({chosen().family});
    font.setPointSize(pointSize);
    return font;
}

} // namespace platform
