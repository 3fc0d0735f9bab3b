// Lexemes and the consumers that feed the scanner. The window buffer keeps
// every byte from the current lexeme's start on, so the scanner can back up
// to its last accepting position without reading the input again.
#include "ss_lex.h"

#include <cstring>

SSLexLexeme::SSLexLexeme(std::string text, long token, long line, long offset, size_t length)
    : text_(std::move(text)),
      length_(length == std::string::npos ? text_.size() : length),
      token_(token),
      line_(line),
      offset_(offset)
{
}

void SSLexConsumer::setIncrement(size_t increment)
{
    if (increment < kMinIncrement)
        ssRaise(SSError::Lex0113);
    increment_ = increment;
}

// Moves the current lexeme to the front of the window, grows the window when
// the lexeme fills it, and reads more. False at the end of input.
bool SSLexConsumer::refill()
{
    if (atEnd_)
        return false;
    size_t keep = std::min(start_, pos_) - base_;
    if (keep > 0) {
        std::memmove(buffer_.data(), buffer_.data() + keep, end_ - keep);
        end_ -= keep;
        base_ += keep;
    }
    if (buffer_.size() - end_ < kMinIncrement)
        buffer_.resize(buffer_.size() + increment_);
    size_t got = fill(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0)
        atEnd_ = true;
    end_ += got;
    return got > 0;
}

int SSLexConsumer::byteAt(size_t pos)
{
    while (pos - base_ >= end_)
        if (!refill())
            return -1;
    return buffer_[pos - base_];
}

uint32_t SSLexConsumer::nextSlow()
{
    if (pos_ - start_ >= maxLexeme_)
        ssRaise(SSError::Lex0103, long(pos_ - start_));
    int c = byteAt(pos_);
    if (c < 0)
        return kEof;
    ++pos_;
    if (c == '\n') {
        ++line_;
        offset_ = 0;
        return '\n';
    }
    ++offset_;
    if (dbcs_ && c >= 0x81 && c <= 0xFE) {
        int trail = byteAt(pos_);
        if (trail < 0)
            ssRaise(SSError::Lex0114);
        ++pos_;
        return uint32_t(c) << 8 | uint32_t(trail);
    }
    return uint32_t(c);
}

SSLexFileConsumer::SSLexFileConsumer(const std::string& path) : path_(path)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        ssRaise(SSError::Lex0101, path, long(errno));
}

SSLexFileConsumer::~SSLexFileConsumer()
{
    if (file_)
        std::fclose(file_);
}

size_t SSLexFileConsumer::fill(unsigned char* dest, size_t max)
{
    size_t got = std::fread(dest, 1, max, file_);
    if (got == 0 && std::ferror(file_))
        ssRaise(SSError::Lex0102, path_, long(errno));
    return got;
}

SSLexDataConsumer::SSLexDataConsumer(const void* data, size_t size) : data_(static_cast<const char*>(data), size) {}

size_t SSLexDataConsumer::fill(unsigned char* dest, size_t max)
{
    size_t n = std::min(max, data_.size() - read_);
    std::memcpy(dest, data_.data() + read_, n);
    read_ += n;
    return n;
}
