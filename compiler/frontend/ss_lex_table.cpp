// The scanner table. Byte layout (32-bit little-endian words):
//
//   0   number of expression lists L
//   4   magic "XLSS"
//   8   number of keyword tables K
//   12  number of character-translation entries C
//   16  five reserved words
//   36  L expression lists, one after another:
//         header of 22 words: "XLSS", list size in bytes, 8 zero words,
//           states S, size again, offset of the state-offset table,
//           offset of the accept records (88), 8 zero words
//         S accept records of 7 words: token, list for push/switch, flags,
//           keyword table, parser token, 2 reserved
//         S words: offset of each state's row (from the list start)
//         rows: count N, then N triples (low, high, next state) sorted by low
//   then C pairs (from, to) of character translation
//   then K keyword tables: record count N, then N records of 41 bytes
//         (36 bytes of NUL-padded text, token word, case flag byte: 1 = the
//         record matches either case; records sorted by text)
//
// Offsets in a list are from the list's start. A code c takes the first triple
// with low <= c <= high; end of input is the code 0xFFFFFFFF.
#include "ss_lex.h"
#include "ss_resource.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

constexpr uint32_t kMagic = 'X' | 'L' << 8 | 'S' << 16 | uint32_t('S') << 24;
constexpr size_t kListHeader = 88, kAcceptRecord = 28, kKeywordRecord = 41, kKeywordText = 36;

[[noreturn]] void invalid(const std::string& why) { ssRaise(SSError::Lex0104, why); }

std::string lowered(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

SSLexTable::SSLexTable(const void* block, size_t size)
    : data_(static_cast<const unsigned char*>(block), static_cast<const unsigned char*>(block) + (block ? size : 0))
{
    load();
}

SSLexTable SSLexTable::fromResource(const std::string& name)
{
    const SSResource* r = ssFindResource(name);
    if (!r)
        ssRaise(SSError::Lex0108, name);
    return SSLexTable(r->data, r->size);
}

SSLexTable SSLexTable::fromFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        ssRaise(SSError::Lex0101, path, long(errno));
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool failed = std::ferror(f);
    std::fclose(f);
    if (failed || bytes.empty())
        ssRaise(SSError::Lex0102, path, long(bytes.size()));
    return SSLexTable(bytes.data(), bytes.size());
}

uint32_t SSLexTable::word(size_t offset) const
{
    if (offset > data_.size() || data_.size() - offset < 4)
        invalid("read beyond the block at " + std::to_string(offset));
    const unsigned char* p = data_.data() + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void SSLexTable::load()
{
    if (data_.size() < 36)
        invalid("block too short");
    if (word(4) != kMagic)
        invalid("bad magic");
    uint32_t count = word(0), keywordTables = word(8), translations = word(12);
    if (count == 0 || count > 1024)
        invalid("bad list count " + std::to_string(count));
    size_t at = 36;
    for (uint32_t i = 0; i < count; ++i) {
        List l;
        l.base = at;
        std::string where = "list " + std::to_string(i) + ": ";
        if (word(at) != kMagic)
            invalid(where + "bad magic");
        uint32_t size = word(at + 4), states = word(at + 40), stateTable = word(at + 48), acceptTable = word(at + 52);
        if (size < kListHeader || size > data_.size() - at)
            invalid(where + "bad size");
        if (states == 0 || acceptTable < kListHeader || stateTable > size || acceptTable > size ||
            (size - acceptTable) / kAcceptRecord < states || (size - stateTable) / 4 < states)
            invalid(where + "bad state count or offsets");
        l.accepts.resize(states);
        l.rowOffset.resize(states);
        l.direct.assign(size_t(states) * 256, -1);
        for (uint32_t s = 0; s < states; ++s) {
            size_t rec = at + acceptTable + size_t(s) * kAcceptRecord;
            l.accepts[s] = {word(rec), word(rec + 4), word(rec + 8), word(rec + 12), word(rec + 16)};
            if ((l.accepts[s].flags & kPush) && l.accepts[s].list >= count)
                invalid(where + "push of a missing list");
            uint32_t row = word(at + stateTable + size_t(s) * 4);
            if (row > size - 4)
                invalid(where + "row " + std::to_string(s) + " out of range");
            uint32_t n = word(at + row);
            if (n > (size - row - 4) / 12)
                invalid(where + "row " + std::to_string(s) + " too long");
            l.rowOffset[s] = row;
            uint32_t previousLow = 0;
            for (uint32_t k = n; k-- > 0;) {  // backwards, so the first matching triple wins
                size_t t = at + row + 4 + size_t(k) * 12;
                uint32_t low = word(t), high = word(t + 4), nextState = word(t + 8);
                if (nextState >= states)
                    invalid(where + "transition to a missing state");
                if (k + 1 < n && low > previousLow)
                    invalid(where + "row " + std::to_string(s) + " not sorted");
                previousLow = low;
                for (uint32_t c = low; c <= high && c < 256; ++c)
                    l.direct[size_t(s) * 256 + c] = int32_t(nextState);
            }
        }
        lists_.push_back(std::move(l));
        at += size;
    }
    for (uint32_t i = 0; i < translations; ++i, at += 8)
        translation_.emplace_back(word(at), word(at + 4));
    for (uint32_t t = 0; t < keywordTables; ++t) {
        uint32_t n = word(at);
        at += 4;
        if (n > (data_.size() - at) / kKeywordRecord)
            invalid("keyword table " + std::to_string(t) + " too long");
        std::vector<Keyword> table;
        for (uint32_t k = 0; k < n; ++k, at += kKeywordRecord) {
            const char* text = reinterpret_cast<const char*>(data_.data() + at);
            table.push_back({std::string(text, strnlen(text, kKeywordText)), word(at + kKeywordText),
                             data_[at + kKeywordText + 4] != 0});
        }
        keywords_.push_back(std::move(table));
    }
}

int32_t SSLexTable::stepRow(const List& l, uint32_t state, uint32_t c) const
{
    size_t row = l.base + l.rowOffset[state];
    uint32_t n = word(row);
    for (uint32_t k = 0; k < n; ++k) {
        size_t t = row + 4 + size_t(k) * 12;
        if (c < word(t))
            return -1;
        if (c <= word(t + 4))
            return int32_t(word(t + 8));
    }
    return -1;
}

uint32_t SSLexTable::translate(uint32_t c) const
{
    for (const auto& [from, to] : translation_)
        if (from == c)
            return to;
    return c;
}

uint32_t SSLexTable::keywordToken(uint32_t table, const std::string& text) const
{
    if (table >= keywords_.size())
        ssRaise(SSError::Lex0110, long(table));
    const std::vector<Keyword>& records = keywords_[table];
    std::string lower = lowered(text);
    size_t lo = 0, hi = records.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        const Keyword& k = records[mid];
        int cmp = k.text.compare(k.anyCase ? lower : text);
        if (cmp == 0)
            return k.token;
        if (cmp < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return 0;
}
