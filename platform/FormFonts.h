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
void UseFormFontEverywhere();

// The family the forms are drawn in; empty before UseFormFontEverywhere() or without fonts.
QString FormFamily();

// The forms' family at the given size, for text drawn outside the forms.
QFont FormFont(int pointSize);

// The installed family fontconfig picks for a pattern such as "sans-serif:lang=ja"; empty
// when there is none.
QString PreferredFamily(const QString& pattern);

} // namespace platform
