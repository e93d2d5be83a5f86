#include "fontengine/FontFileReader.h"

#include <algorithm>
#include <hb.h>

namespace {

// The last files used stay at hand while they are few and small together: enough for the
// faces of a collection, which come one after another, and little for a program that keeps
// running long after it drew them.
constexpr size_t RecentFiles = 4;
constexpr qsizetype RecentBytes = 32 * 1024 * 1024;

constexpr hb_tag_t CollectionTag = HB_TAG('t', 't', 'c', 'f');
// A table directory: the format's tag, the number of tables and three words of search hints,
// then a record of 16 bytes per table: tag, checksum, offset in the file, length.
constexpr quint32 DirectoryHeader = 12;
constexpr quint32 TableRecord = 16;
// FreeType's small reads are served from blocks of the file kept here, up to a few per file.
constexpr quint64 BlockSize = 16 * 1024;
constexpr qsizetype MaxBlocks = 64;

quint32 be32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
}

quint16 be16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return quint16(b[0] << 8 | b[1]);
}

bool isSingleFont(quint32 tag) {
    return tag == 0x00010000 || tag == HB_TAG('O', 'T', 'T', 'O') ||
           tag == HB_TAG('t', 'r', 'u', 'e') || tag == HB_TAG('t', 'y', 'p', '1');
}

// A blob over bytes it keeps (shared, not copied) for as long as HarfBuzz holds it.
hb_blob_t* blobOf(const QByteArray& bytes) {
    return hb_blob_create(bytes.constData(), static_cast<unsigned>(bytes.size()),
                          HB_MEMORY_MODE_READONLY, new QByteArray(bytes),
                          [](void* data) { delete static_cast<QByteArray*>(data); });
}

} // namespace

std::optional<QByteArray> ReadFontBytes(const QString& path, QString* error) {
    std::optional<platform::FileRefusal> refusal;
    std::optional<QByteArray> bytes = platform::ReadRegularFile(path, MaxFontFileSize, &refusal);
    if (!bytes && error)
        *error = refusal ? refusal->readMessage()
                         : platform::FileRefusal(platform::FileRefusal::Kind::Unreadable, path)
                               .readMessage();
    return bytes;
}

// One face's tables, found through the face's own table directory. HarfBuzz, given the whole
// file, checks the directory of every face of a collection each time it makes one of them: a
// face of a collection of 60,000 then costs half a millisecond instead of ten microseconds.
struct FontFileData::FaceTables {
    std::shared_ptr<const FontFileData> file;
    quint32 directory; // where the face's table directory starts in the file
};

FontFileData::FontFileData(QString path, platform::FileVersion version, std::shared_ptr<int> reads)
    : file_(std::move(path), version), reads_(std::move(reads)) {}

FontFileData::~FontFileData() {
    for (hb_blob_t* blob : std::as_const(tables_))
        hb_blob_destroy(blob);
    hb_blob_destroy(whole_);
}

std::optional<QByteArray> FontFileData::read(quint64 offset, quint64 length) const {
    if (lost_)
        return std::nullopt;
    ++*reads_;
    std::optional<QByteArray> bytes = file_.Read(offset, length);
    if (!bytes) {
        lost_ = true;
        file_.Close();
    } else
        held_ += bytes->size();
    return bytes;
}

qint64 FontFileData::ReadInto(quint64 offset, char* into, quint64 length) const {
    // FreeType reads a few bytes at a time: the blocks around them are read and kept instead.
    const quint64 block = offset / BlockSize;
    if (length > 0 && length <= BlockSize && (offset + length - 1) / BlockSize == block) {
        auto it = blocks_.constFind(block);
        if (it == blocks_.constEnd()) {
            if (blocks_.size() >= MaxBlocks) {
                for (const QByteArray& kept : std::as_const(blocks_))
                    held_ -= kept.size();
                blocks_.clear();
            }
            const std::optional<QByteArray> bytes = read(block * BlockSize, BlockSize);
            if (!bytes)
                return -1;
            it = blocks_.insert(block, *bytes);
        }
        const quint64 within = offset - block * BlockSize;
        const quint64 count = quint64(it->size()) > within
                                  ? std::min<quint64>(length, quint64(it->size()) - within)
                                  : 0;
        std::copy_n(it->constData() + within, count, into);
        return qint64(count);
    }
    if (lost_)
        return -1;
    ++*reads_;
    const qint64 count = file_.ReadInto(offset, into, length);
    if (count < 0) {
        lost_ = true;
        file_.Close();
    }
    return count;
}

const QByteArray& FontFileData::header() const {
    if (!header_)
        header_ = read(0, DirectoryHeader).value_or(QByteArray());
    return *header_;
}

unsigned FontFileData::FaceCount() const {
    const QByteArray& start = header();
    if (start.size() < qsizetype(DirectoryHeader))
        return 0;
    const quint32 tag = be32(start.constData());
    if (isSingleFont(tag))
        return 1;
    if (tag == CollectionTag)
        return static_cast<unsigned>(
            std::min<quint64>(be32(start.constData() + 8), (Version().size - 12) / 4));
    // Any other container HarfBuzz reads (a Macintosh resource file) is read whole and left
    // to it.
    if (!whole_) {
        const std::optional<QByteArray> bytes = read(0, quint64(Version().size));
        if (!bytes)
            return 0;
        whole_ = blobOf(*bytes);
    }
    return hb_face_count(whole_);
}

