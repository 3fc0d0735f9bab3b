// tSpool: text that is written once, in order, and read back later, such as
// the first source's C file, which can only be finished after the last
// source. The first bytes stay in memory; the rest goes to an unnamed
// temporary file (in the folder given, else the system's), so a program of
// any size costs little memory for it. With no temporary file to be had the
// whole text stays in memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class tSpool {
public:
    explicit tSpool(std::size_t memoryBytes = 256 * 1024) : memoryBytes_(memoryBytes) {}
    ~tSpool();
    tSpool(const tSpool&) = delete;
    tSpool& operator=(const tSpool&) = delete;

    // The folder of the temporary file, for the bytes written from now on
    // ("" for the current one).
    void setFolder(const std::string& folder) { folder_ = folder; }

    void append(const char* data, std::size_t length);
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Copies bytes [from, to) to the file (a null file takes nothing). False
    // when the temporary file could not be read back.
    bool copyTo(std::FILE* out, std::size_t from, std::size_t to);
    // All of the text, for the few callers that want it in memory.
    std::string text();
    // Forgets the text and closes the temporary file.
    void clear();

private:
    bool openSpill();

    std::size_t memoryBytes_;
    std::string memory_;
    std::FILE* spill_ = nullptr;
    bool spillFailed_ = false;
    bool damaged_ = false;  // the file could be neither written nor read back
    std::size_t size_ = 0;
    std::string folder_;
};
