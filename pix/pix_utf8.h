// UTF-8 as the text drawing reads it: one 16-bit character per call, with
// every byte that does not start a valid sequence read as Latin-1.
//
// Threads: pure functions; any thread.
#pragma once

// Decodes one character from text, reading at most avail bytes (avail
// below 1 reads nothing and returns 0). Returns the bytes used and stores
// the character:
//   0xC2-0xDF + 1 continuation byte: 2 bytes;
//   0xE0-0xEF + 2 continuation bytes: the 16-bit value of 3 bytes;
//   0xF0-0xF4 + 3 continuation bytes: 4 bytes, read as a space (32);
//   anything else (also a sequence cut short by avail): 1 byte, its own value.
int utf8char(const char* text, unsigned short* out, int avail = 4);

// Encodes a 16-bit character as 1 to 3 bytes of UTF-8 (no terminator);
// returns the byte count.
int PIX_EncodeUTF8(unsigned short c, char* out);
