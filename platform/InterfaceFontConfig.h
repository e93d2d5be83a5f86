#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

struct _FcConfig;

namespace platform {

// Qt reads every font fontconfig lists into a database of its own at the window's first text,
// and looks for a missing character by sorting the whole collection: with 20,000 families
// that was most of the time before the first tiles. The tiles are drawn by the font engine
// from the catalogue's files, so Qt needs only fonts for what it draws itself: the
// interface's texts and whatever a family name, a name table or a typed sample text holds.
//
// While an instance lives, fontconfig's current configuration (the one Qt reads, and every
// call that names no configuration) holds only those. The installed fonts are walked in the
// order of their closeness to the interface's font (fontconfig's match for it first, then the
// families fontconfig's aliases prefer for it, then the rest as fontconfig lists them), and a
// font is kept when it has a character or a language (an orthography fontconfig knows) that no
// font before it has; every face of a kept family is kept, so that bold stays real bold. Every
// character some installed font has is then in a kept one, and each language goes to the
// font that comes first for it. The configuration with every installed font stays for the
// catalogue: AllFontsConfig().
//
// Choosing costs one pass over the collection's charsets and languages and one match of the
// interface's font (which choosing the interface's font made anyway).
class InterfaceFontConfig : public QObject {
    Q_OBJECT
public:
    // preferred: the interface font's fontconfig pattern.
    explicit InterfaceFontConfig(const QString& preferred, QObject* parent = nullptr);
    // Leaves the reduced configuration current: Qt's font engines and its font database,
    // which may outlive this object, came from it.
    ~InterfaceFontConfig() override;
    InterfaceFontConfig(const InterfaceFontConfig&) = delete;
    InterfaceFontConfig& operator=(const InterfaceFontConfig&) = delete;

    // Whether the reduced configuration is current; false when fontconfig had no fonts or
    // could not make one, and everything then reads every font as before.
    bool Active() const { return allFonts_ != nullptr; }
    // The families the reduced configuration holds, in the order they were chosen.
    const QStringList& Families() const { return families_; }

private:
    _FcConfig* allFonts_ = nullptr;
    QStringList families_;
};

// The configuration holding every installed font, for the catalogue and what reads its
// families: while an InterfaceFontConfig is active its own, else nullptr (fontconfig's current
// one, which then holds every font). Safe from any thread.
_FcConfig* AllFontsConfig();

} // namespace platform
