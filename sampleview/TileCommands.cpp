#include "sampleview/TileCommands.h"

#include "sampleview/TileSelection.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <utility>

const QString TileCommands::TrashTag = QStringLiteral("ゴミ箱");
const QString TileCommands::FavouriteTag = QStringLiteral("お気に入り");

namespace {

// Tag names are the user's text: a menu would take "&" as a mnemonic and a tab as the start of
// a shortcut's text.
QString menuText(QString text) {
    return text.replace(u'&', QStringLiteral("&&")).replace(u'\t', u' ');
}

// The key that does the same, shown at the item's right.
QString withKeyHint(const QString& text, QKeySequence::StandardKey key) {
    return text + u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

} // namespace

TileCommands::TileCommands(TileSelection* selection, std::function<QStringList()> userTags,
                           std::function<QString(const QString&)> caption, QObject* parent)
    : QObject(parent), selection_(selection), userTags_(std::move(userTags)),
      caption_(std::move(caption)) {}

QAction* TileCommands::addItem(QMenu* menu, const QString& text, std::function<void()> command) {
    QAction* item = menu->addAction(text);
    connect(item, &QAction::triggered, this, std::move(command));
    added_.append(item);
    return item;
}

void TileCommands::FillMenu(QMenu* menu, TPanel* tile) {
    for (const QPointer<QObject>& old : std::exchange(added_, {}))
        delete old.data();
    const QStringList families = selection_->FamiliesFor(tile);
    if (families.isEmpty())
        return;
    added_.append(menu->addSeparator());

    auto* tags = new QMenu(tr("タグに追加(&G)"), menu);
    tags->setObjectName(QStringLiteral("AddToTagMenu"));
    added_.append(tags);
    added_.append(menu->addMenu(tags));
    QStringList names{FavouriteTag};
    names += userTags_ ? userTags_() : QStringList();
    for (const QString& name : std::as_const(names)) {
        QAction* item = tags->addAction(menuText(caption_ ? caption_(name) : name));
        item->setData(name);
        // The view's own tag holds them all already.
        item->setEnabled(name != viewedTag_);
        connect(item, &QAction::triggered, this,
                [this, name, families] { emit AddToTagRequested(name, families); });
        if (name == FavouriteTag && names.size() > 1)
            tags->addSeparator();
    }

    if (viewedTag_ != TrashTag) {
        const QString text = tr("ゴミ箱へ(&T)");
        addItem(menu, viewedTag_.isEmpty() ? withKeyHint(text, QKeySequence::Delete) : text,
                [this, families] { emit AddToTagRequested(TrashTag, families); })
            ->setObjectName(QStringLiteral("MoveToTrashItem"));
    }
    if (!viewedTag_.isEmpty()) {
        const QString text = viewedTag_ == TrashTag
                                 ? tr("ゴミ箱から戻す(&R)")
                                 : tr("「%1」から外す(&R)")
                                       .arg(menuText(caption_ ? caption_(viewedTag_) : viewedTag_));
        addItem(menu, withKeyHint(text, QKeySequence::Delete), [this, tag = viewedTag_, families] {
            emit TakeOutRequested(tag, families);
        })->setObjectName(QStringLiteral("TakeOutItem"));
    }
}

void TileCommands::DeletePressed(TPanel* tile) {
    const QStringList families = selection_->FamiliesFor(tile);
    if (families.isEmpty())
        return;
    if (viewedTag_.isEmpty())
        emit AddToTagRequested(TrashTag, families);
    else
        emit TakeOutRequested(viewedTag_, families);
}

void TileCommands::FavouritePressed(TPanel* tile) {
    const QStringList families = selection_->FamiliesFor(tile);
    if (!families.isEmpty())
        emit FavouriteToggleRequested(families);
}
