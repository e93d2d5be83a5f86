#pragma once

#include "fontengine/FontFileInfo.h"

#include <QString>
#include <QStringList>
#include <vector>

struct _FcConfig;

// One face (style) of a family, as fontconfig lists it and as its file describes it.
struct FaceDetails {
    QString Style;
    QString File;
    int Index = 0;
    QString Format;        // fontconfig's word for the format; the file's when it has none
    QStringList Languages; // the languages fontconfig says the face covers
    int Weight = 0;
    int Slant = 0;
    int Width = 0;
    platform::FontFileInfo FileInfo;
};

// A name of the family and the language fontconfig gives for it (may be empty).
struct FamilyName {
    QString Language;
    QString Name;
};

// Everything the details window shows about one family.
struct FamilyDetails {
    QString Family;
    std::vector<FamilyName> Names;
    std::vector<FaceDetails> Faces; // the regular one, then by width, weight and slant
    // The face a sample of the family is drawn with, or -1 when the family has no face.
    int RegularFace = -1;
};

// Reads a family's faces from fontconfig (config: none means every installed font)
// and each face's file. A family fontconfig does not know gives no faces.
FamilyDetails ReadFamilyDetails(const QString& family, _FcConfig* config = nullptr,
                                const QString& preferredLanguage = {});

// The format shown to the user: "TrueType", "CFF/OpenType", "Type 1", or the word given.
QString FormatName(const QString& format);
