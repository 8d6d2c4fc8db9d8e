// Writing a file so that it holds either its old bytes or all of the new
// ones, never a part: a save that fails half-way (a full disk, a file size
// limit, an I/O error) must not cost the user the file they had. The bytes
// go to a new file beside the target, which takes the target's name by a
// rename once they are all written and flushed to the disk.
//
// Threads: any thread, no lock; touches only the target and its temporary
// sibling.
#pragma once

#include <cstddef>

// Writes size bytes (none when size is 0) as the whole content of path and
// reports whether they were all written. An existing file keeps its
// permissions; a symbolic link keeps pointing where it did and the file it
// names gets the bytes. Where the folder takes no new file (a writable
// file in a folder that is not), the file is written in place instead.
bool ReplaceFileWhole(const char* path, const void* data, size_t size);
