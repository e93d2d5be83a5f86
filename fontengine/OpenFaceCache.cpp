#include "fontengine/OpenFaceCache.h"

FontFace* OpenFaceCache::Face(const QString& path, int index) {
    const FaceKey key{path, index};
    // One look at the file (no opening) tells whether what was opened from it still holds.
    const std::optional<platform::FileVersion> now = platform::VersionOf(path);
    auto it = faces_.find(key);
    if (it == faces_.end() || it->version != now || (it->face && it->face->Lost())) {
        ++loads_;
        std::shared_ptr<FontFace> face = FontFace::Open(path, index, files_);
        // The face's own version: the file may have changed between the look and the read.
        const std::optional<platform::FileVersion> version =
            face ? std::optional(face->Version()) : now;
        it = faces_.insert(key, Entry{std::move(face), version});
    }
    return it->face.get();
}
