#pragma once
// The desktop's dialogs and URL opener through its own helper programs:
// zenity, else kdialog, else none. Each text is one argument (no shell, no
// markup). Without either program a message box answers 0 and a file
// prompt leaves the file empty, at once: nothing waits on a window that
// cannot appear.
//
// Threads: the editor's thread. A dialog blocks that thread until the user
// answers it, as modal dialogs do; the audio thread is never involved.

#include "base/string.h"

// Message-box types and answers. The first button is the default, the
// second the alternate, the third the other one.
enum {
  kLinuxMsgOK = 0,           // OK alone (any type not listed below)
  kLinuxMsgOKCancel = 1,     // OK / Cancel
  kLinuxMsgYesNoCancel = 3,  // Yes / No / Cancel
  kLinuxMsgYesNo = 4,        // Yes / No
};
enum {
  kLinuxAnswerNone = 0,       // closed without a button, or no dialog program
  kLinuxAnswerDefault = 1,    // Yes or OK
  kLinuxAnswerOther = 2,      // Cancel of Yes / No / Cancel
  kLinuxAnswerAlternate = 7,  // No, or Cancel of OK / Cancel
};

int LinuxShowMessageBox(const char* text, const char* caption, int type);

// File actions: 1 saves, anything else opens.
enum { kLinuxFileOpen = 0, kLinuxFileSave = 1 };

// Asks for a file. file holds the default name on entry and the chosen
// path (or "") on return; directory holds the start folder on entry ("" or
// null: "~/Desktop", which directory then keeps) and the chosen file's
// folder followed by "/" when one was chosen. extensions lists the file
// types separated by single spaces ("fxp fxb"); a saved name without one
// of them gets the first one appended.
void LinuxPromptForFile(BASE_String* file, int action, BASE_String* directory, const char* extensions);

// Opens url (or a file path) with xdg-open without waiting for it. True
// when it could be started, and for a missing or empty url (nothing to
// open is not a failure a caller could fall back from).
bool LinuxOpenURL(const char* url);
