#pragma once

#include <QSet>
#include <QStringList>
#include <functional>

// The tag list to save at close. Each program writes the list whole, and another writer (an
// older version, a hand edit) may have saved its own meanwhile: ours comes first, in our order,
// and a name only the file lists follows, in the file's order, when it still has a tag file and
// was not dropped (removed or renamed away) here. Names are compared exactly.
QStringList MergeTagLists(const QStringList& ours, const QStringList& listedNow,
                          const QSet<QString>& droppedHere,
                          const std::function<bool(const QString&)>& hasTagFile);
