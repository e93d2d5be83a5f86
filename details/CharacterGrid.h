#pragma once

#include "fontengine/FontFace.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <vector>

// Every character of a face, a cell each, row after row in code point order. The model hands
// out cells by arithmetic and the view paints only the rows in sight, so a face of 45,000
// characters opens as fast as one of 100.
class CharacterModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CharacterModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void SetCharacters(std::vector<char32_t> characters);
    // As many cells a row as the grid's width holds.
    void SetColumns(int columns);
    int Columns() const { return columns_; }
    const std::vector<char32_t>& Characters() const { return characters_; }
    // The character at the cell, or 0 for a cell past the last one.
    char32_t CharacterAt(const QModelIndex& index) const;
    QModelIndex IndexOf(int position) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<char32_t> characters_;
    int columns_ = 16;
};

// The grid of a face's characters, drawn with the face's own glyphs. The arrow keys move the
// current cell; a double-click or Ctrl+C copies its character.
class CharacterGrid : public QTableView {
    Q_OBJECT
public:
    explicit CharacterGrid(QWidget* parent = nullptr);
    ~CharacterGrid() override;

    // The face to draw with and the characters to show; none shows an empty grid.
    void SetFace(std::unique_ptr<FontFace> face, std::vector<char32_t> characters);
    const FontFace* Face() const { return face_.get(); }
    const CharacterModel& Model() const { return model_; }
    // The current cell's character, or 0.
    char32_t CurrentCharacter() const;
    void CopyCurrent();

signals:
    void CurrentCharacterChanged(char32_t character);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void fitCells();

    CharacterModel model_;
    std::unique_ptr<FontFace> face_;
};
