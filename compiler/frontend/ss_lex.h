// The table-driven scanner engine: lexemes, the consumers that supply
// characters, the scanner table and SSLex itself. SSLex runs one automaton
// per expression list with longest-match semantics; the automata are data
// (ss_lex_table.cpp draws their byte layout). Nothing here knows the language.
#pragma once

#include "ss_support.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A token as the scanner hands it on: text, scanner token id, parser token id
// (0: same as the scanner's), .ppo line (from 1) and offset in the line (from 0).
class SSLexLexeme : public SSRefCount {
public:
    SSLexLexeme(std::string text, long token, long line, long offset, size_t length = std::string::npos);
    // The bytes [text, text + bytes) as the text, a character each.
    SSLexLexeme(const char* text, size_t bytes, long token, long line, long offset)
        : text_(text, bytes), length_(bytes), token_(token), line_(line), offset_(offset)
    {
    }

    const std::string& text() const { return text_; }
    // Characters (a double-byte character counts once) and bytes.
    size_t length() const { return length_; }
    size_t byteLength() const { return text_.size(); }
    long token() const { return token_; }
    long parserToken() const { return parserToken_; }
    // The token the parser sees.
    long parseToken() const { return parserToken_ ? parserToken_ : token_; }
    long line() const { return line_; }
    long offset() const { return offset_; }

    void setToken(long token) { token_ = token; }
    void setParserToken(long token) { parserToken_ = token; }

private:
    std::string text_;
    size_t length_;
    long token_, parserToken_ = 0, line_, offset_;
};

// A place in the input: the absolute byte position and the line and offset there.
struct SSLexMark {
    size_t pos = 0;
    long line = 1, offset = 0;
};

// Supplies characters to the scanner from a window buffer that always holds
// the current lexeme; subclasses only fill it. The window grows by the
// increment while a lexeme outgrows it, up to the longest lexeme allowed.
class SSLexConsumer {
public:
    static constexpr uint32_t kEof = 0xFFFFFFFFu;
    static constexpr size_t kMinIncrement = 512;

    virtual ~SSLexConsumer() = default;

    // The next character value, kEof at the end of input.
    uint32_t next()
    {
        if (pos_ - base_ < end_ && !dbcs_ && pos_ - start_ < maxLexeme_) {
            unsigned char c = buffer_[pos_++ - base_];
            if (c == '\n') {
                ++line_;
                offset_ = 0;
            } else {
                ++offset_;
            }
            return c;
        }
        return nextSlow();
    }

    SSLexMark mark() const { return {pos_, line_, offset_}; }
    void reset(const SSLexMark& m)
    {
        pos_ = m.pos;
        line_ = m.line;
        offset_ = m.offset;
    }
    // Starts a lexeme at the current position.
    void startLexeme() { start_ = pos_; }
    // The bytes already read from the current position on, no more than the
    // longest lexeme allows; none in double-byte mode. The scanner runs its
    // automaton over them directly and moves on with skip().
    const unsigned char* window(size_t& available) const
    {
        size_t taken = pos_ - start_;
        if (dbcs_ || taken >= maxLexeme_) {
            available = 0;
            return nullptr;
        }
        available = std::min(end_ - (pos_ - base_), maxLexeme_ - taken);
        return buffer_.data() + (pos_ - base_);
    }
    // Moves over n bytes of the window, counting lines as next() does.
    void skip(size_t n)
    {
        const unsigned char* p = buffer_.data() + (pos_ - base_);
        for (size_t i = 0; i < n; ++i) {
            if (p[i] == '\n') {
                ++line_;
                offset_ = 0;
            } else {
                ++offset_;
            }
        }
        pos_ += n;
    }
    // The bytes from the lexeme start to the current position.
    std::string lexemeText() const { return std::string(lexemeStart(), lexemeBytes()); }
    const char* lexemeStart() const { return reinterpret_cast<const char*>(buffer_.data()) + (start_ - base_); }
    size_t lexemeBytes() const { return pos_ - start_; }

    // Minimum 512 ("SSLex0113e" below that).
    void setIncrement(size_t increment);
    void setMaxLexeme(size_t bytes) { maxLexeme_ = bytes; }
    // Double-byte mode: a lead byte (0x81-0xFE) and the byte after it form one
    // character, lead * 256 + trail.
    void setDbcs(bool on) { dbcs_ = on; }

protected:
    // Copies up to `max` further bytes of input to `dest`; 0 at the end.
    virtual size_t fill(unsigned char* dest, size_t max) = 0;

private:
    uint32_t nextSlow();
    bool refill();
    int byteAt(size_t pos);

    std::vector<unsigned char> buffer_;
    size_t base_ = 0;  // absolute position of buffer_[0]
    size_t end_ = 0;   // bytes held
    size_t start_ = 0, pos_ = 0;
    long line_ = 1, offset_ = 0;
    size_t increment_ = 4096, maxLexeme_ = 1 << 20;
    bool atEnd_ = false, dbcs_ = false;
};

