#include "fontengine/OpenFaceCache.h"

FontFace* OpenFaceCache::Face(const QString& path, int index) {
    const FaceKey key{path, index};
    auto it = faces_.find(key);
    if (it == faces_.end()) {
        ++loads_;
        it = faces_.insert(key, std::shared_ptr<FontFace>(FontFace::Open(path, index)));
    }
    return it->get();
}
