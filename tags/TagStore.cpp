// The tag list and the tag files: one file per tag in the tags folder, one family name a line.
#include "fonts/FontPool.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/FileAccess.h"
#include "platform/Folders.h"
#include "platform/LineRemoval.h"
#include "platform/TextFileList.h"
#include "tags/TagListMerge.h"
#include "ui/Glyphorama.h"

#include <algorithm>

const QString TFontPool::TrashTagName = QStringLiteral("ゴミ箱");
const QString TFontPool::FavoritesTagName = QStringLiteral("お気に入り");
const QString TFontPool::SeparatorTagName = QStringLiteral("/-/");

namespace {

constexpr int TrashImageIndex = 3;
constexpr int FavoritesImageIndex = 2;

// Tag names come from the settings file as well as from the dialog, and the settings file can
// hold anything. A slash would lead out of the tags folder and a NUL would cut the path short
// in the system call, so such names get no file at all. Every other name is used verbatim, so
// that files made earlier keep their names.
bool IsSafeTagFileName(const QString& name) {
    return !name.contains(u'/') && !name.contains(QChar(u'\0'));
}

} // namespace

QString TFontPool::TagFilePath(const QString& tagName) const {
    if (!Glyphorama || !Glyphorama->AppCore || !IsSafeTagFileName(tagName))
        return QString();
    return Glyphorama->AppCore->TagDir + u'/' + tagName + QStringLiteral(".tag");
}

bool TFontPool::LoadTagFile(const QString& tagName, platform::TextFileList& list) const {
    const QString path = TagFilePath(tagName);
    if (path.isEmpty())
        return false;
    // A file we cannot or will not read (a FIFO, a device, far too large) counts as an empty
    // tag for the views and the counts; the user hears of it once, and AddFontToTag, which
    // reads the file itself, never writes over it.
    try {
        return list.LoadFromFile(path);
    } catch (const platform::EFileError& error) {
        platform::ShowErrorOnce(error.Message());
        return false;
    }
}

void TFontPool::LoadTags(const QStringList& userTagNames) {
    TagList.clear();
    platform::TextFileList scratch;
    const auto append = [&](const QString& name, const QString& hint, int imageIndex) {
        TFontTag tag;
        tag.Name = name;
        tag.Hint = hint;
        tag.ImageIndex = imageIndex;
        tag.FontCount = LoadTagFile(name, scratch) ? scratch.Count() : 0;
        TagList.push_back(tag);
    };
    append(TrashTagName, tr("ゴミ箱にあるフォントはリストに表示されません"), TrashImageIndex);
    append(FavoritesTagName, tr("お気に入りにあるフォントは強調表示されます"), FavoritesImageIndex);
    TFontTag separator;
    separator.Name = SeparatorTagName;
    TagList.push_back(separator);
    for (const QString& name : userTagNames)
        append(name, name, -1);
}

QStringList TFontPool::SaveTagNames() const {
    QStringList names;
    for (const TFontTag& tag : TagList)
        if (tag.Name != TrashTagName && tag.Name != FavoritesTagName &&
            tag.Name != SeparatorTagName)
            names.append(tag.Name);
    return names;
}

bool TFontPool::IsListedInTag(const platform::TextFileList& list, const QString& fontName) const {
    // A file written on a desktop in another language may name the family in that language.
    for (const auto& unit : FontList)
        if (unit->Name == fontName) {
            for (const QString& line : list.Strings)
                if (unit->IsNamed(line))
                    return true;
            return false;
        }
    return list.IndexOf(fontName) >= 0;
}

bool TFontPool::AddFontToTag(const QString& tagName, const QString& fontName) {
    return AddFontsToTag(tagName, {fontName}) > 0;
}

int TFontPool::AddFontsToTag(const QString& tagName, const QStringList& fontNames) {
    const QString path = TagFilePath(tagName);
    if (path.isEmpty())
        return 0;
    platform::TextFileList list;
    // Raises for a file that exists but is refused: the drop ends without a write.
    list.LoadFromFile(path);
    int added = 0;
    for (const QString& fontName : fontNames) {
        if (IsListedInTag(list, fontName))
            continue;
        // A legacy CP932 file cannot hold every family name. Rather than write a
        // replacement character, which would no longer match the font, the file moves to
        // UTF-8 with a mark, which every reader of tag files recognises.
        const platform::TextFormat markedUtf8{platform::TextEncoding::Utf8, true};
        if (!list.CanHold(fontName) && platform::EncodeText(fontName, markedUtf8))
            list.Format = markedUtf8;
        list.Strings.append(fontName);
        ++added;
    }
    // One write for the whole group, so that a failure leaves the file as it was.
    if (added)
        list.SaveToFile(path);
    TagFileChanged(tagName);
    return added;
}

