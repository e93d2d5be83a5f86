#pragma once

#include <QString>

// The caption a tag shows in the tag bar and the status bar. The two fixed tags are named in
// the interface's language; their names proper, which are also their files' names, stay
// Japanese. A user's tag is shown as it is named.
QString TagCaption(const QString& tagName);

// The fixed tag (its name proper) that shows the given text as its caption in one of the
// interface's languages, letter case aside; empty when none does. A user's tag of that name
// would sit beside the fixed one under the same caption.
QString FixedTagCaptioned(const QString& text);
