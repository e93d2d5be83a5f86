#pragma once

#include "fontengine/FaceKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <future>
#include <optional>

// A font file as it is on disk now: an entry made for another size or time is stale.
struct FileStamp {
    QString path;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    // The file's stamp; none when it cannot be seen.
    static std::optional<FileStamp> Of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

// What a tile needs from its face to be placed without opening the file: the caption it
// shows with no sample text and that caption's width.
struct CaptionMetrics {
    QString name;       // the family name the caption was chosen for
    QString caption;    // the name itself, or a sample the face covers
    double advance = 0; // the caption's width in design units
    int unitsPerEm = 1000;
    int missing = 0; // characters of the caption the face lacks
    bool operator==(const CaptionMetrics&) const = default;
};

// Keeps CaptionMetrics between runs in a file of our own, so that a start does not read every font
// file again. The file is only a cache: one that is damaged, of another version or not ours
// is dropped whole and made again, and an entry whose font file has changed is made again.
class CaptionMetricsCache {
public:
    // Loads the cache file at path; an empty path keeps the cache in memory only.
    explicit CaptionMetricsCache(const QString& path);
    // Where the program keeps its cache: "faces.cache" in the user's cache folder.
    static QString DefaultPath();

    std::optional<CaptionMetrics> Find(const FileStamp& file, int index, const QString& name) const;
    void Store(const FileStamp& file, int index, const CaptionMetrics& info);
    // Whether there is an entry for the face under that name, without looking at its file:
    // Find may still find it out of date.
    bool Holds(const QString& path, int index, const QString& name) const;
    // A face's OS/2 code pages (ulCodePageRange1) as read before, so that a start does not
    // open every font file for them: none when the file changed since or was never read; an
    // empty value when the face declares no code pages.
    std::optional<std::optional<quint32>> FindCodePages(const FileStamp& file, int index) const;
    void StoreCodePages(const FileStamp& file, int index, std::optional<quint32> codePages);

    // Forgets every face for which keep says no (fonts no longer installed).
    template <typename Keep> void RetainOnly(Keep keep) {
        retainOnly(entries_, keep);
        retainOnly(codePages_, keep);
    }
    // Writes the file if anything changed since it was read; false when that failed.
    bool Save();
    // The same, the writing done on a thread of its own: a disk that syncs slowly must not
    // hold up the window. Save() and the destructor wait for it; a write that failed is
    // tried again by Save().
    void SaveInBackground();

    CaptionMetricsCache(CaptionMetricsCache&&) = default;
    CaptionMetricsCache& operator=(CaptionMetricsCache&&) = default;
    ~CaptionMetricsCache();

    int Size() const { return static_cast<int>(entries_.size()); }
    // Whether the file read at start was damaged or not ours (and so dropped).
    bool WasDropped() const { return dropped_; }

    // 2: a checksum of 8 bytes (Checksum) in place of SHA-256. 3: the faces' code pages.
    static constexpr quint32 Version = 3;
    static constexpr int ChecksumSize = 8;
    // What the file ends with: the checksum of everything before it.
    static QByteArray Checksum(QByteArrayView body);

private:
    struct Entry {
        FileStamp file;
        CaptionMetrics info;
    };
    struct CodePagesEntry {
        FileStamp file;
        qint64 codePages = -1; // -1: none declared
    };

    template <typename Map, typename Keep> void retainOnly(Map& map, Keep& keep) {
        for (auto it = map.begin(); it != map.end();) {
            if (keep(it.key().path, it.key().index)) {
                ++it;
            } else {
                it = map.erase(it);
                changed_ = true;
            }
        }
    }
    bool load();
    static QByteArray serialized(const QHash<FaceKey, Entry>& entries,
                                 const QHash<FaceKey, CodePagesEntry>& codePages);
    static bool write(const QString& path, const QByteArray& body);
    // Waits for a write in the background; one that failed leaves the cache changed.
    void finishBackgroundSave();

    QString path_;
    QHash<FaceKey, Entry> entries_;
    QHash<FaceKey, CodePagesEntry> codePages_;
    bool changed_ = false;
    bool dropped_ = false;
    std::future<bool> pendingSave_;
};
