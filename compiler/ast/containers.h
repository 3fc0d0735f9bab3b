// The compiler's own containers: tRecycler, the free lists behind the
// short-lived objects of a parse; tArray, a growable array of pointers that
// never deletes its items (their owner does); and String, an owning text
// whose buffer is always present and zero-terminated.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

// Keeps the blocks of deleted small objects, one free list per size in steps
// of 16 bytes, for the next object of that size, and cuts new blocks from
// large slabs. A parse makes and drops millions of lexemes, stack elements
// and nodes, and the heap's own bookkeeping costs more than the rest of their
// lives. Blocks are never given back; under AddressSanitizer every block goes
// to the heap, so misuse is still caught.
class tRecycler {
public:
    static void* take(std::size_t size)
    {
        std::size_t k = slot(size);
        if (k >= kSlots)
            return ::operator new(size);
        Block* block = heads()[k];
        if (!block)
            return cut((k + 1) * kStep);
        heads()[k] = block->next;
        return block;
    }
    static void give(void* block, std::size_t size)
    {
        std::size_t k = slot(size);
        if (k >= kSlots)
            return ::operator delete(block);
        heads()[k] = new (block) Block{heads()[k]};
    }

private:
    struct Block {
        Block* next;
    };
#if defined(__SANITIZE_ADDRESS__)
    static constexpr std::size_t kSlots = 0;
#else
    static constexpr std::size_t kSlots = 16;
#endif
    static constexpr std::size_t kStep = 16;
    static std::size_t slot(std::size_t size) { return size ? (size - 1) / kStep : 0; }
    static Block** heads()
    {
        static Block* lists[kSlots ? kSlots : 1] = {};
        return lists;
    }
    // A new block from the current slab; the few bytes a slab has left when
    // a block does not fit are not used.
    static void* cut(std::size_t bytes)
    {
        static constexpr std::size_t kSlabBytes = 256 * 1024;
        static char* next = nullptr;
        static std::size_t left = 0;
        if (left < bytes) {
            next = static_cast<char*>(::operator new(kSlabBytes));
            left = kSlabBytes;
        }
        void* block = next;
        next += bytes;
        left -= bytes;
        return block;
    }
};

class tBase {
public:
    virtual ~tBase() = default;
};

template <typename T>
class tArray : public tBase {
public:
    tArray() = default;
    tArray(const tArray&) = delete;
    tArray& operator=(const tArray&) = delete;
    ~tArray() override { std::free(items_); }

    // Appends at the end and returns the new item's index.
    int add(T* item)
    {
        if (count_ == capacity_)
            grow();
        items_[count_] = item;
        return count_++;
    }

    T* at(int index) const { return index >= 0 && index < count_ ? items_[index] : nullptr; }
    T* operator[](int index) const { return at(index); }
    T* last() const { return count_ ? items_[count_ - 1] : nullptr; }
    int count() const { return count_; }
    int capacity() const { return capacity_; }
    bool empty() const { return count_ == 0; }
    int cursor() const { return cursor_; }
    void setCursor(int cursor) { cursor_ = cursor; }

    // Takes the item out without deleting it; the items above move down.
    T* removeAt(int index)
    {
        if (index < 0 || index >= count_)
            return nullptr;
        T* item = items_[index];
        for (int i = index; i + 1 < count_; ++i)
            items_[i] = items_[i + 1];
        --count_;
        return item;
    }

    // Forgets every item; the caller keeps ownership.
    void clear() { count_ = 0; }

    // Deletes every item and empties the array, for arrays that own theirs.
    void deleteAll()
    {
        for (int i = 0; i < count_; ++i)
            delete items_[i];
        count_ = 0;
    }

private:
    // Small arrays grow by 2, middling ones by 16, large ones by a quarter,
    // so the many two- and three-item lists of a tree stay small.
    void grow()
    {
        int step = capacity_ < 9 ? 2 : capacity_ < 65 ? 16 : capacity_ / 4;
        void* grown = std::realloc(items_, sizeof(T*) * static_cast<std::size_t>(capacity_ + step));
        if (!grown)
            throw std::bad_alloc();
        items_ = static_cast<T**>(grown);
        capacity_ += step;
    }

    T** items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int cursor_ = -1;
};

class String {
public:
    String();
    explicit String(const char* text);
    String(const String& other);
    String& operator=(const String& other);
    ~String();

    // A null or empty text empties the string.
    void assign(const char* text);
    void append(const char* text);

    const char* text() const { return buffer_; }
    unsigned int length() const { return length_; }
    bool empty() const { return length_ == 0; }
    // Null when the index is past the last character.
    const char* at(unsigned int index) const { return index < length_ ? buffer_ + index : nullptr; }
    bool equalsIgnoreCase(const char* text) const;
    bool operator==(const char* text) const;

private:
    unsigned int length_;
    char* buffer_;
};
