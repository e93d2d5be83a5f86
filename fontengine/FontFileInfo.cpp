#include "fontengine/FontFileInfo.h"

#include "fontengine/FontFileReader.h"

#include <QStringDecoder>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ERRORS_H
#include FT_FONT_FORMATS_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include <memory>

namespace platform {

namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// Windows language identifiers of the languages the program asks for.
constexpr FT_UShort LanguageEnglishUS = 0x0409;
constexpr FT_UShort LanguageJapanese = 0x0411;

QString decodeUtf16BE(QByteArrayView bytes) {
    // A damaged table may give an odd length: the last half character is dropped.
    QStringDecoder decoder(QStringDecoder::Utf16BE);
    QString text = decoder.decode(bytes.first(bytes.size() & ~qsizetype(1)));
    return text;
}

// Mac Roman's upper half; Qt's decoders know the encoding only when built with ICU.
const char16_t MacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

QString decodeMacRoman(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text.append(code < 0x80 ? QChar(code) : QChar(MacRomanHigh[code - 0x80]));
    }
    return text;
}

// Which record of a name to show: lower is better, -1 never.
int rank(const FT_SfntName& name, FT_UShort preferredLanguage) {
    if (name.platform_id == TT_PLATFORM_MICROSOFT &&
        (name.encoding_id == TT_MS_ID_UNICODE_CS || name.encoding_id == TT_MS_ID_UCS_4 ||
         name.encoding_id == TT_MS_ID_SYMBOL_CS)) {
        if (name.language_id == preferredLanguage)
            return 0;
        if (name.language_id == LanguageEnglishUS)
            return 1;
        return 2;
    }
    if (name.platform_id == TT_PLATFORM_APPLE_UNICODE)
        return 3;
    if (name.platform_id == TT_PLATFORM_MACINTOSH &&
        (name.encoding_id == TT_MAC_ID_ROMAN || name.encoding_id == TT_MAC_ID_JAPANESE))
        return name.language_id == TT_MAC_LANGID_ENGLISH ? 4 : 5;
    return -1;
}

QString errorText(FT_Error error) {
    const char* text = FT_Error_String(error);
    return text ? QString::fromUtf8(text)
                : QStringLiteral("FreeType error 0x%1").arg(error, 2, 16, QChar(u'0'));
}

} // namespace

QString DecodeNameString(int platformId, int encodingId, QByteArrayView bytes) {
    switch (platformId) {
    case TT_PLATFORM_APPLE_UNICODE:
        return decodeUtf16BE(bytes);
    case TT_PLATFORM_MICROSOFT:
        if (encodingId == TT_MS_ID_UNICODE_CS || encodingId == TT_MS_ID_UCS_4 ||
            encodingId == TT_MS_ID_SYMBOL_CS)
            return decodeUtf16BE(bytes);
        return {};
    case TT_PLATFORM_MACINTOSH:
        if (encodingId == TT_MAC_ID_ROMAN)
            return decodeMacRoman(bytes);
        if (encodingId == TT_MAC_ID_JAPANESE) {
            QStringDecoder decoder("Shift_JIS");
            if (decoder.isValid())
                return decoder.decode(bytes);
        }
        return {};
    default:
        return {};
    }
}

FontFileInfo ReadFontFile(const QString& path, int faceIndex, const QString& preferredLanguage) {
    // Read here, never opened by FreeType: it would wait for ever on a FIFO in the file's place.
    QString error;
    const std::optional<QByteArray> bytes = ReadFontBytes(path, &error);
    if (!bytes) {
        FontFileInfo info;
        info.Error = error;
        return info;
    }
    return ReadFontData(*bytes, faceIndex, preferredLanguage);
}

FontFileInfo ReadFontData(const QByteArray& bytes, int faceIndex,
                          const QString& preferredLanguage) {
    FontFileInfo info;
    FT_Library rawLibrary = nullptr;
    if (FT_Error error = FT_Init_FreeType(&rawLibrary)) {
        info.Error = errorText(error);
        return info;
    }
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_Error error =
            FT_New_Memory_Face(library.get(), reinterpret_cast<const FT_Byte*>(bytes.constData()),
                               static_cast<FT_Long>(bytes.size()), faceIndex, &rawFace)) {
        info.Error = errorText(error);
        return info;
    }
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
    info.Opened = true;
    info.GlyphCount = static_cast<int>(face->num_glyphs);
    if (const char* format = FT_Get_Font_Format(face.get()))
        info.Format = QString::fromLatin1(format);

    const FT_UShort preferred =
        preferredLanguage.startsWith(QLatin1String("ja")) ? LanguageJapanese : LanguageEnglishUS;
    struct Best {
        int rank = -1;
        QString text;
    };
    Best best[TT_NAME_ID_LICENSE_URL + 1];
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face.get());
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face.get(), i, &name) != 0 || name.name_id > TT_NAME_ID_LICENSE_URL)
            continue;
        const int r = rank(name, preferred);
        Best& slot = best[name.name_id];
        if (r < 0 || (slot.rank >= 0 && slot.rank <= r))
            continue;
        const QString text = DecodeNameString(
            name.platform_id, name.encoding_id,
            QByteArrayView(reinterpret_cast<const char*>(name.string), name.string_len));
        if (text.isNull())
            continue;
        slot = {r, text};
    }
    info.Copyright = best[TT_NAME_ID_COPYRIGHT].text;
    info.FullName = best[TT_NAME_ID_FULL_NAME].text;
    info.Version = best[TT_NAME_ID_VERSION_STRING].text;
    info.Licence = best[TT_NAME_ID_LICENSE].text;
    info.LicenceUrl = best[TT_NAME_ID_LICENSE_URL].text;
    return info;
}

} // namespace platform
