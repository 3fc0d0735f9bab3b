// String: the owning text of the compiler (tArray is all in its header).
#include "containers.h"

#include <cctype>
#include <cstring>

namespace {

// Names and short texts come and go by the million; their buffers are
// recycled like the nodes that hold them.
char* newText(unsigned int length) { return static_cast<char*>(tRecycler::take(length + 1)); }
void freeText(char* buffer, unsigned int length) { tRecycler::give(buffer, length + 1); }

char* copyText(const char* text, unsigned int length)
{
    char* buffer = newText(length);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return buffer;
}

}  // namespace

String::String() : length_(0), buffer_(copyText("", 0)) {}

String::String(const char* text)
    : length_(text ? static_cast<unsigned int>(std::strlen(text)) : 0), buffer_(copyText(text ? text : "", length_))
{
}

String::String(const String& other) : length_(other.length_), buffer_(copyText(other.buffer_, other.length_)) {}

String& String::operator=(const String& other)
{
    if (this != &other)
        assign(other.buffer_);
    return *this;
}

String::~String() { freeText(buffer_, length_); }

void String::assign(const char* text)
{
    unsigned int length = text ? static_cast<unsigned int>(std::strlen(text)) : 0;
    char* buffer = copyText(text ? text : "", length);
    freeText(buffer_, length_);
    buffer_ = buffer;
    length_ = length;
}

void String::append(const char* text)
{
    if (!text || !*text)
        return;
    unsigned int extra = static_cast<unsigned int>(std::strlen(text));
    char* buffer = newText(length_ + extra);
    std::memcpy(buffer, buffer_, length_);
    std::memcpy(buffer + length_, text, extra + 1);
    freeText(buffer_, length_);
    buffer_ = buffer;
    length_ += extra;
}

bool String::equalsIgnoreCase(const char* text) const
{
    if (!text)
        return false;
    const unsigned char* a = reinterpret_cast<const unsigned char*>(buffer_);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text);
    for (; *a && *b; ++a, ++b)
        if (std::toupper(*a) != std::toupper(*b))
            return false;
    return *a == *b;
}

bool String::operator==(const char* text) const { return text && std::strcmp(buffer_, text) == 0; }
