#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace platform {

// The bytes of a text file with the lines whose text matches left out. Everything else keeps
// its bytes: the byte-order mark, every other line with its own break, a last line without
// one, bytes no encoding explains. A file written on another desktop, in CP932, UTF-16 or
// UTF-8, thus loses one name and nothing more. The lines are read as TextLines reads them, so
// a line matches exactly when the tag store sees that text in it. *removed receives the
// number of lines left out; with none, the bytes come back as they were.
QByteArray WithoutLines(const QByteArray& bytes,
                        const std::function<bool(const QString& line)>& matches,
                        int* removed = nullptr);

} // namespace platform
