#pragma once
// Whether two paths from the command line name the same file, whether or
// not it exists yet: "out.wav", "./out.wav", a symbolic link to it or a
// hard link all count as the same.
//
// Threads: main thread only.

#include <string>

bool NameSameFile(const std::string& a, const std::string& b);
