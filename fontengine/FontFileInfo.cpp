#include "fontengine/FontFileInfo.h"

#include "fontengine/FontFileReader.h"
#include "platform/TextCodec.h"

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

// The Macintosh platform's encodings through iconv, which every glibc has (Qt's own decoders
// know them only when built with ICU). Japanese is read as CP932 rather than glibc's Shift_JIS,
// which reads the ASCII range as JIS X 0201: the Latin letters of a name are meant as ASCII,
// not with a yen sign for the backslash and an overline for the tilde. A byte neither explains
// stands as U+FFFD, so that the rest of the name still shows.
QString decodeMacintosh(const char* encoding, QByteArrayView bytes) {
    bool lossy = false;
    return DecodeWithIconv(encoding, bytes, &lossy).value_or(QString());
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
            return decodeMacintosh("MACINTOSH", bytes);
        if (encodingId == TT_MAC_ID_JAPANESE)
            return decodeMacintosh("CP932", bytes);
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
