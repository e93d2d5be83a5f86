#include "fontengine/CodePages.h"

#include "fontengine/FontFileReader.h"

#include <hb.h>

namespace codepages {

std::optional<quint32> ReadRange1(FontFileReader& reader, const QString& path, int faceIndex) {
    const std::shared_ptr<const FontFileData> file = reader.Read(path);
    if (!file)
        return std::nullopt;
    // The upper 16 bits name an instance of a variable font, which shares the face's tables.
    hb_face_t* face = file->CreateFace(static_cast<unsigned>(faceIndex) & 0xFFFFu);
    hb_blob_t* table = hb_face_reference_table(face, HB_TAG('O', 'S', '/', '2'));
    unsigned length = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(hb_blob_get_data(table, &length));
    std::optional<quint32> range;
    // Version at 0, ulCodePageRange1 at 78 from version 1 on.
    constexpr unsigned RangeEnd = 82;
    if (bytes && length >= RangeEnd && (bytes[0] << 8 | bytes[1]) >= 1)
        range = quint32(bytes[78]) << 24 | quint32(bytes[79]) << 16 | quint32(bytes[80]) << 8 |
                quint32(bytes[81]);
    hb_blob_destroy(table);
    hb_face_destroy(face);
    file->Close();
    return range;
}

} // namespace codepages
