#include "ui/OrganiseControls.h"

#include "fonts/FontPool.h"
#include "fonts/Panel.h"
#include "organise/OrganiseSteps.h"
#include "sampleview/TileCommands.h"
#include "sampleview/TileSelection.h"
#include "ui/Glyphorama.h"
#include "ui/SampleViewControls.h"
#include "ui/StepNotice.h"
#include "ui_Glyphorama.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

OrganiseControls::OrganiseControls(TGlyphorama& window, SampleViewControls& controls)
    : QObject(&window), window_(window) {
    TFontPool* pool = window.FontPool.get();
    if (!pool)
        return;
    steps_ = new OrganiseSteps(*pool);
    connect(pool, &TFontPool::TileDroppedOnTag, steps_, &OrganiseSteps::DropTile);

    // The tile's commands and a drag of a selected tile apply to the whole selection.
    TileCommands* commands = controls.Commands();
    connect(commands, &TileCommands::AddToTagRequested, steps_, &OrganiseSteps::AddToTag);
    connect(commands, &TileCommands::TakeOutRequested, steps_, &OrganiseSteps::TakeOut);
    connect(commands, &TileCommands::FavouriteToggleRequested, steps_,
            &OrganiseSteps::ToggleFavourite);
    steps_->DraggedFamilies = [selection =
                                   QPointer<TileSelection>(controls.Selection())](TPanel* tile) {
        return selection ? selection->FamiliesFor(tile) : QStringList();
    };

    notice_ = new StepNotice(window.ui->ScrollBox);
    connect(steps_, &OrganiseSteps::StepTaken, notice_, [this](const QString& text) {
        notice_->Show(tr("%1 — Ctrl+Z で元に戻せます").arg(text));
    });
    connect(steps_, &OrganiseSteps::StepUndone, notice_, [this](const QString& text) {
        notice_->Show(tr("元に戻しました: %1 — Ctrl+Shift+Z でやり直せます").arg(text));
    });
    connect(steps_, &OrganiseSteps::StepRedone, notice_, [this](const QString& text) {
        notice_->Show(tr("やり直しました: %1 — Ctrl+Z で元に戻せます").arg(text));
    });
    createActions();
}

OrganiseSteps* OrganiseControls::Steps() const {
    return steps_;
}

void OrganiseControls::createActions() {
    undo_ = new QAction(tr("元に戻す"), &window_);
    undo_->setObjectName(QStringLiteral("UndoStep"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = new QAction(tr("やり直す"), &window_);
    redo_->setObjectName(QStringLiteral("RedoStep"));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    // A text field with the focus takes these keys first (its own undo), through the
    // shortcut override every line edit answers; elsewhere in the window they are ours.
    for (QAction* action : {undo_, redo_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        window_.addAction(action);
    }
    QUndoStack* stack = steps_->Stack();
    connect(stack, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);
    connect(undo_, &QAction::triggered, steps_, &OrganiseSteps::Undo);
    connect(redo_, &QAction::triggered, steps_, &OrganiseSteps::Redo);
    // A group of their own above help: the menu's first items stay where users know them.
    QMenu* menu = window_.ToolMenu;
    QAction* help = window_.ui->H1->menuAction();
    menu->insertSeparator(help);
    menu->insertAction(help, undo_);
    menu->insertAction(help, redo_);
    menu->insertSeparator(help);
}
