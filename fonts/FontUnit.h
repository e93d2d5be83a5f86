#pragma once

#include <QString>
#include <QStringList>

class TPanel;

// Font classes of a family. The numbers are also font types in the settings file: never
// renumber them.
enum TFontClass {
    fcJapaneseFixed = 0,
    fcJapanese = 1,
    fcWestern = 2,
    fcVertical = 3,
    fcAtInName = 4,
};

// One installed font family.
struct TFontUnit {
    QString Name;  // the family name the desktop shows; tags refer to fonts by it
    QString Style; // style name of the family's regular face
    int FontClass = fcWestern;
    QStringList OtherNames; // the family's names in other languages
    QString FaceFile;       // the regular face's font file, which its tile is drawn from
    int FaceIndex = 0;      // the face's index in that file
    TPanel* Tile = nullptr; // the font's tile while shown

    // Whether a name from a tag file means this family: its name or any of its other names,
    // ignoring letter case.
    bool IsNamed(const QString& name) const;
};

// The view options, copied into each tile builder.
struct TGlyphoramaOptions {
    int SampleViewMode = 0;  // 0 black on white, 1 white on black
    int CurrentFontType = 2; // see TFontPool::FontTypeAdmits
    QString SampleString;    // empty: each tile shows its own font name
    bool ShowNameLabel = true;
    int SamplePointSize = 16; // the size tiles draw their sample at
};

// One entry of the tag list.
struct TFontTag {
    QString Name;
    QString Hint;
    int FontCount = 0;
    int ImageIndex = -1;
};
