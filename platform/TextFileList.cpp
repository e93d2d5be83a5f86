#include "platform/TextFileList.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool TextFileList::LoadFromFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw EFileError(
            QCoreApplication::translate("platform::TextFileList", "ファイル %1 を開けません")
                .arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileError(
            QCoreApplication::translate("platform::TextFileList", "%1 を読み込めません").arg(path));

    const DecodedText decoded = DecodeText(bytes);
    QString firstBreak;
    Strings = SplitLines(decoded.Text, &firstBreak);
    Format = decoded.Format;
    LineBreak = firstBreak.isEmpty() ? QStringLiteral("\r\n") : firstBreak;
    undecodable_ = decoded.Lossy;
    return true;
}

void TextFileList::SaveToFile(const QString& path) const {
    if (undecodable_)
        throw EFileError(QCoreApplication::translate(
                             "platform::TextFileList",
                             "%1 に書き込めません: 読み込んだファイルに文字として読めないバイトが"
                             "あるため、書き換えません")
                             .arg(path));
    QString text;
    for (const QString& line : Strings) {
        if (HoldsLineBreak(line))
            throw EFileError(
                QCoreApplication::translate("platform::TextFileList",
                                            "%1 に書き込めません: 改行を含む行があります")
                    .arg(path));
        text += line;
        text += LineBreak;
    }
    const std::optional<QByteArray> bytes = EncodeText(text, Format);
    if (!bytes)
        throw EFileError(QCoreApplication::translate(
                             "platform::TextFileList",
                             "%1 に書き込めません: ファイルの文字コードで表せない文字があります")
                             .arg(path));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
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
