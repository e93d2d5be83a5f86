#include "sampleview/TileDetailsTrigger.h"

#include "fonts/Panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

TileDetailsTrigger::TileDetailsTrigger(QWidget* flowPanel, std::function<QString(int)> familyOfTile,
                                       QObject* parent)
    : QObject(parent), flowPanel_(flowPanel), familyOfTile_(std::move(familyOfTile)) {
    qApp->installEventFilter(this);
}

TileDetailsTrigger::~TileDetailsTrigger() {
    qApp->removeEventFilter(this);
}

bool TileDetailsTrigger::request(QObject* watched) {
    auto* panel = qobject_cast<TPanel*>(watched);
    if (!panel || !flowPanel_ || !flowPanel_->isAncestorOf(panel))
        return false;
    const QString family = familyOfTile_ ? familyOfTile_(panel->Tag) : QString();
    if (family.isEmpty())
        return false;
    emit DetailsRequested(family);
    return true;
}

bool TileDetailsTrigger::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            return request(watched);
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return request(watched);
        return false;
    }
    default:
        return false;
    }
}
