// The engines' small building blocks: intrusive reference counts (lexemes and
// stack elements pass between scanner, parser and grammar actions, and die
// with their last holder), the SSRef handle that holds one count, the SSLifo
// stack and the SSSetArray token set. Each reports misuse as an SSException.
#pragma once

#include "ss_exception.h"

#include "../ast/containers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

// An object is created with no holders; every holder adds one (refInc) and
// lets go with refDec, which deletes the object when the count reaches zero.
class SSRefCount {
public:
    static void* operator new(size_t size) { return tRecycler::take(size); }
    static void operator delete(void* p, size_t size) { tRecycler::give(p, size); }

    SSRefCount() = default;
    SSRefCount(const SSRefCount&) = delete;
    SSRefCount& operator=(const SSRefCount&) = delete;

    void refInc() { ++refs_; }
    void refDec()
    {
        if (refs_ <= 0)
            ssRaise(SSError::Ref0001);
        if (--refs_ == 0)
            delete this;
    }
    long refCount() const { return refs_; }

protected:
    virtual ~SSRefCount() = default;

private:
    long refs_ = 0;
};

// Holds one count of a reference-counted object (or nothing).
template <class T>
class SSRef {
public:
    SSRef() = default;
    SSRef(T* p) : p_(p)
    {  // NOLINT: implicit, so a new object can be returned as a handle
        if (p_)
            p_->refInc();
    }
    SSRef(const SSRef& o) : SSRef(o.p_) {}
    SSRef(SSRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    SSRef& operator=(SSRef o)
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~SSRef()
    {
        if (p_)
            p_->refDec();
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// A stack that grows by a fixed increment, up to an optional limit (0: none).
// Index 0 is the bottom.
template <class T>
class SSLifo {
public:
    explicit SSLifo(size_t initial = 64, size_t increment = 64, size_t limit = 0)
        : increment_(increment ? increment : 1), limit_(limit)
    {
        items_.reserve(initial);
    }

    void push(const T& item)
    {
        if (items_.size() == items_.capacity() || limit_) {
            if (limit_ && items_.size() >= limit_)
                ssRaise(SSError::Lifo0001);
            if (items_.size() == items_.capacity())
                items_.reserve(items_.capacity() + increment_);
        }
        items_.push_back(item);
    }
    // True when push() needs neither to grow the stack nor to check a limit.
    bool hasRoom() const { return !limit_ && items_.size() < items_.capacity(); }
    // A push that hasRoom() said needs no checks.
    void pushInRoom(const T& item) { items_.push_back(item); }
    T pop()
    {
        if (items_.empty())
            ssRaise(SSError::Lifo0004);
        T item = std::move(items_.back());
        items_.pop_back();
        return item;
    }
    T& top()
    {
        if (items_.empty())
            ssRaise(SSError::Lifo0002);
        return items_.back();
    }
    T& at(size_t index)
    {
        if (index >= items_.size())
            ssRaise(SSError::Lifo0003);
        return items_[index];
    }
    // Unchecked access for hot loops that have checked the size already.
    T& fromTop(size_t depth) { return items_[items_.size() - 1 - depth]; }
    const T& fromTop(size_t depth) const { return items_[items_.size() - 1 - depth]; }
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

private:
    std::vector<T> items_;
    size_t increment_, limit_;
};

// A set of token ids with a fixed capacity.
class SSSetArray {
public:
    explicit SSSetArray(size_t capacity) : capacity_(capacity) {}

    void insert(uint32_t value)
    {
        if (contains(value))
            return;
        if (items_.size() >= capacity_)
            ssRaise(SSError::SetArray0001);
        items_.push_back(value);
    }
    bool contains(uint32_t value) const { return std::find(items_.begin(), items_.end(), value) != items_.end(); }
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

private:
    size_t capacity_;
    std::vector<uint32_t> items_;
};
