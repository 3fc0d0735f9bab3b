// tSpool: memory first, then an unnamed temporary file.
#include "spool.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// A file no other program can open: created in the folder and unlinked at
// once, so nothing is left behind whatever way the run ends.
std::FILE* unnamedFile(const std::string& folder)
{
    std::string pattern = (folder.empty() ? std::string(".") : folder) + "/.ezelta-spool-XXXXXX";
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    int fd = mkstemp(path.data());
    if (fd >= 0) {
        unlink(path.data());
        if (std::FILE* file = fdopen(fd, "w+b"))
            return file;
        close(fd);
    }
    return std::tmpfile();
}

}  // namespace

tSpool::~tSpool() { clear(); }

bool tSpool::openSpill()
{
    if (spill_)
        return true;
    if (spillFailed_)
        return false;
    spill_ = unnamedFile(folder_);
    if (!spill_) {
        spillFailed_ = true;
        return false;
    }
    std::setvbuf(spill_, nullptr, _IOFBF, kChunk);
    return true;
}

void tSpool::append(const char* data, std::size_t length)
{
    if (length == 0)
        return;
    if (!spill_) {
        std::size_t room = memory_.size() < memoryBytes_ ? memoryBytes_ - memory_.size() : 0;
        std::size_t here = length <= room || spillFailed_ ? length : room;
        memory_.append(data, here);
        size_ += here;
        data += here;
        length -= here;
        if (length == 0)
            return;
        if (!openSpill()) {
            memory_.append(data, length);
            size_ += length;
            return;
        }
    }
    if (std::fwrite(data, 1, length, spill_) == length) {
        size_ += length;
        return;
    }
    // The folder is full or gone: take the text back into memory and keep it there.
    std::string spilled = text();
    damaged_ = damaged_ || spilled.size() < size_;
    spilled.resize(size_);
    std::fclose(spill_);
    spill_ = nullptr;
    spillFailed_ = true;
    memory_ = std::move(spilled);
    memory_.append(data, length);
    size_ = memory_.size();
}

bool tSpool::copyTo(std::FILE* out, std::size_t from, std::size_t to)
{
    if (damaged_)
        return false;
    if (to > size_)
        to = size_;
    if (from >= to)
        return true;
    std::size_t inMemory = memory_.size();
    if (from < inMemory) {
        std::size_t end = to < inMemory ? to : inMemory;
        if (out)
            std::fwrite(memory_.data() + from, 1, end - from, out);
        from = end;
    }
    if (from >= to)
        return true;
    if (!spill_ || std::fflush(spill_) != 0 || fseeko(spill_, static_cast<off_t>(from - inMemory), SEEK_SET) != 0)
        return false;
    std::vector<char> chunk(kChunk);
    while (from < to) {
        std::size_t want = to - from < kChunk ? to - from : kChunk;
        std::size_t got = std::fread(chunk.data(), 1, want, spill_);
        if (got == 0)
            return false;
        if (out)
            std::fwrite(chunk.data(), 1, got, out);
        from += got;
    }
    // Later appends go to the end again.
    return fseeko(spill_, 0, SEEK_END) == 0;
}

std::string tSpool::text()
{
    std::string all = memory_;
    if (spill_ && std::fflush(spill_) == 0 && fseeko(spill_, 0, SEEK_SET) == 0) {
        std::vector<char> chunk(kChunk);
        std::size_t got;
        while ((got = std::fread(chunk.data(), 1, kChunk, spill_)) > 0)
            all.append(chunk.data(), got);
        fseeko(spill_, 0, SEEK_END);
    }
    return all;
}

void tSpool::clear()
{
    std::string().swap(memory_);
    if (spill_)
        std::fclose(spill_);
    spill_ = nullptr;
    spillFailed_ = false;
    damaged_ = false;
    size_ = 0;
}
