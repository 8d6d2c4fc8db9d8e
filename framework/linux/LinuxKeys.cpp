#include "framework/linux/LinuxKeys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "framework/editor/IKeyCodes.h"

int LinuxEditorKeyCode(KeySym sym)
{
  switch (sym) {
    case XK_space:
    case XK_KP_Space:
      return 0;
    case XK_Up:
    case XK_KP_Up:
      return 1;
    case XK_Down:
    case XK_KP_Down:
      return 2;
    case XK_Left:
    case XK_KP_Left:
      return 3;
    case XK_Right:
    case XK_KP_Right:
      return 4;
    default:
      break;
  }
  if (sym >= XK_0 && sym <= XK_9) return kKeyDigit0 + (int)(sym - XK_0);
  if (sym >= XK_KP_0 && sym <= XK_KP_9) return kKeyDigit0 + (int)(sym - XK_KP_0);
  if (sym >= XK_A && sym <= XK_Z) return kKeyAlphaA + (int)(sym - XK_A);
  if (sym >= XK_a && sym <= XK_z) return kKeyAlphaA + (int)(sym - XK_a);
  return kLinuxKeyNotTaken;
}

KeySym LinuxEventKeySym(XKeyEvent* event)
{
  char text[8];
  KeySym sym = NoSymbol;
  XLookupString(event, text, sizeof text, &sym, nullptr);
  return sym;
}
