#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Asks for a family's details when a tile of the sample view, or its name label, is
// double-clicked, or when Enter is pressed while a tile has the keyboard focus. Tiles are
// made and destroyed by the thousand, so it watches the application's input instead of
// each tile.
class TileDetailsTrigger : public QObject {
    Q_OBJECT
public:
    // flowPanel: the panel holding the tiles. familyOfTile: the family of the tile carrying
    // a tag number, empty when no shown tile carries it.
    TileDetailsTrigger(QWidget* flowPanel, std::function<QString(int)> familyOfTile,
                       QObject* parent = nullptr);
    ~TileDetailsTrigger() override;

signals:
    void DetailsRequested(const QString& family);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool request(QObject* watched);

    QPointer<QWidget> flowPanel_;
    std::function<QString(int)> familyOfTile_;
};
