#pragma once

#include "fontengine/FaceKey.h"
#include "fontengine/FontFace.h"
#include "fontengine/FontFileReader.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

// The faces the tiles are drawn from, each opened once on first use and kept: rebuilding the
// view, a new sample text or a new size opens no face again while its file stays as it was.
// A face holds its file only while in use (FontFace::ReleaseMemory); the file's bytes are
// shared by the faces of one file. A face whose file has changed since is opened again, and
// a face that cannot be opened is remembered as such until its file changes.
class OpenFaceCache {
public:
    // The face as its file is now, opened now if this is its first use or its file has
    // changed; none when it cannot be read. Holds until the next call for the same face.
    FontFace* Face(const QString& path, int index);
    // How many times a face has been opened, for tests and the benchmark.
    int Loads() const { return loads_; }
    // How many times a file has been read.
    int Reads() const { return files_->Reads(); }
    int Size() const { return static_cast<int>(faces_.size()); }

private:
    struct Entry {
        std::shared_ptr<FontFace> face;
        std::optional<platform::FileVersion> version; // of the file the face was opened from
    };
    QHash<FaceKey, Entry> faces_;
    std::shared_ptr<FontFileReader> files_ = std::make_shared<FontFileReader>();
    int loads_ = 0;
};
