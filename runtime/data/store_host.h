// The host calls of the record store: files in the application directory and
// their memory mappings. store_posix.cpp is the only file that maps files or
// calls the operating system for the data folder; everything above it sees a
// file as a byte range that grows in place.
//
// A mapping reserves more address space than the file holds, so growing the
// file maps the new bytes behind the old ones and pointers into the mapping
// stay valid; only when the reservation is outgrown does the mapping move
// (MappedFile::moved counts those moves, so callers can tell).
#ifndef ZELTA_DATA_STORE_HOST_H
#define ZELTA_DATA_STORE_HOST_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace data::host {

struct MappedFile {
  int fd = -1;
  char* base = nullptr;  // the file's bytes; null while not mapped
  size_t size = 0;       // bytes of the file that are mapped
  size_t reserved = 0;   // address space held for growth
  uint32_t moved = 0;    // times the mapping moved to a new address
};

// Opens and maps an existing file with all its bytes. False with `error`
// (the system's text) when it cannot be opened or mapped.
bool openMapped(const std::string& path, MappedFile& file, std::string& error);
// Creates a new file of `size` zero bytes and maps it; fails when the file
// exists already (`exists` is then true).
bool createMapped(const std::string& path, size_t size, MappedFile& file, bool& exists, std::string& error);
// Extends the file to `size` bytes (zeros) and maps them.
bool growMapped(MappedFile& file, size_t size, std::string& error);
// Unmaps and closes; the file keeps what was written.
void closeMapped(MappedFile& file);
// Gives the file's pages back to the system so the process does not keep
// them resident; the next access finds them again in the page cache.
void flushMapped(MappedFile& file);
// The same for bytes [from, to) of the file only.
void flushMappedRange(MappedFile& file, size_t from, size_t to);
// Writes the file's pages to the disk and waits for it.
void syncMapped(MappedFile& file);
// Copies up to `length` bytes at `offset` of the file to `to` through the
// page cache, without mapping them into the process; the bytes copied (fewer
// at the end of the file, 0 on failure). Sees every store made through the
// mapping.
size_t readAt(const MappedFile& file, size_t offset, void* to, size_t length);

// Zeroed memory of `length` bytes straight from the system, and back to it:
// for large passing buffers, which the allocator could keep after their use.
void* allocatePages(size_t length);
void freePages(void* pages, size_t length);

bool fileExists(const std::string& path);
// Size of the file, or -1 when it cannot be read.
long long fileSize(const std::string& path);
bool removeFile(const std::string& path);
// Replaces `to` by `from` in one step: a reader sees the old or the new file.
bool replaceFile(const std::string& from, const std::string& to);
// Gives `from` the name `to` in one step unless `to` exists (`exists` is then
// true and nothing changes).
bool renameNew(const std::string& from, const std::string& to, bool& exists);
// Copies the file to `to` through a temporary name, so `to` is always whole.
bool copyFile(const std::string& from, const std::string& to);
// Creates the directory (and its parents) when it is missing.
bool makeDirectory(const std::string& path);
// Writes a whole small file through a temporary name (replaceFile).
bool writeWholeFile(const std::string& path, const void* bytes, size_t length);
// Reads a whole small file; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes);
// Reads at most `length` bytes from the start of a file.
bool readFileHead(const std::string& path, size_t length, std::string& bytes);

// Bytes free for this process on the file system that holds `path`, or -1.
long long freeSpace(const std::string& path);

// The system's text for the last failed call.
std::string lastErrorText();

}  // namespace data::host

#endif
