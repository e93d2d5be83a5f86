#pragma once

#include <QByteArrayView>
#include <QString>

namespace platform {

// What a font file says about one of its faces, read with FreeType. Strings come from the
// font's own name table: they are untrusted text.
struct FontFileInfo {
    bool Opened = false; // FreeType could open the face; the rest is empty otherwise
    QString Error;       // why it could not, for the user
    QString Format;      // FreeType's word: "TrueType", "CFF", "Type 1", ...
    int GlyphCount = -1;
    QString FullName;
    QString Version;
    QString Copyright;
    QString Licence;
    QString LicenceUrl;
};

// Reads the face at the index of the file. A damaged or missing file gives what could be
// read and an error, never a crash; a FIFO or device in its place an error at once.
// preferredLanguage: "ja", "en", ... for the name table's strings; English, then any
// language, when the font has none in it.
FontFileInfo ReadFontFile(const QString& path, int faceIndex,
                          const QString& preferredLanguage = {});
// The same from a font file's bytes read already.
FontFileInfo ReadFontData(const QByteArray& bytes, int faceIndex,
                          const QString& preferredLanguage = {});

// A name table string as stored: UTF-16BE for the Unicode and Windows platforms, Mac Roman
// (or the Japanese Mac encoding) for the Macintosh one. Null when the encoding is one we do
// not read.
QString DecodeNameString(int platformId, int encodingId, QByteArrayView bytes);

} // namespace platform
