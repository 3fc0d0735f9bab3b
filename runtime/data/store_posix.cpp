// POSIX side of the record store: open, create, grow and map files with
// mmap, give resident pages back, and the few whole-file operations (copy,
// replace, remove). Mappings are MAP_SHARED, so every store into them is in
// the page cache at once: a killed process loses nothing it has written.
#include "store_host.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <vector>

namespace data::host {

namespace {

int savedErrno = 0;

size_t pageSize() {
  static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

size_t roundUpToPage(size_t n) {
  const size_t p = pageSize();
  return (n + p - 1) / p * p;
}

// Address space held for a file of `size` bytes: room to grow fourfold
// before the mapping has to move.
size_t reservationFor(size_t size) {
  const size_t minimum = size_t{16} << 20;
  const size_t wanted = size * 4 > minimum ? size * 4 : minimum;
  return roundUpToPage(wanted);
}

bool fail(std::string& error) {
  savedErrno = errno;
  error = strerror(savedErrno);
  return false;
}

// Maps file bytes [from, to) (page-rounded) at their place in the reservation.
bool mapRange(MappedFile& file, size_t from, size_t to, std::string& error) {
  const size_t start = from / pageSize() * pageSize();
  const size_t end = roundUpToPage(to);
  if (end <= start) return true;
  void* at = mmap(file.base + start, end - start, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, file.fd,
                  static_cast<off_t>(start));
  if (at == MAP_FAILED) return fail(error);
  return true;
}

bool reserveAndMap(MappedFile& file, size_t size, std::string& error) {
  const size_t reserved = reservationFor(size);
  void* base = mmap(nullptr, reserved, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (base == MAP_FAILED) return fail(error);
  MappedFile next = file;
  next.base = static_cast<char*>(base);
  next.reserved = reserved;
  if (!mapRange(next, 0, size, error)) {
    munmap(base, reserved);
    return false;
  }
  if (file.base) {
    munmap(file.base, file.reserved);
    ++next.moved;
  }
  next.size = size;
  file = next;
  return true;
}

}  // namespace

bool openMapped(const std::string& path, MappedFile& file, std::string& error) {
  file = MappedFile();
  file.fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (file.fd < 0) return fail(error);
  struct stat st;
  const bool statted = fstat(file.fd, &st) == 0;
  if (!statted || !S_ISREG(st.st_mode)) {
    if (statted) errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    fail(error);
    close(file.fd);
    file.fd = -1;
    return false;
  }
  if (!reserveAndMap(file, static_cast<size_t>(st.st_size), error)) {
    close(file.fd);
    file = MappedFile();
    return false;
  }
  return true;
}

bool createMapped(const std::string& path, size_t size, MappedFile& file, bool& exists, std::string& error) {
  file = MappedFile();
  exists = false;
  file.fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (file.fd < 0) {
    exists = errno == EEXIST;
    return fail(error);
  }
  if (ftruncate(file.fd, static_cast<off_t>(size)) != 0 || !reserveAndMap(file, size, error)) {
    fail(error);
    close(file.fd);
    unlink(path.c_str());
    file = MappedFile();
    return false;
  }
  return true;
}

bool growMapped(MappedFile& file, size_t size, std::string& error) {
  if (size <= file.size) return true;
  if (ftruncate(file.fd, static_cast<off_t>(size)) != 0) return fail(error);
  if (roundUpToPage(size) > file.reserved) return reserveAndMap(file, size, error);
  if (!mapRange(file, roundUpToPage(file.size), size, error)) return false;
  file.size = size;
  return true;
}

void closeMapped(MappedFile& file) {
  if (file.base) munmap(file.base, file.reserved);
  if (file.fd >= 0) close(file.fd);
  file = MappedFile();
}

void flushMapped(MappedFile& file) {
  if (!file.base) return;
  // The mapping is the page cache itself: the system writes it back on its
  // own. Dropping our hold on its pages keeps the process small; shared file
  // pages keep their changes when dropped.
  madvise(file.base, roundUpToPage(file.size), MADV_DONTNEED);
}

void flushMappedRange(MappedFile& file, size_t from, size_t to) {
  if (!file.base) return;
  if (to > file.size) to = file.size;
  const size_t start = from / pageSize() * pageSize();
  const size_t end = roundUpToPage(to);
  if (end > start) madvise(file.base + start, end - start, MADV_DONTNEED);
}

void syncMapped(MappedFile& file) {
  if (!file.base) return;
  msync(file.base, roundUpToPage(file.size), MS_SYNC);
  fsync(file.fd);
}

size_t readAt(const MappedFile& file, size_t offset, void* to, size_t length) {
  char* p = static_cast<char*>(to);
  size_t got = 0;
  while (got < length) {
    const ssize_t n = pread(file.fd, p + got, length - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) savedErrno = errno;
      break;
    }
    got += static_cast<size_t>(n);
  }
  return got;
}

void* allocatePages(size_t length) {
  void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) {
    savedErrno = errno;
    return nullptr;
  }
  return p;
}

void freePages(void* pages, size_t length) {
  if (pages) munmap(pages, length);
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

long long fileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}

bool removeFile(const std::string& path) {
  if (unlink(path.c_str()) == 0) return true;
  savedErrno = errno;
  return false;
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) == 0) return true;
  savedErrno = errno;
  return false;
}

bool renameNew(const std::string& from, const std::string& to, bool& exists) {
  exists = false;
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  savedErrno = errno;
  exists = errno == EEXIST;
  return false;
}

bool writeWholeFile(const std::string& path, const void* bytes, size_t length) {
  const std::string temporary = path + ".new";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    savedErrno = errno;
    return false;
  }
  const char* p = static_cast<const char*>(bytes);
  size_t left = length;
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      savedErrno = errno;
      close(fd);
      unlink(temporary.c_str());
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (close(fd) != 0) {
    savedErrno = errno;
    unlink(temporary.c_str());
    return false;
  }
  if (!replaceFile(temporary, path)) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    savedErrno = errno;
    return false;
  }
  bytes.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      savedErrno = errno;
      close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return true;
}

bool readFileHead(const std::string& path, size_t length, std::string& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    savedErrno = errno;
    return false;
  }
  bytes.assign(length, '\0');
  size_t got = 0;
  while (got < length) {
    const ssize_t n = read(fd, &bytes[got], length - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  bytes.resize(got);
  return true;
}

bool copyFile(const std::string& from, const std::string& to) {
  std::string bytes;
  return readWholeFile(from, bytes) && writeWholeFile(to, bytes.data(), bytes.size());
}

bool makeDirectory(const std::string& path) {
  if (path.empty()) return false;
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) makeDirectory(path.substr(0, slash));
  if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
  savedErrno = errno;
  return false;
}

long long freeSpace(const std::string& path) {
  struct statvfs fs;
  if (statvfs(path.c_str(), &fs) != 0) return -1;
  return static_cast<long long>(fs.f_bavail) * static_cast<long long>(fs.f_frsize);
}

std::string lastErrorText() { return strerror(savedErrno ? savedErrno : errno); }

}  // namespace data::host
