#pragma once

#include <QString>

namespace platform {

// The forms ask for "Tahoma" and "メイリオ", which a Linux desktop does not have. Qt then
// tries every installed family in turn before it falls back, which with thousands of fonts
// takes most of the start. Maps them to the installed family fontconfig prefers for Japanese
// sans-serif text; call before the first window is built.
void SubstituteFormFonts();

// The installed family fontconfig picks for a pattern such as "sans-serif:lang=ja"; empty
// when there is none.
QString PreferredFamily(const QString& pattern);

} // namespace platform
