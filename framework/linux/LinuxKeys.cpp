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

unsigned LinuxKeySymCodePoint(KeySym sym)
{
  // Latin-1 keysyms are their code points; keysyms 0x01000000 + u carry
  // any other code point u.
  if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) return (unsigned)sym;
  if ((sym & 0xFF000000UL) == 0x01000000UL) return (unsigned)(sym & 0x00FFFFFFUL);
  return 0;
}

int LinuxEncodeUTF8(unsigned c, char text[8])
{
  int n = 0;
  if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) n = 0;
  else if (c < 0x80) text[n++] = (char)c;
  else if (c < 0x800) {
    text[n++] = (char)(0xC0 | (c >> 6));
    text[n++] = (char)(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text[n++] = (char)(0xE0 | (c >> 12));
    text[n++] = (char)(0x80 | ((c >> 6) & 0x3F));
    text[n++] = (char)(0x80 | (c & 0x3F));
  } else {
    text[n++] = (char)(0xF0 | (c >> 18));
    text[n++] = (char)(0x80 | ((c >> 12) & 0x3F));
    text[n++] = (char)(0x80 | ((c >> 6) & 0x3F));
    text[n++] = (char)(0x80 | (c & 0x3F));
  }
  text[n] = '\0';
  return n;
}

KeySym LinuxEventText(XKeyEvent* event, char text[8])
{
  char latin1[8];
  KeySym sym = NoSymbol;
  const int n = XLookupString(event, latin1, sizeof latin1, &sym, nullptr);
  // What the lookup typed is Latin-1 (keypad digits with Num Lock among
  // it); keys beyond Latin-1 type their keysym's code point.
  const unsigned c = n == 1 ? (unsigned char)latin1[0] : LinuxKeySymCodePoint(sym);
  LinuxEncodeUTF8(c, text);
  return sym;
}
