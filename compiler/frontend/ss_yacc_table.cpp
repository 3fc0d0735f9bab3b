// The parser table. Byte layout (32-bit little-endian words):
//
//   0   magic "CYSS" (0 and 1 are accepted too; with 0 the state offsets are
//       recomputed from the row sizes, rows following one another)
//   4   productions P (low 16 bits) | look-ahead sub-tables K (high 16 bits)
//   8   states S
//   12  offset of the first row
//   16  offset of the production table
//   20  S words: offset of each state's row from the table start
//   ..  P pairs: right-hand-side length, left-hand-side nonterminal n
//   ..  K words: offset of each look-ahead sub-table's row
//   rows: flags, goto count G, terminal count T, T (action, token) entries,
//         G (target state, 0x4000 + n) entries, one error entry when flag 0x02;
//         a row with flag 0x08 is 12 bytes with no entries
//
// Terminal actions: 0x40000000 shift (target in the low 27 bits), 0x20000000
// reduce (production), 0x10000000 accept, 0x08000000 resolve with look-ahead
// sub-table n; bit 31 marks a synchronising token for error recovery. End of
// input is the token 0xFFFFFFFF. A sub-table's row is keyed by the token after
// the current look-ahead (the one after that for a sub-table it leads to).
// Row flags 0x01 and 0x04 mark rows whose synchronising entries count in
// error recovery; 0x02 marks a row with an error entry.
#include "ss_yacc.h"
#include "ss_resource.h"

#include <cerrno>
#include <cstdio>
#include <limits>

