#pragma once

#include <QString>
#include <QWidget>

class CharacterGrid;
class QLabel;
class QTreeWidget;

// The 文字 tab: every character of one face in its own glyphs, the chosen character's code
// point and Unicode name, and how much of each Japanese set and Unicode block the face covers.
// The face is read when the tab is first shown, not when the window opens.
class CharacterTab : public QWidget {
    Q_OBJECT
public:
    explicit CharacterTab(QWidget* parent = nullptr);

    // The face to show: a file and the face's index in it. An empty path shows nothing.
    void SetFace(const QString& path, int index);

    CharacterGrid* Grid() const { return grid_; }
    QTreeWidget* CoverageTree() const { return coverage_; }
    QString CountsText() const;
    QString CharacterText() const;
    // The set's name as the tab shows it ("常用漢字"), by the id of its data file.
    static QString SetName(const QString& id);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void load();
    void showCharacter(char32_t c);

    QString path_;
    int index_ = 0;
    bool loaded_ = true;
    CharacterGrid* grid_ = nullptr;
    QLabel* character_ = nullptr;
    QLabel* counts_ = nullptr;
    QTreeWidget* coverage_ = nullptr;
};
