#include "organise/OrganiseSteps.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/FontPool.h"
#include "fonts/Panel.h"
#include "platform/Exceptions.h"
#include "platform/FileAccess.h"
#include "platform/Folders.h"
#include "platform/TextFileList.h"
#include "tags/TagCaption.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QUndoCommand>
#include <algorithm>
#include <utility>

// One step on the stack. Its first redo is the store's own operation, already done when the
// step is pushed; later ones put back what that operation left.
class OrganiseSteps::Step : public QUndoCommand {
public:
    Step(OrganiseSteps& owner, Change change, Side before, Side after)
        : owner_(owner), change_(std::move(change)), before_(std::move(before)),
          after_(std::move(after)) {
        setText(change_.Text);
    }
    void undo() override { apply(before_, after_); }
    void redo() override {
        if (!std::exchange(done_, true))
            return;
        apply(after_, before_);
    }

private:
    void apply(const Side& side, const Side& other) {
        if (owner_.quiet_)
            return;
        owner_.failure_ = owner_.put(change_, side, other);
        owner_.follow(change_);
    }

    OrganiseSteps& owner_;
    const Change change_;
    const Side before_;
    const Side after_;
    bool done_ = false;
};

OrganiseSteps::OrganiseSteps(TFontPool& pool) : QObject(&pool), pool_(&pool) {
    DraggedFamilies = [this](TPanel* tile) {
        const TFontUnit* unit = pool_ && tile ? pool_->FindUnitByTileTag(tile->Tag) : nullptr;
        return unit ? QStringList{unit->Name} : QStringList();
    };
    connect(&pool, &TFontPool::ViewCollected, this,
            [this](const QString& tagName) { viewTag_ = tagName; });
}

OrganiseSteps::~OrganiseSteps() {
    // The steps are undone no more: the stack must not touch the catalogue on its way out.
    quiet_ = true;
    stack_.clear();
}

QString OrganiseSteps::familiesText(const QStringList& families) const {
    if (families.size() == 1)
        return tr("「%1」").arg(families.first());
    return tr("%n 個のフォント", nullptr, static_cast<int>(families.size()));
}

void OrganiseSteps::AddToTag(const QString& tagName, const QStringList& families) {
    if (!pool_ || families.isEmpty())
        return;
    QString text;
    if (tagName == TFontPool::TrashTagName)
        text = tr("%1をゴミ箱へ移しました").arg(familiesText(families));
    else if (tagName == TFontPool::FavoritesTagName)
        text = tr("%1をお気に入りに追加しました").arg(familiesText(families));
    else
        text = tr("%1をタグ「%2」に追加しました").arg(familiesText(families), TagCaption(tagName));
    perform({text, {tagName}, families, {}},
            [this, &tagName, &families] { pool_->AddFontsToTag(tagName, families); });
    // Trashed fonts leave whichever view showed them, even one whose file had them already.
    if (tagName == TFontPool::TrashTagName)
        removeTiles(families, true);
}

void OrganiseSteps::TakeOut(const QString& tagName, const QStringList& families) {
    if (!pool_ || families.isEmpty())
        return;
    QString text;
    if (tagName == TFontPool::TrashTagName)
        text = tr("%1をゴミ箱から戻しました").arg(familiesText(families));
    else if (tagName == TFontPool::FavoritesTagName)
        text = tr("%1をお気に入りから外しました").arg(familiesText(families));
    else
        text = tr("%1をタグ「%2」から外しました").arg(familiesText(families), TagCaption(tagName));
    perform({text, {tagName}, families, {}},
            [this, &tagName, &families] { pool_->TakeFontsOutOfTag(tagName, families); });
}

void OrganiseSteps::ToggleFavourite(const QStringList& families) {
    if (!pool_ || families.isEmpty())
        return;
    QStringList missing;
    for (const QString& family : families)
        if (!isListed(TFontPool::FavoritesTagName, family))
            missing.append(family);
    if (missing.isEmpty())
        TakeOut(TFontPool::FavoritesTagName, families);
    else
        AddToTag(TFontPool::FavoritesTagName, missing);
}

void OrganiseSteps::CreateTag(const QString& name) {
    if (!pool_ || name.isEmpty())
        return;
    perform({tr("タグ「%1」を作りました").arg(name), {name}, {}, {}},
            [this, &name] { pool_->AddTag(name); });
}

void OrganiseSteps::RenameTag(const QString& oldName, const QString& newName) {
    if (!pool_ || newName.isEmpty() || newName == oldName)
        return;
    perform(
        {tr("タグ「%1」を「%2」に変更しました").arg(oldName, newName), {oldName, newName}, {}, {}},
        [this, &oldName, &newName] { pool_->RenameTag(oldName, newName); });
}

