#include "platform/TextFileList.h"

#include "platform/Exceptions.h"
#include "platform/FileAccess.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>

namespace platform {

bool TextFileList::LoadFromFile(const QString& path) {
    std::optional<FileRefusal> refusal;
    const std::optional<QByteArray> bytes = ReadRegularFile(path, MaxTagFileSize, &refusal);
    if (refusal)
        throw EFileError(refusal->readMessage());
    if (!bytes)
        return false;
    loaded_ = TextLines::Decode(*bytes);
    Strings = loaded_.texts();
    Format = loaded_.Format;
    LineBreak = loaded_.firstBreak().isEmpty() ? QStringLiteral("\r\n") : loaded_.firstBreak();
    return true;
}

void TextFileList::SaveToFile(const QString& path) const {
    // Lines that cannot be read are names the user wrote that we cannot even compare with:
    // the file is left as it is rather than rewritten around them.
    if (loaded_.lossy())
        throw EFileError(QCoreApplication::translate(
                             "platform::TextFileList",
                             "%1 に書き込めません: 読み込んだファイルに文字として読めないバイトが"
                             "あるため、書き換えません")
                             .arg(path));
    for (const QString& line : Strings)
        if (HoldsLineBreak(line))
            throw EFileError(
                QCoreApplication::translate("platform::TextFileList",
                                            "%1 に書き込めません: 改行を含む行があります")
                    .arg(path));
    TextLines lines = loaded_;
    lines.Format = Format;
    lines.LineBreak = LineBreak;
    lines.KeepLineBreaks = false;
    lines.assign(Strings);
    QString problem;
    const std::optional<QByteArray> bytes = lines.encode(&problem);
    if (!bytes)
        throw EFileError(
            QCoreApplication::translate("platform::TextFileList", "%1 に書き込めません: %2")
                .arg(path, problem));
    if (!WriteFileAtomically(path, *bytes))
        throw EFileError(
            QCoreApplication::translate("platform::TextFileList", "%1 に書き込めません").arg(path));
}

bool TextFileList::CanHold(const QString& text) const {
    return !HoldsLineBreak(text) && EncodeText(text, Format).has_value();
}

int TextFileList::IndexOf(const QString& text) const {
    for (qsizetype i = 0; i < Strings.size(); ++i)
        if (QString::compare(Strings[i], text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace platform
