#pragma once
// The key codes the editor routes to controls (IGraphics::OnKeyDown). The
// platform maps its own keys onto them; keys without a code stay with the
// host.
//
// Threads: constants.

enum EKeyCode {
  kKeySpace = 0,
  kKeyUpArrow = 1,
  kKeyDownArrow = 2,
  kKeyLeftArrow = 3,
  kKeyRightArrow = 4,
  kKeyDigit0 = 5,  // digits "0"-"9" are 5-14
  kKeyDigit9 = 14,
  kKeyAlphaA = 15,  // letters "A"-"Z", case ignored, are 15-40
  kKeyAlphaZ = 40,
};
