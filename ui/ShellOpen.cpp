#include "ui/ShellOpen.h"

#include "platform/Application.h"
#include "platform/Desktop.h"

#include <QProcess>

namespace {

const QString MyComputer = QStringLiteral("My Computer");

bool isSeparator(QChar c) {
    return c == u'\\' || c == u':';
}

// Position (counted from 1) of the last separator, 0 when there is none.
qsizetype lastSeparator(const QString& target) {
    for (qsizetype i = target.size(); i > 0; --i)
        if (isSeparator(target[i - 1]))
            return i;
    return 0;
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

QString unquoted(const QString& text) {
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        return text.mid(1, text.size() - 2);
    return text;
}

// Shows the hour-glass for its lifetime and then puts back whatever cursor was there.
class HourGlassCursor {
public:
    HourGlassCursor() : previous_(platform::CurrentScreenCursor()) {
        platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
    }
    ~HourGlassCursor() { platform::SetScreenCursor(previous_); }
    HourGlassCursor(const HourGlassCursor&) = delete;
    HourGlassCursor& operator=(const HourGlassCursor&) = delete;

private:
    const platform::ScreenCursor previous_;
};

} // namespace

QString TargetDirectory(const QString& target) {
    const qsizetype k = lastSeparator(target);
    // "C:\" and a lone leading "\" keep their backslash: they are roots, not folder names.
    if (k > 1 && target[k - 1] == u'\\' && !isSeparator(target[k - 2]))
        return target.left(k - 1);
    return target.left(k);
}

QString TargetName(const QString& target) {
    return target.mid(lastSeparator(target));
}

ShellRequest ShellRequestFor(const QString& target, const QString& program) {
    if (target == MyComputer)
        return {QStringLiteral("Open"), ComputerFolder, QString()};

    QString file = target;
    const QString directory = TargetDirectory(target);
    if (directory.endsWith(QStringLiteral("DIR/")) || directory.endsWith(QStringLiteral("PIC/"))) {
        // The marker and the separator before it name no real folder: drop both.
        const QString parent =
            directory.size() >= 5 ? directory.left(directory.size() - 5) : QString();
        file = parent + u'\\' + TargetName(target);
    }

    if (!program.isEmpty())
        return {QStringLiteral("open"), quoted(program), quoted(file)};
    return {QStringLiteral("open"), quoted(file), QString()};
}

DesktopHandOff HandOffFor(const ShellRequest& request) {
    if (request.Parameters.isEmpty())
        return {QString(), unquoted(request.File)};
    return {unquoted(request.File), unquoted(request.Parameters)};
}

void ExecuteOnDesktop(const DesktopHandOff& handOff) {
    if (handOff.Program.isEmpty())
        platform::OpenWithDesktop(handOff.Target);
    else
        QProcess::startDetached(handOff.Program, {handOff.Target});
}

std::function<void(const DesktopHandOff&)> ShellExecutor = ExecuteOnDesktop;

void ShellOpen(QWidget* /*owner: the desktop opens its own windows*/, const QString& target,
               const QString& program) {
    const HourGlassCursor busy;
    ShellExecutor(HandOffFor(ShellRequestFor(target, program)));
}
