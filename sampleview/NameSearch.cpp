#include "sampleview/NameSearch.h"

QString NameSearch::Fold(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_KC);
}

void NameSearch::SetText(const QString& text) {
    text_ = text;
    // Blanks typed around a name are not part of what the user looks for.
    needle_ = Fold(text).trimmed();
}

bool NameSearch::contains(const QString& name) const {
    // Most names are plain ASCII and need no normalising: fold them the cheap way, since
    // every keystroke runs this over thousands of names.
    bool ascii = true;
    for (const QChar c : name)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return name.contains(needle_, Qt::CaseInsensitive);
    return Fold(name).contains(needle_);
}

bool NameSearch::Matches(const QString& name, const QStringList& otherNames) const {
    if (needle_.isEmpty())
        return true;
    if (contains(name))
        return true;
    for (const QString& other : otherNames)
        if (contains(other))
            return true;
    return false;
}
