#include "sampleview/NameSearch.h"

#include <QRegularExpression>
#include <QVarLengthArray>
#include <algorithm>

QString NameSearch::Fold(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_KC);
}

void NameSearch::SetText(const QString& text) {
    text_ = text;
    // Folding turns an ideographic space into a plain one, so both part words.
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    words_ = Fold(text).split(blanks, Qt::SkipEmptyParts);
}

namespace {

// A name in the form it is compared in. Most names are plain ASCII and need no normalising:
// they are compared ignoring case, the cheap way, since every keystroke runs this over
// thousands of names.
struct Comparable {
    Comparable() = default;
    explicit Comparable(const QString& name) : text(name) {
        for (const QChar c : name)
            if (c.unicode() >= 0x80) {
                text = NameSearch::Fold(name);
                folded = true;
                break;
            }
    }
    bool contains(const QString& word) const {
        return text.contains(word, folded ? Qt::CaseSensitive : Qt::CaseInsensitive);
    }
    QString text;
    bool folded = false;
};

} // namespace

bool NameSearch::Matches(const QString& name, const QStringList& otherNames) const {
    if (words_.isEmpty())
        return true;
    QVarLengthArray<Comparable, 4> names;
    names.append(Comparable(name));
    for (const QString& other : otherNames)
        names.append(Comparable(other));
    for (const QString& word : words_)
        if (std::none_of(names.begin(), names.end(),
                         [&word](const Comparable& each) { return each.contains(word); }))
            return false;
    return true;
}
