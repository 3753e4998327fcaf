#pragma once
// The shell's file list (CF_HDROP): a DROPFILES header, then the names, each ended by a zero
// character, the last followed by a second zero. It arrives from another program, so nothing in
// it is trusted. Portable: it reads only the block's bytes.
#include <cstdint>

// Where the names lie in a sound list.
struct FileListNames {
  uint64_t offset;  // of the first name's first byte
  uint64_t length;  // characters from there to the end of the last name, its zero excluded
  bool wide;        // UTF-16 characters; else bytes in the sender's code page
};

constexpr uint64_t FILE_LIST_HEADER_SIZE = 20;
constexpr uint64_t FILE_LIST_NAMES_OFFSET_AT = 0;  // unsigned 32-bit: where the names start
constexpr uint64_t FILE_LIST_WIDE_FLAG_AT = 16;    // 32-bit, non-zero for UTF-16 names

// True when the header and every name, with both closing zeros, lie inside the `size` bytes and
// there is at least one name; `names` then says where they are. One pass over the names.
bool FindFileListNames(const uint8_t* bytes, uint64_t size, FileListNames* names);
