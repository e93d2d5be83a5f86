#pragma once

#include <QFont>
#include <QString>

namespace platform {

// The forms were designed in "Tahoma" and "メイリオ", which a Linux desktop does not have.
// Both stand for the installed family fontconfig prefers for Japanese sans-serif text, which
// becomes the application's font; the forms name sizes only and inherit it.
//
// Naming a family Qt does not have is dear with thousands of fonts: before it falls back, Qt
// sorts every installed font and checks each against its whole list, about 0.1 s at 4,000
// families for each new family, style and script. So no text of ours asks for one.
//
// A desktop without any Japanese font gets the family all the same, with font merging off:
// each character it lacks would otherwise send Qt through every installed family in turn
// (a fontconfig match over the whole collection for each), seconds before the first window
// at 10,000 families, only to find none. Those characters show as boxes instead.
void UseFormFontEverywhere();

// The fontconfig pattern of the family the forms are drawn in.
QString FormFontPattern();

// The family the forms are drawn in; empty before UseFormFontEverywhere() or without fonts.
QString FormFamily();

// Whether the forms' family has Japanese (fontconfig's "ja" coverage); false before
// UseFormFontEverywhere() and on a desktop where no installed font has it.
bool FormFamilyHasJapanese();

// The forms' family at the given size, for text drawn outside the forms.
QFont FormFont(int pointSize);

// The installed family fontconfig picks for a pattern such as "sans-serif:lang=ja"; empty
// when there is none.
QString PreferredFamily(const QString& pattern);

} // namespace platform
