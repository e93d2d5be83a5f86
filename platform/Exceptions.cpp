#include "platform/Exceptions.h"

#include <QCoreApplication>
#include <limits>

namespace platform {

std::optional<int> TryStrToInt(const QString& text) {
    // Leading blanks are allowed, trailing ones are not, as with the usual strict conversion.
    QString s = text;
    qsizetype start = 0;
    while (start < s.size() && (s[start] == u' ' || s[start] == u'\t'))
        ++start;
    s = s.mid(start);
    bool negative = false;
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        negative = s[0] == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        s = s.mid(2);
    } else if (s.startsWith(u'$')) {
        base = 16;
        s = s.mid(1);
    }
    if (s.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : s) {
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c.unicode() - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c.unicode() - u'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64(std::numeric_limits<quint32>::max()) + 1)
            return std::nullopt;
    }
    if (base == 16 && !negative && value <= std::numeric_limits<quint32>::max())
        return static_cast<int>(static_cast<quint32>(value)); // hex spells the bit pattern
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(const QString& text) {
    if (auto value = TryStrToInt(text))
        return *value;
    throw EConvertError(
        QCoreApplication::translate("platform", "''%1'' は整数ではありません").arg(text));
}

} // namespace platform
