#pragma once

#include "platform/FileAccess.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <deque>
#include <memory>
#include <optional>

struct hb_blob_t;
struct hb_face_t;

// No font comes near this; a larger file is damage or no font, and reading it would take all
// memory.
inline constexpr qint64 MaxFontFileSize = 256 * 1024 * 1024;

// The whole of a font file, read into memory at one moment, for readers that need it whole
// (FreeType). Never blocks on a FIFO or device; none and why (for the user) otherwise.
std::optional<QByteArray> ReadFontBytes(const QString& path, QString* error);

// One version of a font file, read into memory a table at a time as HarfBuzz asks for the
// tables, never mapped: a file rewritten in place while the program runs must not take the
// program with it. Shaping needs a few small tables of a face, drawing its outlines one more;
// a large file is never read whole for a few glyphs. Each read checks that the file is still
// the same version: one that has changed or gone gives nothing, and the file is Lost().
class FontFileData : public std::enable_shared_from_this<FontFileData> {
public:
    FontFileData(QString path, platform::FileVersion version, std::shared_ptr<int> reads);
    ~FontFileData();
    FontFileData(const FontFileData&) = delete;
    FontFileData& operator=(const FontFileData&) = delete;

    const QString& Path() const { return file_.Path(); }
    const platform::FileVersion& Version() const { return file_.Version(); }
    // The bytes read so far and held.
    qsizetype Held() const { return held_; }
    // Whether a read found the file changed or gone.
    bool Lost() const { return lost_; }
    // The faces the file holds.
    unsigned FaceCount() const;
    // Up to length bytes at offset into a buffer, for readers of their own (FreeType); how
    // many, or -1 when the file has changed or gone (it is then Lost()).
    qint64 ReadInto(quint64 offset, char* into, quint64 length) const;
    // Closes the file until the next read: a face out of use keeps no file open.
    void Close() const { file_.Close(); }
    // The face at index (without the named instance), new: the caller destroys it. Its
    // tables are read when HarfBuzz first needs them and kept here for the other faces of the
    // file. Even a damaged file gives a face, an empty one.
    hb_face_t* CreateFace(unsigned index) const;

private:
    struct FaceTables;
    static hb_blob_t* referenceTable(hb_face_t*, unsigned tag, void* data);

    std::optional<QByteArray> read(quint64 offset, quint64 length) const;
    const QByteArray& header() const;
    const QByteArray* directory(quint32 offset) const;
    hb_blob_t* table(quint32 offset, quint32 length) const;

    mutable platform::VersionedFile file_;
    std::shared_ptr<int> reads_;                // the reader's count
    mutable std::optional<QByteArray> header_;  // the first 12 bytes
    mutable std::optional<QByteArray> offsets_; // a collection's offsets of its faces
    mutable QHash<quint32, QByteArray> directories_;
    mutable QHash<quint64, hb_blob_t*> tables_; // by offset and length
    mutable QHash<quint64, QByteArray> blocks_; // for ReadInto, by number
    mutable hb_blob_t* whole_ = nullptr;        // a file HarfBuzz reads as a whole
    mutable qsizetype held_ = 0;
    mutable bool lost_ = false;
};

// Hands out the files the faces are drawn from. The faces of one file share what has been
// read of it while they are in use, and the last few files stay at hand: the faces of a
// collection come one after another, and a collection of thousands is then read once, not
// once per face. What is handed out is of the file as it is now: a file changed since is
// read afresh. Not thread-safe: one reader per thread.
class FontFileReader {
public:
    // The file as it is now; none and why (for the user) when there is no regular file of a
    // font's size there (missing, a FIFO, a device). Reads nothing yet.
    std::shared_ptr<const FontFileData> Read(const QString& path, QString* error = nullptr);
    // How many reads of a part of a file there have been, for tests and the benchmark.
    int Reads() const { return *reads_; }

private:
    void keep(const std::shared_ptr<const FontFileData>& file);

    QHash<QString, std::weak_ptr<const FontFileData>> inUse_;
    std::deque<std::shared_ptr<const FontFileData>> recent_; // the newest first
    qsizetype sweepAt_ = 64;
    std::shared_ptr<int> reads_ = std::make_shared<int>(0);
};
