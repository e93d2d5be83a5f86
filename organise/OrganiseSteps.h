#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUndoStack>
#include <functional>
#include <optional>
#include <vector>

class QScrollBar;
class TFontPool;
struct TFontUnit;
class TPanel;

// The steps by which the user organises fonts, each one step of the session's undo stack
// however many fonts it names: fonts added to a tag or taken out of it, favourites toggled,
// tags created, renamed and deleted. A step keeps the bytes of every tag file it touched (or
// that there was none) and the list of user tags, as they were before and after it, so that
// undo and redo put back exactly what was there. The tag buttons' counts, the hearts and the
// view follow every step, undo and redo.
class OrganiseSteps : public QObject {
    Q_OBJECT
public:
    // Lives as long as the catalogue, as its child.
    explicit OrganiseSteps(TFontPool& pool);
    ~OrganiseSteps() override;

    QUndoStack* Stack() { return &stack_; }
    // The tag the view shows, empty for a font type's view.
    const QString& ViewTag() const { return viewTag_; }

    // Each raises EFileError, leaving the files and the tag list as they were, when a tag file
    // cannot be read or written; a step that changes nothing is no step.
    void AddToTag(const QString& tagName, const QStringList& families);
    // Out of ゴミ箱, this is the font's restoring.
    void TakeOut(const QString& tagName, const QStringList& families);
    // Out of お気に入り when every family is there, else the others into it.
    void ToggleFavourite(const QStringList& families);
    void CreateTag(const QString& name);
    void RenameTag(const QString& oldName, const QString& newName);
    void DeleteTag(const QString& name);
    // A tile dropped on a tag's button: the families dragged with it go into the tag.
    void DropTile(const QString& tagName, TPanel* tile);

    // The families dragged with a tile: the tile's own unless told otherwise.
    std::function<QStringList(TPanel*)> DraggedFamilies;

    // Raise EFileError when a file cannot be put back; the step then stays where it was.
    void Undo();
    void Redo();

signals:
    // What a step does, in a sentence, once it was taken, undone or redone.
    void StepTaken(const QString& text);
    void StepUndone(const QString& text);
    void StepRedone(const QString& text);

private:
    class Step;
    friend class Step;
    struct Side {
        std::vector<std::optional<QByteArray>> Files; // one per path; nullopt: no file
        QStringList UserTags;
        bool operator==(const Side&) const = default;
    };
    struct Change {
        QString Text;
        QStringList TagNames; // whose files the step may touch
        QStringList Families;
        QStringList Paths;
    };

    // Runs the store's operation as one step of the stack; false when it changed nothing.
    bool perform(Change change, const std::function<void()>& operation);
    std::vector<std::optional<QByteArray>> read(const QStringList& paths) const;
    // Puts the files and the tag list as the side has them; an empty string, or why not (the
    // files it did write are then put back as they were on the other side).
    QString put(const Change& change, const Side& side, const Side& other);
    // The tag bar, the hearts and the view take in what changed.
    void follow(const Change& change);
    // The families' tiles go from the view once the event that asked is over; trashed: as
    // long as ゴミ箱 lists them, else as long as the view is not theirs.
    void removeTiles(const QStringList& families, bool trashed);
    const TFontUnit* unitNamed(const QString& family) const;
    // Whether the view as it is set (its tag, or its font type) takes the font.
    bool belongsInView(const TFontUnit& unit) const;
    void rebuildView();
    // Scrolls the view back to where it was once the rebuilt tiles reach that far.
    void keepScrolledTo(QScrollBar* bar, int value);
    QString familiesText(const QStringList& families) const;
    bool isListed(const QString& tagName, const QString& family) const;

    const QPointer<TFontPool> pool_;
    QUndoStack stack_;
    // The tag the view shows, empty for a font type.
    QString viewTag_;
    // Set while the stack moves back over a step that could not be applied.
    bool quiet_ = false;
    QString failure_;
};
