#pragma once
// Bounded C-string helpers for fixed character arrays and host buffers.

#include <cstddef>

// Copies src into dest of destSize bytes, cutting it to fit and always
// NUL-terminating; a null src gives "". destSize 0 writes nothing.
void BASE_CopyString(char* dest, const char* src, size_t destSize);
