#include "fonts/FontUnit.h"

bool TFontUnit::IsNamed(const QString& name) const {
    if (Name.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    for (const QString& other : OtherNames)
        if (other.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
