#include "fontengine/CaptionMetricsCache.h"

#include "platform/FileAccess.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>

namespace {

const QByteArray Magic("GLYPHORAMA-FACES\n", 17);
// A cache of a few thousand faces is a few hundred kilobytes; anything far larger is not ours.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
constexpr quint32 MaxEntries = 1000000;
constexpr int StreamVersion = QDataStream::Qt_6_0;

constexpr quint64 Prime1 = 0x9E3779B185EBCA87ull;
constexpr quint64 Prime2 = 0xC2B2AE3D27D4EB4Full;

quint64 mixWord(quint64 hash, quint64 word) {
    hash ^= word * Prime1;
    return (hash << 31 | hash >> 33) * Prime2;
}

bool plausible(const CaptionMetrics& info) {
    return std::isfinite(info.advance) && info.advance >= 0 && info.advance < 1e9 &&
           info.unitsPerEm >= 16 && info.unitsPerEm <= 16384 && info.missing >= 0 &&
           info.missing <= info.caption.size();
}

} // namespace

std::optional<FileStamp> FileStamp::Of(const QString& path) {
    const std::optional<platform::FileVersion> version =
        path.isEmpty() ? std::nullopt : platform::VersionOf(path);
    if (!version)
        return std::nullopt;
    return FileStamp{path, version->size, version->modifiedNs};
}

CaptionMetricsCache::CaptionMetricsCache(const QString& path) : path_(path) {
    if (!path_.isEmpty() && QFileInfo::exists(path_) && !load()) {
        entries_.clear();
        dropped_ = true;
        changed_ = true; // written afresh at the next save
    }
}

QString CaptionMetricsCache::DefaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/faces.cache");
}

bool CaptionMetricsCache::load() {
    // Only a regular file of bounded size is read: a FIFO left there would block the start
    // for ever and a link to a device would read until memory runs out. Whatever is refused
    // is simply rebuilt.
    const std::optional<QByteArray> read = platform::ReadRegularFile(path_, MaxFileSize, nullptr);
    if (!read)
        return false;
    const QByteArray& bytes = *read;
    if (bytes.size() < Magic.size() + qsizetype(sizeof(quint32)) + ChecksumSize ||
        !bytes.startsWith(Magic))
        return false;
    const QByteArray body = bytes.left(bytes.size() - ChecksumSize);
    if (Checksum(body) != bytes.right(ChecksumSize))
        return false;

    QDataStream in(body);
    in.setVersion(StreamVersion);
    in.skipRawData(static_cast<int>(Magic.size()));
    quint32 version = 0;
    quint32 count = 0;
    in >> version >> count;
    if (in.status() != QDataStream::Ok || version != Version || count > MaxEntries)
        return false;
    for (quint32 i = 0; i < count; ++i) {
        Entry entry;
        qint32 index = 0;
        qint32 unitsPerEm = 0;
        qint32 missing = 0;
        in >> entry.file.path >> index >> entry.file.size >> entry.file.modifiedNs >>
            entry.info.name >> entry.info.caption >> entry.info.advance >> unitsPerEm >> missing;
        entry.info.unitsPerEm = unitsPerEm;
        entry.info.missing = missing;
        if (in.status() != QDataStream::Ok || entry.file.path.isEmpty() || index < 0 ||
            !plausible(entry.info))
            return false;
        entries_.insert(FaceKey{entry.file.path, index}, entry);
    }
    in >> count;
    if (in.status() != QDataStream::Ok || count > MaxEntries)
        return false;
    for (quint32 i = 0; i < count; ++i) {
        CodePagesEntry entry;
        qint32 index = 0;
        in >> entry.file.path >> index >> entry.file.size >> entry.file.modifiedNs >>
            entry.codePages;
        if (in.status() != QDataStream::Ok || entry.file.path.isEmpty() || index < 0 ||
            entry.codePages < -1 || entry.codePages > 0xFFFFFFFFll)
            return false;
        codePages_.insert(FaceKey{entry.file.path, index}, entry);
    }
    return in.atEnd();
}

std::optional<CaptionMetrics> CaptionMetricsCache::Find(const FileStamp& file, int index,
                                                        const QString& name) const {
    const auto it = entries_.constFind(FaceKey{file.path, index});
    if (it == entries_.cend() || !(it->file == file) || it->info.name != name)
        return std::nullopt;
    return it->info;
}

