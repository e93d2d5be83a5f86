#include "fontengine/ScriptSamples.h"

namespace {

bool covers(const QString& text, const std::function<bool(char32_t)>& hasCharacter) {
    if (text.isEmpty())
        return false;
    for (char32_t c : text.toUcs4())
        if (!hasCharacter(c))
            return false;
    return true;
}

} // namespace

const QStringList& ScriptSamples() {
    static const QStringList samples{
        QStringLiteral("Aa Bb Cc"),   // Latin
        QStringLiteral("あア亜"),     // Japanese
        QStringLiteral("永字八法"),   // Han
        QStringLiteral("한글"),       // Hangul
        QStringLiteral("Αα Ββ Γγ"),   // Greek
        QStringLiteral("Аа Бб Вв"),   // Cyrillic
        QStringLiteral("ابجد"),       // Arabic
        QStringLiteral("אבגד"),       // Hebrew
        QStringLiteral("กขคง"),       // Thai
        QStringLiteral("ກຂຄງ"),       // Lao
        QStringLiteral("अआइई"),       // Devanagari
        QStringLiteral("অআইঈ"),       // Bengali
        QStringLiteral("ਅਆਇਈ"),       // Gurmukhi
        QStringLiteral("અઆઇઈ"),       // Gujarati
        QStringLiteral("ଅଆଇଈ"),       // Oriya
        QStringLiteral("அஆஇஈ"),       // Tamil
        QStringLiteral("అఆఇఈ"),       // Telugu
        QStringLiteral("ಅಆಇಈ"),       // Kannada
        QStringLiteral("അആഇഈ"),       // Malayalam
        QStringLiteral("අආඇඈ"),       // Sinhala
        QStringLiteral("ཀཁགང"),       // Tibetan
        QStringLiteral("ကခဂဃ"),       // Myanmar
        QStringLiteral("កខគឃ"),       // Khmer
        QStringLiteral("ԱաԲբ"),       // Armenian
        QStringLiteral("აბგდ"),       // Georgian
        QStringLiteral("ሀሁሂሃ"),       // Ethiopic
        QStringLiteral("ᐁᐃᐅᐊ"),       // Canadian syllabics
        QStringLiteral("ᎠᎡᎢᎣ"),       // Cherokee
        QStringLiteral("ᠠᠡᠢᠣ"),       // Mongolian
        QStringLiteral("ꆈꌠꁱꂷ"),   // Yi
        QStringLiteral("0123456789"), // digits only
    };
    return samples;
}

QString DefaultCaption(const QString& name, const std::function<bool(char32_t)>& hasCharacter,
                       const std::function<QString()>& firstCharacters) {
    if (covers(name, hasCharacter))
        return name;
    for (const QString& sample : ScriptSamples())
        if (covers(sample, hasCharacter))
            return sample;
    const QString first = firstCharacters();
    return first.isEmpty() ? name : first;
}
