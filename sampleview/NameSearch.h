#pragma once

#include <QString>
#include <QStringList>

// Whether a font family matches what the user typed into the name search. A family matches
// when any of its names contains the text, ignoring letter case and the difference between
// full-width and half-width forms: "ｉｐａ", "IPA" and "ipa" find the same families, and the
// Japanese name of a family finds it as well as its Latin one.
class NameSearch {
public:
    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    // An empty search matches every family.
    bool IsEmpty() const { return needle_.isEmpty(); }
    bool Matches(const QString& name, const QStringList& otherNames = {}) const;

    // The form in which names are compared: compatibility-normalised and case-folded.
    // Folding can undo the normalisation (U+0130 folds to "i" and a combining dot), hence
    // the second pass.
    static QString Fold(const QString& text);

private:
    bool contains(const QString& name) const;

    QString text_;
    QString needle_;
};
