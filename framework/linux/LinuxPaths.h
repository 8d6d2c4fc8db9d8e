#pragma once
// Standard folders of the desktop and of the loaded plug-in, and the
// system's version, for the X11 editor: what the editor's path operations
// (PluginPath, HostPath, DesktopPath, AppSupportPath,
// SandboxSafeAppSupportPath) and GetUserOSVersion answer.
//
// Threads: any thread; each call reads the environment and the file system
// and keeps no state. No lock is taken.

#include "base/string.h"

// Folder of the shared object (or program) this code is linked into,
// followed by "/". Unchanged when the module cannot be found.
void LinuxPluginPath(BASE_String* path);
// Path of that shared object itself (the plug-in, not the host program).
void LinuxHostPath(BASE_String* path);
// The XDG desktop folder (XDG_DESKTOP_DIR of user-dirs.dirs, "$HOME/..."
// expanded), else $HOME/Desktop.
void LinuxDesktopPath(BASE_String* path);
// $XDG_CONFIG_HOME (else $HOME/.config) for the user, /etc/xdg for the system.
void LinuxAppSupportPath(BASE_String* path, bool isSystem);
// $HOME followed by "/Music".
void LinuxSandboxSafeAppSupportPath(BASE_String* path);
// The home folder: $HOME, else the password database's entry, else "/".
void LinuxHomePath(BASE_String* path);

// The kernel release as 0xVVVVRRMM (major, minor, patch); parts beyond a
// field's range are held at its maximum, missing parts count as 0.
int LinuxPackVersion(const char* release);
// LinuxPackVersion of uname's release; 0 when uname fails.
int LinuxUserOSVersion();