bool CaptionMetricsCache::Holds(const QString& path, int index, const QString& name) const {
    const auto it = entries_.constFind(FaceKey{path, index});
    return it != entries_.cend() && it->info.name == name;
}

std::optional<std::optional<quint32>> CaptionMetricsCache::FindCodePages(const FileStamp& file,
                                                                         int index) const {
    const auto it = codePages_.constFind(FaceKey{file.path, index});
    if (it == codePages_.cend() || !(it->file == file))
        return std::nullopt;
    if (it->codePages < 0)
        return std::optional<quint32>();
    return std::optional<quint32>(static_cast<quint32>(it->codePages));
}

void CaptionMetricsCache::StoreCodePages(const FileStamp& file, int index,
                                         std::optional<quint32> codePages) {
    CodePagesEntry& entry = codePages_[FaceKey{file.path, index}];
    const qint64 value = codePages ? qint64(*codePages) : -1;
    if (entry.file == file && entry.codePages == value)
        return;
    entry.file = file;
    entry.codePages = value;
    changed_ = true;
}

void CaptionMetricsCache::Store(const FileStamp& file, int index, const CaptionMetrics& info) {
    Entry& entry = entries_[FaceKey{file.path, index}];
    if (entry.file == file && entry.info == info)
        return;
    entry.file = file;
    entry.info = info;
    changed_ = true;
}

CaptionMetricsCache::~CaptionMetricsCache() {
    if (pendingSave_.valid())
        pendingSave_.wait();
}

bool CaptionMetricsCache::Save() {
    finishBackgroundSave();
    if (!changed_ || path_.isEmpty())
        return true;
    if (!write(path_, serialized(entries_, codePages_)))
        return false;
    changed_ = false;
    return true;
}

void CaptionMetricsCache::SaveInBackground() {
    finishBackgroundSave();
    if (!changed_ || path_.isEmpty())
        return;
    changed_ = false;
    // The entries are shared, not copied, with the writer; a Store() meanwhile copies them.
    pendingSave_ =
        std::async(std::launch::async, [path = path_, entries = entries_, codePages = codePages_] {
            return write(path, serialized(entries, codePages));
        });
}

void CaptionMetricsCache::finishBackgroundSave() {
    if (pendingSave_.valid() && !pendingSave_.get())
        changed_ = true;
}

QByteArray CaptionMetricsCache::Checksum(QByteArrayView body) {
    // A damaged or truncated file is what this guards against, not forgery: a 64-bit mix of
    // 8-byte words costs a few hundred microseconds for thousands of faces where SHA-256
    // took milliseconds.
    quint64 hash = Prime2 ^ static_cast<quint64>(body.size());
    const char* bytes = body.data();
    qsizetype left = body.size();
    for (; left >= 8; bytes += 8, left -= 8)
        hash = mixWord(hash, qFromLittleEndian<quint64>(bytes));
    if (left > 0) {
        quint64 tail = 0;
        for (qsizetype i = left - 1; i >= 0; --i)
            tail = tail << 8 | static_cast<unsigned char>(bytes[i]);
        hash = mixWord(hash, tail);
    }
    hash ^= hash >> 33;
    hash *= Prime1;
    hash ^= hash >> 29;
    hash *= Prime2;
    hash ^= hash >> 32;
    QByteArray sum(ChecksumSize, Qt::Uninitialized);
    qToLittleEndian(hash, sum.data());
    return sum;
}

QByteArray CaptionMetricsCache::serialized(const QHash<FaceKey, Entry>& entries,
                                           const QHash<FaceKey, CodePagesEntry>& codePages) {
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out.writeRawData(Magic.constData(), static_cast<int>(Magic.size()));
        out << Version << quint32(entries.size());
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            out << it->file.path << qint32(it.key().index) << it->file.size << it->file.modifiedNs
                << it->info.name << it->info.caption << it->info.advance
                << qint32(it->info.unitsPerEm) << qint32(it->info.missing);
        out << quint32(codePages.size());
        for (auto it = codePages.cbegin(); it != codePages.cend(); ++it)
            out << it->file.path << qint32(it.key().index) << it->file.size << it->file.modifiedNs
                << it->codePages;
    }
    body += Checksum(body);
    return body;
}

bool CaptionMetricsCache::write(const QString& path, const QByteArray& body) {
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           platform::WriteFileAtomically(path, body);
}
