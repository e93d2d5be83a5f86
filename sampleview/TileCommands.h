#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class TPanel;
class TileSelection;

// What the user asks to be done with fonts, from the tile menu and the keys on a tile. Each
// request names the families it applies to: the selection when the tile is in it, else the
// tile's own family. Whoever organises the tags carries them out.
class TileCommands : public QObject {
    Q_OBJECT
public:
    // userTags lists the user's own tags in the bar's order; caption gives the text a tag is
    // shown by (the fixed tags' captions follow the interface's language).
    TileCommands(TileSelection* selection, std::function<QStringList()> userTags,
                 std::function<QString(const QString&)> caption, QObject* parent = nullptr);

    // The tag the view shows; empty for the font-type views.
    void SetViewedTag(const QString& tagName) { viewedTag_ = tagName; }
    QString ViewedTag() const { return viewedTag_; }

    // Puts the commands on the tile into its menu, below what the menu holds of its own, in
    // place of those put there for the last tile.
    void FillMenu(QMenu* menu, TPanel* tile);
    // Delete: to the trash in the font-type views, out of the tag in a tag's view (out of the
    // trash in the trash's).
    void DeletePressed(TPanel* tile);
    // Ctrl+D.
    void FavouritePressed(TPanel* tile);

    static const QString TrashTag;     // "ゴミ箱"
    static const QString FavouriteTag; // "お気に入り"

signals:
    void AddToTagRequested(const QString& tagName, const QStringList& families);
    // In the trash's view, this brings the fonts back.
    void TakeOutRequested(const QString& tagName, const QStringList& families);
    void FavouriteToggleRequested(const QStringList& families);

private:
    QAction* addItem(QMenu* menu, const QString& text, std::function<void()> command);

    TileSelection* const selection_;
    const std::function<QStringList()> userTags_;
    const std::function<QString(const QString&)> caption_;
    QString viewedTag_;
    // What FillMenu put into a menu last.
    QList<QPointer<QObject>> added_;
};
