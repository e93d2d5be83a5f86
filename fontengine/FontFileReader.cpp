#include "fontengine/FontFileReader.h"

#include <algorithm>
#include <hb.h>

namespace {

// The last files read stay at hand while they are few and small together: enough for the
// faces of a collection, which come one after another, and little for a program that keeps
// running long after it drew them.
constexpr size_t RecentFiles = 4;
constexpr qsizetype RecentBytes = 32 * 1024 * 1024;

constexpr hb_tag_t CollectionTag = HB_TAG('t', 't', 'c', 'f');

quint32 be32(const unsigned char* p) {
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

bool isSingleFont(quint32 tag) {
    return tag == 0x00010000 || tag == HB_TAG('O', 'T', 'T', 'O') ||
           tag == HB_TAG('t', 'r', 'u', 'e') || tag == HB_TAG('t', 'y', 'p', '1');
}

// One face's tables, found through the face's own table directory. HarfBuzz, given the whole
// file, checks the directory of every face of a collection each time it makes one of them: a
// face of a collection of 60,000 then costs half a millisecond instead of ten microseconds.
struct FaceTables {
    hb_blob_t* file;
    unsigned directory; // where the face's table directory starts in the file
};

hb_blob_t* referenceTable(hb_face_t*, hb_tag_t tag, void* data) {
    const auto* tables = static_cast<const FaceTables*>(data);
    if (tag == HB_TAG_NONE)
        return hb_blob_reference(tables->file);
    unsigned length = 0;
    const auto* bytes =
        reinterpret_cast<const unsigned char*>(hb_blob_get_data(tables->file, &length));
    // A table directory: the format's tag, the number of tables, three words of search hints,
    // then a record of 16 bytes per table: tag, checksum, offset in the file, length.
    const quint64 records = quint64(tables->directory) + 12;
    if (!bytes || records > length)
        return hb_blob_get_empty();
    const auto count = static_cast<unsigned>(std::min<quint64>(
        bytes[tables->directory + 4] << 8 | bytes[tables->directory + 5], (length - records) / 16));
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char* record = bytes + records + 16 * quint64(i);
        if (be32(record) == tag)
            // A table beyond the file's end comes out empty or cut short; HarfBuzz checks
            // each table before it reads it.
            return hb_blob_create_sub_blob(tables->file, be32(record + 8), be32(record + 12));
    }
    return hb_blob_get_empty();
}

void destroyTables(void* data) {
    auto* tables = static_cast<FaceTables*>(data);
    hb_blob_destroy(tables->file);
    delete tables;
}

} // namespace

std::optional<QByteArray> ReadFontBytes(const QString& path, platform::FileVersion* version,
                                        QString* error) {
    std::optional<platform::FileRefusal> refusal;
    std::optional<QByteArray> bytes =
        platform::ReadRegularFile(path, MaxFontFileSize, &refusal, version);
    if (!bytes && error)
        *error = refusal ? refusal->readMessage()
                         : platform::FileRefusal(platform::FileRefusal::Kind::Unreadable, path)
                               .readMessage();
    return bytes;
}

FontFileBytes::FontFileBytes(QString path, platform::FileVersion version, QByteArray bytes)
    : path_(std::move(path)), version_(version), data_(std::move(bytes)) {
    // The blob keeps the bytes (shared, not copied) for as long as HarfBuzz holds any of
    // their tables.
    blob_ = hb_blob_create(data_.constData(), static_cast<unsigned>(data_.size()),
                           HB_MEMORY_MODE_READONLY, new QByteArray(data_),
                           [](void* data) { delete static_cast<QByteArray*>(data); });
}

FontFileBytes::~FontFileBytes() {
    hb_blob_destroy(blob_);
}

unsigned FontFileBytes::FaceCount() const {
    unsigned length = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(hb_blob_get_data(blob_, &length));
    if (!bytes || length < 12)
        return 0;
    const quint32 tag = be32(bytes);
    if (isSingleFont(tag))
        return 1;
    if (tag == CollectionTag)
        return static_cast<unsigned>(std::min<quint64>(be32(bytes + 8), (length - 12) / 4));
    // Any other container HarfBuzz reads (a Macintosh resource file) is left to it.
    return hb_face_count(blob_);
}

hb_face_t* FontFileBytes::CreateFace(unsigned index) const {
    unsigned length = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(hb_blob_get_data(blob_, &length));
    if (!bytes || length < 12 || index >= FaceCount())
        return hb_face_get_empty();
    const quint32 tag = be32(bytes);
    unsigned directory = 0;
    if (tag == CollectionTag)
        directory = be32(bytes + 12 + 4 * quint64(index));
    else if (!isSingleFont(tag))
        return hb_face_create(blob_, index);
    hb_face_t* face = hb_face_create_for_tables(
        referenceTable, new FaceTables{hb_blob_reference(blob_), directory}, destroyTables);
    hb_face_set_index(face, index);
    return face;
}

std::shared_ptr<const FontFileBytes> FontFileReader::Read(const QString& path, QString* error) {
    // Looked at without opening: bytes of the same version need no reading.
    if (const std::optional<platform::FileVersion> now = platform::VersionOf(path)) {
        for (auto it = recent_.begin(); it != recent_.end(); ++it)
            if ((*it)->Path() == path && (*it)->Version() == *now) {
                std::shared_ptr<const FontFileBytes> bytes = *it;
                recent_.erase(it);
                recent_.push_front(bytes);
                return bytes;
            }
        if (const auto used = inUse_.value(path).lock(); used && used->Version() == *now) {
            keep(used);
            return used;
        }
    }
    ++reads_;
    platform::FileVersion version;
    std::optional<QByteArray> bytes = ReadFontBytes(path, &version, error);
    if (!bytes)
        return {};
    auto read = std::make_shared<const FontFileBytes>(path, version, std::move(*bytes));
    inUse_.insert(path, read);
    if (inUse_.size() >= sweepAt_) {
        // Files no face holds any more are forgotten now and then, not at every read.
        inUse_.removeIf([](const auto& entry) { return entry.value().expired(); });
        sweepAt_ = std::max<qsizetype>(64, inUse_.size() * 2);
    }
    keep(read);
    return read;
}

void FontFileReader::keep(const std::shared_ptr<const FontFileBytes>& bytes) {
    // An older version of the file is of no use any more.
    std::erase_if(recent_, [&bytes](const auto& kept) { return kept->Path() == bytes->Path(); });
    if (bytes->Size() > RecentBytes)
        return;
    recent_.push_front(bytes);
    qsizetype total = 0;
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        total += (*it)->Size();
        if (total > RecentBytes || it - recent_.begin() >= qsizetype(RecentFiles)) {
            recent_.erase(it, recent_.end());
            break;
        }
    }
}
