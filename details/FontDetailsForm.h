#pragma once

#include "fontengine/FontDetails.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QScrollArea;
class QTabWidget;
class FeaturesTab;
class FontWaterfall;
class CharacterTab;

// A family's details: its names, each style with its file and what the file says, and a
// waterfall of a text in the family's own glyphs. Everything read from fonts is shown as
// plain text.
class FontDetailsForm : public QDialog {
    Q_OBJECT
public:
    // sampleText: the waterfall's text; empty shows the family's name.
    FontDetailsForm(FamilyDetails details, const QString& sampleText, QWidget* parent = nullptr);

    // Shows the family's details window, reading the family afresh, or raises the one already
    // open for it. The window closes itself and is deleted on close.
    static FontDetailsForm* ShowFor(const QString& family, const QString& sampleText,
                                    QWidget* parent);

    const FamilyDetails& Details() const { return details_; }
    // The face the text box and the folder button refer to, or -1.
    int CurrentFace() const;

    void CopyFamilyNameClick();
    void OpenFolderClick();

signals:
    // The user chose a style (or the window opened on its regular one): the views of the
    // family's glyphs follow it. file and index as FontFace::Open takes them.
    void FaceChosen(const QString& file, int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillNames();
    void fillFaces();
    void showFace(int index);
    // Draws the sample in the face at index; an unreadable one says so.
    void chooseFace(int index);
    // The waterfall shows in whichever tab is open of those that change it.
    void placeSample(int tab);
    void tellNothingOpened(const QString& folder);

    FamilyDetails details_;
    QLabel* title_ = nullptr;
    QTableWidget* names_ = nullptr;
    QTreeWidget* faces_ = nullptr;
    QPlainTextEdit* faceText_ = nullptr;
    FontWaterfall* waterfall_ = nullptr;
    QScrollArea* sample_ = nullptr;
    QWidget* samplePage_ = nullptr;
    QLabel* unreadable_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    FeaturesTab* features_ = nullptr;
    CharacterTab* characters_ = nullptr;
    QPushButton* openFolder_ = nullptr;
};
