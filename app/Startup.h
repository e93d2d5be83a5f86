#pragma once

#include <QString>

namespace platform {
class Application;
}

// What every start does before the first window is built: the program's names and icon,
// the forms' fonts mapped to installed ones, and the chosen interface language. Shared by the
// program and its start-up benchmark, so that the figures measure the real start.
void PrepareApplication(platform::Application& app);

// Why a start ends at once when another program holds the data folder but does not answer
// (stopped, hung): for the terminal or the desktop's log, before any language is chosen.
QString UnansweredStartMessage(qint64 process);
