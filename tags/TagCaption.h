#pragma once

#include <QString>

// The caption a tag shows in the tag bar and the status bar. The two fixed tags are named in
// the interface's language; their names proper, which are also their files' names, stay
// Japanese. A user's tag is shown as it is named.
QString TagCaption(const QString& tagName);