namespace {

constexpr uint32_t kMagic = 'C' | 'Y' << 8 | 'S' << 16 | uint32_t('S') << 24;
constexpr uint32_t kMaxDirectToken = 4096;

[[noreturn]] void invalid(const std::string& why) { ssRaise(SSError::Yacc0111, why); }

uint32_t wordAt(const std::vector<unsigned char>& data, size_t offset)
{
    if (offset > data.size() || data.size() - offset < 4)
        invalid("read beyond the table at " + std::to_string(offset));
    const unsigned char* p = data.data() + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

SSYaccTable::SSYaccTable(const void* block, size_t size)
{
    std::vector<unsigned char> data(static_cast<const unsigned char*>(block),
                                    static_cast<const unsigned char*>(block) + (block ? size : 0));
    load(data);
}

SSYaccTable SSYaccTable::fromResource(const std::string& name)
{
    const SSResource* r = ssFindResource(name);
    if (!r)
        ssRaise(SSError::Yacc0115, name);
    return SSYaccTable(r->data, r->size);
}

SSYaccTable SSYaccTable::fromFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        ssRaise(SSError::Yacc0101, path);
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool failed = std::ferror(f);
    std::fclose(f);
    if (failed)
        invalid(path);
    return SSYaccTable(bytes.data(), bytes.size());
}

SSYaccTable::Row SSYaccTable::readRow(const std::vector<unsigned char>& data, size_t offset, size_t* end) const
{
    Row row;
    row.flags = wordAt(data, offset);
    if (row.flags & kRowEmpty) {
        *end = offset + 12;
        return row;
    }
    uint32_t g = wordAt(data, offset + 4), t = wordAt(data, offset + 8);
    size_t entries = size_t(g) + t + ((row.flags & kRowError) ? 1 : 0);
    if (entries > (data.size() - offset) / 8)
        invalid("row at " + std::to_string(offset) + " runs past the end");
    size_t at = offset + 12;
    for (uint32_t k = 0; k < t; ++k, at += 8)
        row.terminals.push_back({wordAt(data, at), wordAt(data, at + 4)});
    for (uint32_t k = 0; k < g; ++k, at += 8) {
        Entry e{wordAt(data, at), wordAt(data, at + 4)};
        if (e.symbol < kNonterminal || e.symbol - kNonterminal >= 0x10000)
            invalid("goto on a bad symbol " + std::to_string(e.symbol));
        row.gotos.push_back(e);
    }
    if (row.flags & kRowError) {
        row.hasError = true;
        row.error = {wordAt(data, at), wordAt(data, at + 4)};
        at += 8;
    }
    *end = at;
    return row;
}

void SSYaccTable::load(const std::vector<unsigned char>& data)
{
    if (data.size() < 20)
        invalid("table too short");
    uint32_t magic = wordAt(data, 0);
    if (magic != kMagic && magic != 0 && magic != 1)
        invalid("bad magic");
    uint32_t counts = wordAt(data, 4), states = wordAt(data, 8);
    uint32_t firstRow = wordAt(data, 12), productionTable = wordAt(data, 16);
    uint32_t productions = counts & 0xFFFF, subTables = counts >> 16;
    uint64_t header = 20 + 4 * uint64_t(states);
    uint64_t productionEnd = uint64_t(productionTable) + 8 * uint64_t(productions) + 4 * uint64_t(subTables);
    if (header > std::numeric_limits<uint32_t>::max() || productionEnd > std::numeric_limits<uint32_t>::max() ||
        header > data.size() || productionEnd > data.size())
        ssRaise(SSError::Yacc0112);
    if (states == 0 || productions == 0)
        invalid("no states or productions");

    for (uint32_t p = 0; p < productions; ++p)
        productions_.emplace_back(wordAt(data, productionTable + 8 * size_t(p)),
                                  wordAt(data, productionTable + 8 * size_t(p) + 4));
    size_t next = firstRow;
    for (uint32_t s = 0; s < states; ++s) {
        size_t offset = magic == 0 ? next : wordAt(data, 20 + 4 * size_t(s));
        rows_.push_back(readRow(data, offset, &next));
    }
    for (uint32_t k = 0; k < subTables; ++k) {
        size_t end = 0;
        lookahead_.push_back(readRow(data, wordAt(data, productionTable + 8 * size_t(productions) + 4 * k), &end));
    }

    // Direct lookups, unless a token id is too large for them.
    uint32_t maxToken = 0, maxNonterminal = 0;
    for (const Row& r : rows_) {
        for (const Entry& e : r.terminals)
            if (e.symbol != kEofSymbol)
                maxToken = std::max(maxToken, e.symbol);
        for (const Entry& e : r.gotos)
            maxNonterminal = std::max(maxNonterminal, e.symbol - kNonterminal);
    }
    for (uint32_t p = 0; p < productions; ++p) {
        if (productions_[p].second >= 0x10000)
            invalid("production " + std::to_string(p) + " has a bad left side");
        maxNonterminal = std::max(maxNonterminal, productions_[p].second);
    }
    nonterminals_ = maxNonterminal + 1;
    gotoTarget_.assign(size_t(states) * nonterminals_, 0);
    for (uint32_t s = 0; s < states; ++s)
        for (auto e = rows_[s].gotos.rbegin(); e != rows_[s].gotos.rend(); ++e) {
            if (e->action >= states)
                invalid("goto to a missing state in state " + std::to_string(s));
            gotoTarget_[size_t(s) * nonterminals_ + (e->symbol - kNonterminal)] = int32_t(e->action) + 1;
        }
    bool zeroAction = false;
    for (const Row& r : rows_)
        for (const Entry& e : r.terminals)
            zeroAction |= e.action == 0;
    if (maxToken < kMaxDirectToken && !zeroAction) {
        columns_ = maxToken + 2;  // the last column is end of input
        terminalAction_.assign(size_t(states) * columns_, 0);
        for (uint32_t s = 0; s < states; ++s) {
            const std::vector<Entry>& t = rows_[s].terminals;
            for (size_t k = t.size(); k-- > 0;) {  // backwards, so the first entry wins
                uint32_t column = t[k].symbol == kEofSymbol ? columns_ - 1 : t[k].symbol;
                terminalAction_[size_t(s) * columns_ + column] = t[k].action;
            }
        }
    }
}

void SSYaccTable::badState(uint32_t state) { ssRaise(SSError::Yacc0114, long(state)); }

const SSYaccTable::Row& SSYaccTable::lookaheadTable(uint32_t index) const
{
    if (index >= lookahead_.size())
        ssRaise(SSError::Yacc0102);
    return lookahead_[index];
}

uint32_t SSYaccTable::searchAction(const Row& r, uint32_t token, bool& found)
{
    for (const Entry& e : r.terminals)
        if (e.symbol == token) {
            found = true;
            return e.action;
        }
    found = false;
    return 0;
}
