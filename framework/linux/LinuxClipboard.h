#pragma once
// Reading the desktop clipboard: the CLIPBOARD selection converted to
// UTF8_STRING by its owner.
//
// Threads: the editor's thread, with its own display connection. The call
// waits for the owner's answer at most timeoutMs; other events arriving
// meanwhile stay queued for the editor's event loop.

#include <X11/Xlib.h>

#include "base/string.h"

// text becomes the clipboard's text and the result is true; with no owner,
// no text form, a refusal, an answer too large for one transfer or no
// answer in time, text becomes "" and the result is false. requestor is a
// window of this connection that receives the transfer.
bool LinuxReadClipboard(Display* display, Window requestor, BASE_String* text, int timeoutMs = 500);
