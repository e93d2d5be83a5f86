#pragma once

#include "platform/TextCodec.h"
#include "platform/TextLines.h"

#include <QStringList>

namespace platform {

// A list of lines loaded from a text file and saved back in the format it was loaded in.
// Lines that were loaded and are still there, in the same order, are saved with the very
// bytes they were read from, so that a file written elsewhere keeps its bytes apart from
// what we append.
class TextFileList {
public:
    QStringList Strings;

    // Replaces Strings by the file's lines (CR LF, lone CR and lone LF end a line; a final
    // break makes no empty last entry) and remembers the file's format and line break.
    // Returns false, changing nothing, when the file does not exist; raises EFileError when
    // it exists but cannot be read, is no regular file (a FIFO, a device) or is larger than
    // MaxTagFileSize.
    bool LoadFromFile(const QString& path);

    // Writes every line followed by the remembered line break (CR LF for new lists), in the
    // remembered format, replacing the file atomically. Raises EFileError, leaving the file as
    // it was, when it cannot be written (a full disk included), when a line cannot be held by
    // the format (see CanHold), or when the loaded file held bytes that could not be decoded.
    void SaveToFile(const QString& path) const;

    // Whether the format this list will be saved in can hold the text without loss, as one
    // line (a line break inside it cannot be).
    bool CanHold(const QString& text) const;

    // Position of the first line equal to text ignoring letter case, -1 if none.
    int IndexOf(const QString& text) const;

    int Count() const { return static_cast<int>(Strings.size()); }

    TextFormat Format; // UTF-8 without a mark for lists that were not loaded
    QString LineBreak = QStringLiteral("\r\n");

private:
    TextLines loaded_;
};

} // namespace platform
