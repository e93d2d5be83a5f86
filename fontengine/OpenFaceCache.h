#pragma once

#include "fontengine/FaceKey.h"
#include "fontengine/FontFace.h"

#include <QHash>
#include <QString>
#include <memory>

// The faces the tiles are drawn from, each opened once on first use and kept: rebuilding the
// view, a new sample text or a new size never reads a file again. A face that cannot be opened
// is remembered as such, and not tried again either.
class OpenFaceCache {
public:
    // The face, opened now if this is its first use; none when it cannot be read.
    FontFace* Face(const QString& path, int index);
    // How many times a file has been opened, for tests and the benchmark.
    int Loads() const { return loads_; }
    int Size() const { return static_cast<int>(faces_.size()); }

private:
    QHash<FaceKey, std::shared_ptr<FontFace>> faces_;
    int loads_ = 0;
};
