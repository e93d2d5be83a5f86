#pragma once

#include <QString>
#include <QStringList>

// Whether a font family matches what the user typed into the name search. A family matches
// when each word typed is found in one of its names, in any order and anywhere in the name:
// users remember a family's words, not their order or the words between them ("Noto Sans
// JP" finds "Noto Sans CJK JP"). Letter case and the difference between full-width and
// half-width forms count for nothing: "ｉｐａ", "IPA" and "ipa" find the same families, and
// the Japanese name of a family finds it as well as its Latin one.
class NameSearch {
public:
    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    // An empty search matches every family.
    bool IsEmpty() const { return words_.isEmpty(); }
    bool Matches(const QString& name, const QStringList& otherNames = {}) const;

    // The form in which names are compared: compatibility-normalised and case-folded.
    // Folding can undo the normalisation (U+0130 folds to "i" and a combining dot), hence
    // the second pass.
    static QString Fold(const QString& text);

private:
    QString text_;
    QStringList words_; // folded
};
