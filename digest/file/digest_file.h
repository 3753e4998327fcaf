#pragma once
// The engine's one platform seam: a file opened for reading, or the process's standard input.
// The window opens files on disk only, with read sharing only; the console companion opens
// anything that can be read, as the usual command-line tools do.
#include <cstdint>

#include "runtime/text.h"

// How opening a path ended. Open reads only files on disk (and disks or volumes opened as files):
// a device, pipe or console may never end, or read as empty without being an empty file.
// Which files a path may open as: any the system lets us read, or a regular file only.
enum class FileKinds { ANY_READABLE, REGULAR_ONLY };

struct FileOpening {
  enum class Outcome { OPENED, SYSTEM_ERROR, NOT_A_FILE, FOLDER };
  Outcome outcome;
  uint32_t systemError;  // errno, or GetLastError() on Windows, when the system refused
  bool Opened() const { return outcome == Outcome::OPENED; }
};

class DigestFile {
 public:
  DigestFile() = default;
  DigestFile(const DigestFile&) = delete;
  DigestFile& operator=(const DigestFile&) = delete;
  ~DigestFile();

  // Refused by the system for a missing file, a directory, or one another handle holds for
  // writing; refused here for anything that is not a file on disk.
  FileOpening Open(const Text& path);
  // Anything the system lets us read: files, pipes, FIFOs (waiting for a writer), devices, and on
  // Windows the console; a file another program holds open for writing is read too. A folder is
  // still refused.
  FileOpening OpenAnyReadable(const Text& path);
  // A regular file only, as OpenAnyReadable shares it, its type known before anything is read and
  // without waiting: a FIFO, pipe, device or console is NOT_A_FILE and is never read.
  FileOpening OpenRegularFile(const Text& path);
  // The process's standard input, through a handle of our own so that closing it leaves the
  // process's open.
  bool OpenStandardInput();
  void Seek(int64_t offset);
  // Reads until `size` bytes are in or the data ends: a pipe, a network file system or a filter
  // driver may hand out a short piece in the middle, which must not pass for the end. -1 when a
  // read fails.
  int64_t Read(uint8_t* buffer, uint32_t size);
  // One read of the system: bytes read, which may be fewer than `size` anywhere in the file;
  // 0 at its end; -1 when the system reports an error.
  int64_t ReadSome(uint8_t* buffer, uint32_t size);
  // Bytes in a file on disk; -1 for a pipe, device or console, whose end is not known before.
  int64_t Size() const;

 private:
  intptr_t handle = -1;  // ours: closed by the destructor
};
