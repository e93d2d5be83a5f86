#pragma once

#include <QString>
#include <functional>

class QWidget;

// A request to the desktop shell in the form the program's targets are written for: a verb,
// a file and its parameters, the texts in double quotes where the shell wants them quoted.
struct ShellRequest {
    QString Verb;
    QString File;
    QString Parameters;

    bool operator==(const ShellRequest&) const = default;
};

// What a request becomes on this desktop: the target opened with the user's default program,
// or the given program started with the target as its one argument. No quotes remain.
struct DesktopHandOff {
    QString Program; // empty: the desktop's default program for the target
    QString Target;

    bool operator==(const DesktopHandOff&) const = default;
};

// The computer's own top-level folder, opened for the target "My Computer".
inline const QString ComputerFolder = QStringLiteral("/");

// The folder and name parts of a target; "\" and ":" separate them, as in the targets the
// program was first written for.
QString TargetDirectory(const QString& target);
QString TargetName(const QString& target);

// Turns a target and an optional program into the shell request: "My Computer", the
// "DIR/" and "PIC/" folder markers, and the quoting.
ShellRequest ShellRequestFor(const QString& target, const QString& program);

// Removes the shell's quoting.
DesktopHandOff HandOffFor(const ShellRequest& request);

// Carries a request out. The desktop is replaceable so that tests can see what would be opened.
extern std::function<void(const DesktopHandOff&)> ShellExecutor;
void ExecuteOnDesktop(const DesktopHandOff& handOff);

// Hands the target to the desktop with the hour-glass cursor shown meanwhile; the cursor the
// application had before is restored. The outcome is not reported.
void ShellOpen(QWidget* owner, const QString& target, const QString& program);