int TFontPool::TakeFontsOutOfTag(const QString& tagName, const QStringList& fontNames) {
    const QString path = TagFilePath(tagName);
    if (path.isEmpty())
        return 0;
    std::optional<platform::FileRefusal> refusal;
    const std::optional<QByteArray> bytes =
        platform::ReadRegularFile(path, platform::MaxTagFileSize, &refusal);
    if (refusal)
        throw platform::EFileError(refusal->readMessage());
    int removed = 0;
    if (bytes) {
        // A line goes when it names one of the fonts, in the way the views read it: under
        // any of the family's names, ignoring letter case.
        std::vector<const TFontUnit*> units;
        QStringList unknown;
        for (const QString& fontName : fontNames) {
            const auto it = std::find_if(FontList.cbegin(), FontList.cend(),
                                         [&](const auto& unit) { return unit->Name == fontName; });
            if (it != FontList.cend())
                units.push_back(it->get());
            else
                unknown.append(fontName);
        }
        const QByteArray kept = platform::WithoutLines(
            *bytes,
            [&](const QString& line) {
                return std::any_of(units.cbegin(), units.cend(),
                                   [&](const TFontUnit* unit) { return unit->IsNamed(line); }) ||
                       unknown.contains(line, Qt::CaseInsensitive);
            },
            &removed);
        if (removed && !platform::WriteFileAtomically(path, kept))
            throw platform::EFileError(tr("%1 に書き込めません").arg(path));
    }
    TagFileChanged(tagName);
    return removed;
}

void TFontPool::TagFileChanged(const QString& tagName) {
    platform::TextFileList list;
    const int count = LoadTagFile(tagName, list) ? list.Count() : 0;
    for (TFontTag& tag : TagList)
        if (tag.Name == tagName)
            tag.FontCount = count;
    RebuildTagBar();
    emit TagFontsChanged(tagName);
}

void TFontPool::SetUserTags(const QStringList& names) {
    const QStringList before = SaveTagNames();
    // A tag that leaves the list is one the close must not bring back from another writer's
    // list; one that comes back is ours again.
    for (const QString& name : before)
        if (!names.contains(name))
            droppedTags_.insert(name);
    for (const QString& name : names)
        droppedTags_.remove(name);
    LoadTags(names);
    RebuildTagBar();
}

void TFontPool::AddTag(const QString& name) {
    TFontTag tag;
    tag.Name = name;
    tag.Hint = name;
    TagList.push_back(tag);
    droppedTags_.remove(name);
    RebuildTagBar();
}

void TFontPool::RemoveTag(const QString& tagName) {
    // Callers pass the entry's own name: keep it past the erase.
    const QString name = tagName;
    // The file goes first: an entry removed over a file that stays would leave the file with
    // no button leading to it, and the user believing it gone.
    if (!DeleteTagFile(name))
        throw platform::EFileError(tr("タグ「%1」を削除できません: %2 を削除できませんでした。")
                                       .arg(name, TagFilePath(name)));
    const int index = FindTag(name);
    if (index >= 0)
        TagList.erase(TagList.begin() + index);
    if (FindTag(name) < 0)
        droppedTags_.insert(name);
    RebuildTagBar();
}

void TFontPool::RenameTag(const QString& tagName, const QString& newName) {
    // Callers pass the entry's own name: keep it past the change.
    const QString oldName = tagName;
    if (newName == oldName || newName.isEmpty())
        return;
    const int index = FindTag(oldName);
    if (index < 0)
        return;
    // The file moves first, and never over another file: the entry must not come to name a
    // file that holds another tag's fonts, and its own fonts must not be left behind.
    const QString from = TagFilePath(oldName);
    const QString to = TagFilePath(newName);
    const bool hasFile = !from.isEmpty() && platform::FileExists(from);
    if (TagFileTaken(newName, oldName))
        throw platform::EFileError(
            tr("タグ名を「%1」に変更できません: 同じ名前のタグファイル %2 があります。")
                .arg(newName, to));
    if (hasFile && (to.isEmpty() || !platform::RenameFile(from, to)))
        throw platform::EFileError(
            tr("タグ名を「%1」に変更できません: %2 の名前を変更できませんでした。")
                .arg(newName, from));
    TagList[index].Name = newName;
    TagList[index].Hint = newName;
    if (FindTag(oldName) < 0)
        droppedTags_.insert(oldName);
    droppedTags_.remove(newName);
    RebuildTagBar();
}

QStringList TFontPool::MergedTagNames(const QStringList& listedNow) const {
    return MergeTagLists(SaveTagNames(), listedNow, droppedTags_, [this](const QString& name) {
        if (name == TrashTagName || name == FavoritesTagName || name == SeparatorTagName)
            return false;
        return hasTagFile(name);
    });
}

bool TFontPool::TagFileTaken(const QString& newName, const QString& oldName) const {
    return hasTagFile(newName) && !platform::SameFile(TagFilePath(newName), TagFilePath(oldName));
}

bool TFontPool::hasTagFile(const QString& name) const {
    const QString path = TagFilePath(name);
    return !path.isEmpty() && platform::FileExists(path);
}

int TFontPool::FindTag(const QString& name) const {
    for (size_t i = 0; i < TagList.size(); ++i)
        if (TagList[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

bool TFontPool::TagExists(const QString& name) const {
    return FindTag(name) >= 0;
}

bool TFontPool::DeleteTagFile(const QString& name) {
    const QString path = TagFilePath(name);
    return path.isEmpty() || !platform::FileExists(path) || platform::DeleteFile(path);
}