void OrganiseSteps::DeleteTag(const QString& name) {
    if (!pool_)
        return;
    perform({tr("タグ「%1」を削除しました").arg(name), {name}, {}, {}},
            [this, &name] { pool_->RemoveTag(name); });
}

void OrganiseSteps::DropTile(const QString& tagName, TPanel* tile) {
    if (tile && DraggedFamilies)
        AddToTag(tagName, DraggedFamilies(tile));
}

bool OrganiseSteps::perform(Change change, const std::function<void()>& operation) {
    for (const QString& name : change.TagNames) {
        const QString path = pool_->TagFilePath(name);
        if (!path.isEmpty() && !change.Paths.contains(path))
            change.Paths.append(path);
    }
    const Side before{read(change.Paths), pool_->SaveTagNames()};
    try {
        operation();
    } catch (...) {
        // A group is one step: what part of it was written goes back.
        if (pool_) {
            const Side now{read(change.Paths), pool_->SaveTagNames()};
            if (!(now == before))
                put(change, before, now);
            follow(change);
        }
        throw;
    }
    const Side after{read(change.Paths), pool_->SaveTagNames()};
    follow(change);
    if (after == before)
        return false;
    const QString text = change.Text;
    stack_.push(new Step(*this, std::move(change), before, after));
    emit StepTaken(text);
    return true;
}

std::vector<std::optional<QByteArray>> OrganiseSteps::read(const QStringList& paths) const {
    std::vector<std::optional<QByteArray>> files;
    for (const QString& path : paths) {
        std::optional<platform::FileRefusal> refusal;
        files.push_back(platform::ReadRegularFile(path, platform::MaxTagFileSize, &refusal));
        // What we cannot read we could not put back: such a file is never part of a step.
        if (refusal)
            throw platform::EFileError(refusal->readMessage());
    }
    return files;
}

QString OrganiseSteps::put(const Change& change, const Side& side, const Side& other) {
    if (!pool_)
        return QString();
    const auto write = [&](qsizetype i, const Side& from) {
        const QString& path = change.Paths[i];
        const std::optional<QByteArray>& bytes = from.Files[static_cast<size_t>(i)];
        if (bytes)
            return platform::WriteFileAtomically(path, *bytes);
        // Only a file of ours goes: a FIFO or a device put there since is left alone.
        std::optional<platform::FileRefusal> refusal;
        if (!platform::VersionOf(path, &refusal))
            return !refusal;
        return platform::DeleteFile(path);
    };
    // A file changed since by someone else (a hand edit, another program) holds what the
    // step never saw: putting the step's bytes back would lose it.
    for (qsizetype i = 0; i < change.Paths.size(); ++i) {
        std::optional<platform::FileRefusal> refusal;
        const std::optional<QByteArray> now =
            platform::ReadRegularFile(change.Paths[i], platform::MaxTagFileSize, &refusal);
        if (refusal || now != other.Files[static_cast<size_t>(i)])
            return tr("%1 はこの操作のあとで変更されているため、元に戻しません")
                .arg(change.Paths[i]);
    }
    for (qsizetype i = 0; i < change.Paths.size(); ++i) {
        if (write(i, side))
            continue;
        for (qsizetype k = 0; k < i; ++k)
            write(k, other);
        return tr("%1 を元に戻せません").arg(change.Paths[i]);
    }
    if (pool_->SaveTagNames() != side.UserTags)
        pool_->SetUserTags(side.UserTags);
    return QString();
}

void OrganiseSteps::follow(const Change& change) {
    if (!pool_)
        return;
    for (const QString& name : change.TagNames)
        pool_->TagFileChanged(name);
    // The view shows one tag, or a font type less what is in ゴミ箱.
    const QString shownTag = viewTag_.isEmpty() ? TFontPool::TrashTagName : viewTag_;
    if (!change.TagNames.contains(shownTag))
        return;
    QStringList leaving;
    bool arriving = false;
    for (const QString& family : change.Families) {
        const TFontUnit* unit = unitNamed(family);
        if (!unit)
            continue;
        const bool belongs = belongsInView(*unit);
        const bool shown = std::find(pool_->ViewList.cbegin(), pool_->ViewList.cend(), unit) !=
                           pool_->ViewList.cend();
        if (shown && !belongs)
            leaving.append(family);
        else if (!shown && belongs)
            arriving = true;
    }
    // A font coming back takes its sorted place, which only a rebuild gives it.
    if (arriving)
        rebuildView();
    else
        removeTiles(leaving, false);
}

