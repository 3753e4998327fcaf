// Loaded into a Linux process with LD_PRELOAD (Wine's, which reads files for the Windows program
// it runs): reads of a file whose path holds READ_FAILS_MARKER fail with EIO from 64 KiB on, as a
// bad sector or a dropped share would; reads of a file whose path holds READ_STUCK_MARKER never
// return, as a pipe whose writer never writes. Every other read is passed on. Writes to a file
// whose path holds WRITE_FAILS_MARKER fail with ENOSPC, as on a full disk.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

#define READ_FAILS_MARKER "reads-fail-past-64k"
#define READ_STUCK_MARKER "reads-never-return"
#define WRITE_FAILS_MARKER "disk-is-full"
#define GOOD_BYTES 65536

enum Fault { NO_FAULT, FAILS_PAST_GOOD_BYTES, STUCK, DISK_FULL };

static enum Fault FaultOf(int fd) {
  char link[64], path[PATH_MAX];
  snprintf(link, sizeof(link), "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, path, sizeof(path) - 1);
  if (length <= 0) return NO_FAULT;
  path[length] = '\0';
  if (strstr(path, READ_STUCK_MARKER)) return STUCK;
  if (strstr(path, WRITE_FAILS_MARKER)) return DISK_FULL;
  if (strstr(path, READ_FAILS_MARKER)) return FAILS_PAST_GOOD_BYTES;
  return NO_FAULT;
}

// How many of `count` bytes at `offset` may be read; -1 (errno EIO) when none. Never returns for
// a stuck file.
static ssize_t Allowed(int fd, off_t offset, size_t count) {
  switch (FaultOf(fd)) {
    case STUCK:
      for (;;) pause();
    case FAILS_PAST_GOOD_BYTES:
      if (offset >= GOOD_BYTES) {
        errno = EIO;
        return -1;
      }
      return (ssize_t)(count < (size_t)(GOOD_BYTES - offset) ? count : GOOD_BYTES - offset);
    case NO_FAULT:
    case DISK_FULL:
      break;
  }
  return (ssize_t)count;
}

ssize_t read(int fd, void* buffer, size_t count) {
  static ssize_t (*real)(int, void*, size_t);
  if (!real) real = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
  const off_t offset = lseek(fd, 0, SEEK_CUR);
  const ssize_t allowed = offset < 0 ? (ssize_t)count : Allowed(fd, offset, count);
  return allowed < 0 ? -1 : real(fd, buffer, (size_t)allowed);
}

static ssize_t ReadAt(const char* name, int fd, void* buffer, size_t count, off_t offset) {
  ssize_t (*real)(int, void*, size_t, off_t) =
      (ssize_t(*)(int, void*, size_t, off_t))dlsym(RTLD_NEXT, name);
  const ssize_t allowed = Allowed(fd, offset, count);
  return allowed < 0 ? -1 : real(fd, buffer, (size_t)allowed, offset);
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  return ReadAt("pread", fd, buffer, count, offset);
}

ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
  return ReadAt("pread64", fd, buffer, count, offset);
}

ssize_t write(int fd, const void* buffer, size_t count) {
  static ssize_t (*real)(int, const void*, size_t);
  if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  if (FaultOf(fd) == DISK_FULL) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, buffer, count);
}

static ssize_t WriteAt(const char* name, int fd, const void* buffer, size_t count, off_t offset) {
  ssize_t (*real)(int, const void*, size_t, off_t) =
      (ssize_t(*)(int, const void*, size_t, off_t))dlsym(RTLD_NEXT, name);
  if (FaultOf(fd) == DISK_FULL) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, buffer, count, offset);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  return WriteAt("pwrite", fd, buffer, count, offset);
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t offset) {
  return WriteAt("pwrite64", fd, buffer, count, offset);
}
