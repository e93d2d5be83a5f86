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

// The whole of a font file, read into memory at one moment. Never a mapping: a file rewritten
// in place while the program runs must not take the program with it.
std::optional<QByteArray> ReadFontBytes(const QString& path, platform::FileVersion* version,
                                        QString* error);

// A font file's bytes as they were read, for HarfBuzz.
class FontFileBytes {
public:
    FontFileBytes(QString path, platform::FileVersion version, QByteArray bytes);
    ~FontFileBytes();
    FontFileBytes(const FontFileBytes&) = delete;
    FontFileBytes& operator=(const FontFileBytes&) = delete;

    const QString& Path() const { return path_; }
    const platform::FileVersion& Version() const { return version_; }
    const QByteArray& Data() const { return data_; }
    qsizetype Size() const { return data_.size(); }
    // The faces the file holds.
    unsigned FaceCount() const;
    // The face at index (without the named instance), new: the caller destroys it. Even a
    // damaged file gives a face, an empty one.
    hb_face_t* CreateFace(unsigned index) const;

private:
    QString path_;
    platform::FileVersion version_;
    QByteArray data_;
    hb_blob_t* blob_ = nullptr;
};

// Reads font files for the faces drawn from them. The faces of one file share its bytes
// while they are in use, and the last few files read stay at hand: the faces of a collection
// come one after another, and a collection of thousands is then read once, not once per
// face. Whatever is handed out is of the file as it is now: a file changed since is read
// again. Not thread-safe: one reader per thread.
class FontFileReader {
public:
    // The bytes of the file as it is now; none and why (for the user) when it cannot be read:
    // missing, no regular file (a FIFO, a device), too large, or written while read.
    std::shared_ptr<const FontFileBytes> Read(const QString& path, QString* error = nullptr);
    // How many times a file has been read, for tests and the benchmark.
    int Reads() const { return reads_; }

private:
    void keep(const std::shared_ptr<const FontFileBytes>& bytes);

    QHash<QString, std::weak_ptr<const FontFileBytes>> inUse_;
    std::deque<std::shared_ptr<const FontFileBytes>> recent_; // the newest first
    qsizetype sweepAt_ = 64;
    int reads_ = 0;
};
