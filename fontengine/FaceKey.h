#pragma once

#include <QHash>
#include <QString>

// One face of a font file: the file's path and the face's index in it (a face of a
// collection; a named instance of a variable font in the upper 16 bits).
struct FaceKey {
    QString path;
    int index = 0;
    bool operator==(const FaceKey&) const = default;
};

inline size_t qHash(const FaceKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.path, key.index);
}
