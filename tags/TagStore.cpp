// The tag list and the tag files. (Being written.)
#include "fonts/FontPool.h"

#include "platform/TextFileList.h"

const QString TFontPool::TrashTagName = QStringLiteral("ゴミ箱");
const QString TFontPool::FavoritesTagName = QStringLiteral("お気に入り");
const QString TFontPool::SeparatorTagName = QStringLiteral("/-/");

void TFontPool::LoadTags(const QStringList&) {}
QStringList TFontPool::SaveTagNames() const { return {}; }
QString TFontPool::TagFilePath(const QString&) const { return {}; }
bool TFontPool::LoadTagFile(const QString&, platform::TextFileList&) const { return false; }
bool TFontPool::AddFontToTag(const QString&, const QString&) { return false; }
void TFontPool::AddTag(const QString&) {}
void TFontPool::RemoveTag(const QString&) {}
void TFontPool::RenameTag(const QString&, const QString&) {}
int TFontPool::FindTag(const QString&) const { return -1; }
bool TFontPool::TagExists(const QString&) const { return false; }
void TFontPool::DeleteTagFile(const QString&) {}
