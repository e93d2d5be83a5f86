#pragma once

class TGlyphorama;

// Starts the notice download for the window, unless the settings switch it off
// ("NetWork"/"VersionCheck" = 0). A hand-set "NetWork"/"NoticeHost" takes the place of the
// built-in notice server, for mirrors and tests.
void StartVersionCheck(TGlyphorama* window);
