#include "tags/TagListMerge.h"

QStringList MergeTagLists(const QStringList& ours, const QStringList& listedNow,
                          const QSet<QString>& droppedHere,
                          const std::function<bool(const QString&)>& hasTagFile) {
    QStringList merged = ours;
    QSet<QString> known(ours.cbegin(), ours.cend());
    for (const QString& name : listedNow) {
        // A name without its file is left out: keeping it would only bring back an empty
        // button for a tag the other writer may have removed.
        if (known.contains(name) || droppedHere.contains(name) || !hasTagFile(name))
            continue;
        merged.append(name);
        known.insert(name);
    }
    return merged;
}
