#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The caption a tile shows while no sample text is set: the family's name when its face has
// every character of it; else a short sample of the first script in our list that the face
// covers fully (many script fonts have no Latin letters, and a row of missing marks tells
// nothing about them); else the first characters the face has; else the name after all.
QString DefaultCaption(const QString& name, const std::function<bool(char32_t)>& hasCharacter,
                       const std::function<QString()>& firstCharacters);

// The samples tried, in order: Latin first, then Japanese, then the other scripts.
const QStringList& ScriptSamples();
