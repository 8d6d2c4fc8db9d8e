#pragma once
// Base64 text (RFC 4648 alphabet: A-Z, a-z, 0-9, '+', '/') for preset blobs:
// encoding pads with '=' to a multiple of four characters; decoding is
// lenient and bounded, so a blob pasted into source code can never write
// past the state it fills.
//
// Threads: pure functions, callable from any thread; no locks.

// Characters needed to encode size bytes, without the terminating NUL
// (4 for every started group of 3 bytes); -1 for a negative size or when
// the result would not fit an int.
int BASE_Base64EncodedLength(int size);

// Encodes size bytes of data into text, a buffer of textSize bytes, and
// NUL-terminates it. Returns the number of characters written (without the
// NUL), or -1 when the buffer cannot hold the whole encoding and its NUL, or
// the arguments are invalid; text then holds "" when textSize >= 1.
int BASE_Base64Encode(const void* data, int size, char* text, int textSize);

// Decodes text into dest, writing at most destSize bytes, and returns the
// number of bytes written. Each alphabet character adds six bits and a byte
// is emitted whenever eight or more bits are pending; decoding stops at the
// first character outside the alphabet ('=', a line break, the NUL) or after
// textLength characters when textLength >= 0. Bytes of dest beyond the
// result are left untouched. A null text or dest, or destSize <= 0, writes
// nothing and returns 0.
int BASE_Base64Decode(const char* text, void* dest, int destSize, int textLength = -1);