hb_face_t* FontFileData::CreateFace(unsigned index) const {
    if (index >= FaceCount())
        return hb_face_get_empty();
    if (whole_)
        return hb_face_create(whole_, index);
    quint32 directory = 0;
    if (be32(header().constData()) == CollectionTag) {
        // The offsets of all faces at once: the faces of a collection are used together.
        if (!offsets_)
            offsets_ = read(12, 4 * quint64(FaceCount())).value_or(QByteArray());
        if (offsets_->size() < 4 * qsizetype(index) + 4)
            return hb_face_get_empty();
        directory = be32(offsets_->constData() + 4 * index);
    }
    hb_face_t* face =
        hb_face_create_for_tables(referenceTable, new FaceTables{shared_from_this(), directory},
                                  [](void* data) { delete static_cast<FaceTables*>(data); });
    hb_face_set_index(face, index);
    return face;
}

const QByteArray* FontFileData::directory(quint32 offset) const {
    auto it = directories_.constFind(offset);
    if (it == directories_.constEnd()) {
        QByteArray records;
        if (const auto start = read(offset, DirectoryHeader);
            start && start->size() == qsizetype(DirectoryHeader)) {
            const quint64 count = be16(start->constData() + 4);
            records =
                *start +
                read(quint64(offset) + DirectoryHeader, count * TableRecord).value_or(QByteArray());
        }
        it = directories_.insert(offset, records);
    }
    return &*it;
}

hb_blob_t* FontFileData::table(quint32 offset, quint32 length) const {
    const quint64 key = quint64(offset) << 32 | length;
    auto it = tables_.constFind(key);
    if (it == tables_.constEnd()) {
        // A table beyond the file's end comes out empty or cut short; HarfBuzz checks each
        // table before it reads it.
        const std::optional<QByteArray> bytes = read(offset, length);
        if (!bytes)
            return hb_blob_get_empty(); // not kept: the face is lost anyway
        it = tables_.insert(key, blobOf(*bytes));
    }
    return hb_blob_reference(*it);
}

hb_blob_t* FontFileData::referenceTable(hb_face_t*, unsigned tag, void* data) {
    const auto* face = static_cast<const FaceTables*>(data);
    if (tag == HB_TAG_NONE)
        return hb_blob_get_empty();
    const QByteArray* records = face->file->directory(face->directory);
    const qsizetype count = (records->size() - qsizetype(DirectoryHeader)) / TableRecord;
    for (qsizetype i = 0; i < count; ++i) {
        const char* record = records->constData() + DirectoryHeader + TableRecord * i;
        if (be32(record) == tag)
            return face->file->table(be32(record + 8), be32(record + 12));
    }
    return hb_blob_get_empty();
}

std::shared_ptr<const FontFileData> FontFileReader::Read(const QString& path, QString* error) {
    // Looked at without opening: a file of the same version needs no reading again.
    std::optional<platform::FileRefusal> refusal;
    const std::optional<platform::FileVersion> now = platform::VersionOf(path, &refusal);
    if (!now || now->size > MaxFontFileSize) {
        if (error) {
            using Kind = platform::FileRefusal::Kind;
            if (now)
                refusal.emplace(Kind::TooLarge, path, MaxFontFileSize);
            else if (!refusal)
                refusal.emplace(Kind::Unreadable, path); // missing
            *error = refusal->readMessage();
        }
        return {};
    }
    const auto current = [&now](const std::shared_ptr<const FontFileData>& file) {
        return file && file->Version() == *now && !file->Lost();
    };
    for (const auto& file : recent_)
        if (file->Path() == path && current(file)) {
            const auto found = file;
            keep(found);
            return found;
        }
    if (const auto used = inUse_.value(path).lock(); current(used)) {
        keep(used);
        return used;
    }
    auto file = std::make_shared<const FontFileData>(path, *now, reads_);
    inUse_.insert(path, file);
    if (inUse_.size() >= sweepAt_) {
        // Files no face holds any more are forgotten now and then, not at every read.
        inUse_.removeIf([](const auto& entry) { return entry.value().expired(); });
        sweepAt_ = std::max<qsizetype>(64, inUse_.size() * 2);
    }
    keep(file);
    return file;
}

void FontFileReader::keep(const std::shared_ptr<const FontFileData>& file) {
    // An older version of the file is of no use any more.
    std::erase_if(recent_, [&file](const auto& kept) { return kept->Path() == file->Path(); });
    recent_.push_front(file);
    qsizetype total = 0;
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        total += (*it)->Held();
        if (it - recent_.begin() >= qsizetype(RecentFiles) ||
            (total > RecentBytes && it != recent_.begin())) {
            recent_.erase(it, recent_.end());
            break;
        }
    }
}
