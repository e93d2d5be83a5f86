#pragma once

class TGlyphorama;
namespace platform {
class Thread;
}

// Starts the notice download for the window, unless the settings switch it off
// ("NetWork"/"VersionCheck" = 0). A hand-set "NetWork"/"NoticeHost" takes the place of the
// built-in notice server, for mirrors and tests. Returns the running check, which frees itself
// when it ends, or null.
platform::Thread* StartVersionCheck(TGlyphorama* window);