// Reads a file by name through the window buffer.
class SSLexFileConsumer : public SSLexConsumer {
public:
    explicit SSLexFileConsumer(const std::string& path);
    ~SSLexFileConsumer() override;

protected:
    size_t fill(unsigned char* dest, size_t max) override;

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

// Reads bytes held in memory (copied), which may contain NULs.
class SSLexDataConsumer : public SSLexConsumer {
public:
    SSLexDataConsumer(const void* data, size_t size);

protected:
    size_t fill(unsigned char* dest, size_t max) override;

private:
    std::string data_;
    size_t read_ = 0;
};

// Reads a string in memory.
class SSLexStringConsumer : public SSLexDataConsumer {
public:
    explicit SSLexStringConsumer(const std::string& text) : SSLexDataConsumer(text.data(), text.size()) {}
};

// The scanner table: a copy of the block, checked once, with each list's rows
// also spread into a direct lookup for codes below 256.
class SSLexTable {
public:
    enum : uint32_t {
        kTrailingContext = 0x01,
        kKeyword = 0x02,
        kPop = 0x08,
        kAccept = 0x10,
        kPush = 0x20,
        kIgnore = 0x40,
        kCut = 0x80,
        kKeywordHook = 0x200,
        kParserToken = 0x400,
    };
    struct Accept {
        uint32_t token, list, flags, keyword, parserToken;
    };
    struct Keyword {
        std::string text;
        uint32_t token;
        bool anyCase;
    };

    // Throws "SSLex0104e: Invalid table, <why>" on a damaged block.
    SSLexTable(const void* block, size_t size);
    static SSLexTable fromResource(const std::string& name);  // SSLex0108e
    static SSLexTable fromFile(const std::string& path);      // SSLex0101e, SSLex0102e

    size_t lists() const { return lists_.size(); }
    size_t states(size_t list) const { return lists_[list].accepts.size(); }
    // The next state from `state` on `c`, or -1.
    int32_t step(size_t list, uint32_t state, uint32_t c) const
    {
        const List& l = lists_[list];
        if (c < 256)
            return l.direct[size_t(state) * 256 + c];
        return stepRow(l, state, c);
    }
    const Accept& accept(size_t list, uint32_t state) const { return lists_[list].accepts[state]; }
    // A list's direct steps (state * 256 + code, for codes below 256) and its
    // accept records by state, for the scanner's inner loop.
    const int32_t* directSteps(size_t list) const { return lists_[list].direct.data(); }
    const Accept* accepts(size_t list) const { return lists_[list].accepts.data(); }
    uint32_t translate(uint32_t c) const;
    bool translates() const { return !translation_.empty(); }
    // The keyword's token, or 0 when the text is not in the table;
    // "SSLex0110e" for a table index beyond the tables.
    uint32_t keywordToken(uint32_t table, const std::string& text) const;

private:
    struct List {
        size_t base = 0;  // block offset of the list
        std::vector<uint32_t> rowOffset;
        std::vector<Accept> accepts;
        std::vector<int32_t> direct;
    };

    int32_t stepRow(const List& l, uint32_t state, uint32_t c) const;
    uint32_t word(size_t offset) const;
    void load();

    std::vector<unsigned char> data_;
    std::vector<List> lists_;
    std::vector<std::pair<uint32_t, uint32_t>> translation_;
    std::vector<std::vector<Keyword>> keywords_;
};

// The scanner. Lexemes come back as handles; none at the end of input.
class SSLex {
public:
    SSLex(SSLexConsumer* consumer, const SSLexTable* table);
    virtual ~SSLex() = default;

    SSRef<SSLexLexeme> next();

    // Token id to name; the engine knows none but end of input ("eof").
    virtual const char* tokenName(long token) const;

    void setConsumer(SSLexConsumer* consumer) { consumer_ = consumer; }
    void setTable(const SSLexTable* table) { table_ = table; }
    SSLexConsumer* consumer() const { return consumer_; }
    long lexemeCount() const { return count_; }
    size_t currentList() const { return lists_.empty() ? 0 : lists_.fromTop(0); }

protected:
    // No accepting state was reached. The default raises
    // "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s"; when an override
    // returns, the first character is skipped and scanning starts again.
    virtual void error(long line, long offset, const std::string& text);
    // Builds the lexeme of an accepted token (dropped tokens never get here)
    // from its bytes in the consumer's window.
    virtual SSRef<SSLexLexeme> complete(const SSLexTable::Accept& accept, const char* text, size_t bytes, long line,
                                        long offset);
    // Keyword hook of accept flag 0x200; may change the lexeme's token.
    virtual void keywordHook(uint32_t index, SSLexLexeme& lexeme);

private:
    SSLexConsumer* consumer_;
    const SSLexTable* table_;
    SSLifo<uint32_t> lists_;
    long count_ = 0;
};