const TFontUnit* OrganiseSteps::unitNamed(const QString& family) const {
    const auto unit = std::find_if(pool_->FontList.cbegin(), pool_->FontList.cend(),
                                   [&](const auto& u) { return u->Name == family; });
    return unit == pool_->FontList.cend() ? nullptr : unit->get();
}

bool OrganiseSteps::belongsInView(const TFontUnit& unit) const {
    if (!viewTag_.isEmpty())
        return isListed(viewTag_, unit.Name);
    return !isListed(TFontPool::TrashTagName, unit.Name) &&
           TFontPool::FontTypeAdmits(pool_->Options.CurrentFontType, unit.FontClass);
}

void OrganiseSteps::removeTiles(const QStringList& families, bool trashed) {
    if (!pool_)
        return;
    bool unbuilt = false;
    for (const TFontUnit* unit : pool_->ViewList) {
        if (!families.contains(unit->Name))
            continue;
        if (!unit->Tile) {
            unbuilt = true;
            continue;
        }
        // Once the event that asked is over: a drag may still hold the tile now. By then an
        // undo may have brought the font back, or a rebuild made other tiles with the same
        // numbers: only this very tile goes, and only if the font is still to leave.
        const QPointer<TPanel> tile = unit->Tile;
        QTimer::singleShot(0, this, [this, tile, unit, trashed] {
            if (!pool_ || !tile || pool_->FindUnitByTileTag(tile->Tag) != unit ||
                unit->Tile != tile)
                return;
            const bool goes =
                trashed ? isListed(TFontPool::TrashTagName, unit->Name) : !belongsInView(*unit);
            if (goes)
                pool_->RemoveTile(tile->Tag);
        });
    }
    if (unbuilt)
        rebuildView();
}

void OrganiseSteps::rebuildView() {
    if (!pool_)
        return;
    // A view being built takes no new request: it is stopped, and asked again once it has.
    if (pool_->Building) {
        pool_->CancelBuild();
        QTimer::singleShot(50, this, &OrganiseSteps::rebuildView);
        return;
    }
    // The rebuild starts at the top; the user stays where the step was taken, once the tiles
    // reach that far again.
    QScrollBar* bar = nullptr;
    for (QWidget* w = pool_->FlowPanel; w && !bar; w = w->parentWidget())
        if (auto* box = qobject_cast<QAbstractScrollArea*>(w))
            bar = box->verticalScrollBar();
    const int at = bar ? bar->value() : 0;
    pool_->RebuildView(viewTag_);
    if (at > 0)
        keepScrolledTo(bar, at);
}

void OrganiseSteps::keepScrolledTo(QScrollBar* bar, int value) {
    auto* wait = new QTimer(bar);
    const QPointer<TFontPool> pool = pool_;
    connect(wait, &QTimer::timeout, bar, [wait, bar, pool, value] {
        if (bar->maximum() < value && pool && pool->Building)
            return;
        bar->setValue(value);
        wait->deleteLater();
        wait->stop();
    });
    wait->start(20);
}

bool OrganiseSteps::isListed(const QString& tagName, const QString& family) const {
    platform::TextFileList list;
    if (!pool_ || !pool_->LoadTagFile(tagName, list))
        return false;
    const auto unit = std::find_if(pool_->FontList.cbegin(), pool_->FontList.cend(),
                                   [&](const auto& u) { return u->Name == family; });
    if (unit == pool_->FontList.cend())
        return list.IndexOf(family) >= 0;
    return std::any_of(list.Strings.cbegin(), list.Strings.cend(),
                       [&](const QString& line) { return (*unit)->IsNamed(line); });
}

void OrganiseSteps::Undo() {
    if (!stack_.canUndo())
        return;
    const QString text = stack_.undoText();
    failure_.clear();
    stack_.undo();
    if (!failure_.isEmpty()) {
        quiet_ = true;
        stack_.redo();
        quiet_ = false;
        throw platform::EFileError(std::exchange(failure_, QString()));
    }
    emit StepUndone(text);
}

void OrganiseSteps::Redo() {
    if (!stack_.canRedo())
        return;
    const QString text = stack_.redoText();
    failure_.clear();
    stack_.redo();
    if (!failure_.isEmpty()) {
        quiet_ = true;
        stack_.undo();
        quiet_ = false;
        throw platform::EFileError(std::exchange(failure_, QString()));
    }
    emit StepRedone(text);
}
