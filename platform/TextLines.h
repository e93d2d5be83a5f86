#pragma once

#include "platform/TextCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The lines of a text file, each with the bytes it was read from. Written back, a line the
// program did not change is copied byte for byte; only changed and new lines are encoded.
// So a line that no encoding explains (a hand edit in a third encoding), a code that has a
// twin (CP932's NEC and IBM duplicates) or a comment keeps exactly what the user wrote.
class TextLines {
public:
    // How the file is stored is decided from the bytes: a byte-order mark; else UTF-16
    // without a mark when NUL bytes fall at every other position; else UTF-8, unless it is
    // not all UTF-8 and no more of its lines read as UTF-8 than as CP932. In an 8-bit file each
    // line that is valid UTF-8 is read as UTF-8, else as CP932; a line that is neither is read with
    // U+FFFD for the bytes it cannot explain and is not faithful.
    static TextLines Decode(const QByteArray& bytes);

    // Format and break for what the program writes; the loaded lines keep their own breaks
    // unless KeepLineBreaks is off, when every line ends in LineBreak.
    TextFormat Format;
    QString LineBreak = QStringLiteral("\r\n");
    bool KeepLineBreaks = true;

    qsizetype size() const { return lines_.size(); }
    const QString& text(qsizetype i) const { return lines_[i].Text; }
    // A line given its own text again stays as it was read.
    void setText(qsizetype i, const QString& text);
    void insert(qsizetype i, const QString& text);
    void append(const QString& text) { insert(lines_.size(), text); }
    // Many new lines at one place in one move, however long the file.
    void insert(qsizetype i, const QStringList& texts);
    QStringList texts() const;
    // The text of the whole file: every line followed by its own break.
    QString joined() const;
    // Makes the lines equal to texts, keeping each read line whose text comes next in order.
    void assign(const QStringList& texts);

    // Whether some line read could not be decoded without loss.
    bool lossy() const;
    // The first break found in the bytes, empty when there was none.
    const QString& firstBreak() const { return firstBreak_; }

    // The file's bytes: the mark of Format, every line followed by its break (LineBreak for
    // lines that had none). Empty, with *problem set, when a changed or new line cannot be
    // held by Format, would write U+FFFD read from undecodable bytes, or when Format is not
    // the one read and a line cannot be moved to it unchanged.
    std::optional<QByteArray> encode(QString* problem = nullptr) const;

private:
    struct Line {
        QString Text;
        QString Break;
        QByteArray Raw;       // as read, break excluded; meaningful while Read is set
        bool Read = false;    // Raw holds the line's bytes and Text is what they say
        bool Faithful = true; // Raw decoded without loss
    };

    TextFormat readFormat_;
    QString firstBreak_;
    QList<Line> lines_;
};

} // namespace platform
