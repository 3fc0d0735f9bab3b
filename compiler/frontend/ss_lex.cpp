// SSLex: longest match over the current expression list's automaton.
//
//   start in state 0 at the current position
//   feed characters while the state has a transition, remembering the last
//     position where the state accepted (with its line, offset and record)
//   at the end of input already     -> end of input
//   no accepting state on the way   -> error(), then skip one character
//   otherwise back up to the last accept, apply push / pop / switch, and
//     either drop the token (flag 0x40) and start again, or return it
#include "ss_lex.h"

namespace {

// Zero-length accepts (on an end-of-input transition) that may follow one
// another before the input counts as ended; guards tables whose end-of-input
// rules push lists for ever.
constexpr int kMaxEmptyAccepts = 64;

// Runs the automaton over the bytes the consumer holds already, with none of
// the per-character bookkeeping. True when it stopped inside them with an
// accept on the way: the consumer is then at the lexeme's end and record
// names the accept. False when the bytes ran out first or nothing accepted;
// the consumer has not moved and the caller scans character by character.
bool scanWindow(SSLexConsumer& in, const int32_t* direct, const SSLexTable::Accept* accepts,
                const SSLexTable::Accept*& record)
{
    size_t available = 0;
    const unsigned char* p = in.window(available);
    uint32_t state = 0;
    size_t accepted = 0, context = 0;
    bool contextSeen = false;
    const SSLexTable::Accept* found = nullptr;
    size_t i = 0;
    for (; i < available; ++i) {
        int32_t to = direct[size_t(state) * 256 + p[i]];
        if (to < 0)
            break;
        state = uint32_t(to);
        const SSLexTable::Accept& a = accepts[state];
        if (a.flags & SSLexTable::kAccept) {
            found = &a;
            accepted = i + 1;
        } else if (a.flags & SSLexTable::kTrailingContext) {
            context = i + 1;
            contextSeen = true;
        }
    }
    if (i == available || !found)
        return false;
    if (found->flags & SSLexTable::kCut)
        in.skip(accepted - 1);
    else if ((found->flags & SSLexTable::kTrailingContext) && contextSeen)
        in.skip(context);
    else
        in.skip(accepted);
    record = found;
    return true;
}

}  // namespace

SSLex::SSLex(SSLexConsumer* consumer, const SSLexTable* table) : consumer_(consumer), table_(table), lists_(8, 8)
{
    lists_.push(0);
}

const char* SSLex::tokenName(long token) const { return token == -1 ? "eof" : "SSLexTokenNotFound"; }

void SSLex::error(long line, long offset, const std::string& text)
{
    // The place is the bad character's own, not the last good lexeme's.
    try {
        ssRaise(SSError::Lex0105, line, offset, text);
    } catch (SSException& e) {
        e.setPlace(line, text);
        throw;
    }
}

SSRef<SSLexLexeme> SSLex::complete(const SSLexTable::Accept& accept, const char* text, size_t bytes, long line,
                                   long offset)
{
    return SSRef<SSLexLexeme>(new SSLexLexeme(text, bytes, long(accept.token), line, offset));
}

void SSLex::keywordHook(uint32_t, SSLexLexeme&) {}

SSRef<SSLexLexeme> SSLex::next()
{
    try {
        if (!consumer_ || !table_)
            ssRaise(SSError::Lex0107);
        SSLexConsumer& in = *consumer_;
        int emptyAccepts = 0;
        for (;;) {
            const uint32_t list = lists_.top();
            if (list >= table_->lists())
                ssRaise(SSError::Lex0104, "no list " + std::to_string(list));
            in.startLexeme();
            const SSLexMark start = in.mark();
            const SSLexTable::Accept* record = nullptr;
            // Looked up once per lexeme, not per character.
            const bool translates = table_->translates();
            const int32_t* direct = table_->directSteps(list);
            const SSLexTable::Accept* accepts = table_->accepts(list);
            if (translates || !scanWindow(in, direct, accepts, record)) {
                SSLexMark before = start, accepted = start, acceptedBefore = start, context = start;
                bool consumed = false, contextSeen = false, startsAtEnd = false;
                uint32_t state = 0;
                for (;;) {
                    before = in.mark();
                    uint32_t c = in.next();
                    if (c == SSLexConsumer::kEof && before.pos == start.pos)
                        startsAtEnd = true;
                    if (c != SSLexConsumer::kEof && translates)
                        c = table_->translate(c);
                    int32_t to = c < 256 ? direct[size_t(state) * 256 + c] : table_->step(list, state, c);
                    if (to < 0) {
                        in.reset(before);
                        break;
                    }
                    state = uint32_t(to);
                    if (c != SSLexConsumer::kEof)
                        consumed = true;
                    const SSLexTable::Accept& a = accepts[state];
                    if ((a.flags & SSLexTable::kTrailingContext) && !(a.flags & SSLexTable::kAccept)) {
                        context = in.mark();
                        contextSeen = true;
                    }
                    if (a.flags & SSLexTable::kAccept) {
                        record = &a;
                        accepted = in.mark();
                        acceptedBefore = before;
                    }
                    if (c == SSLexConsumer::kEof)
                        break;  // end of input is taken once
                }
                if (startsAtEnd && !consumed && (!record || ++emptyAccepts > kMaxEmptyAccepts))
                    return SSRef<SSLexLexeme>();
                if (!record) {
                    in.reset(start);
                    in.next();
                    std::string bad = in.lexemeText();
                    error(start.line, start.offset, bad);
                    continue;  // the first character is skipped
                }
                if (record->flags & SSLexTable::kCut)
                    in.reset(acceptedBefore);
                else if ((record->flags & SSLexTable::kTrailingContext) && contextSeen)
                    in.reset(context);
                else
                    in.reset(accepted);
            }

            if (record->flags & SSLexTable::kPop)
                lists_.pop();
            if (record->flags & SSLexTable::kPush)
                lists_.push(record->list);
            if (record->flags & SSLexTable::kIgnore)
                continue;

            SSRef<SSLexLexeme> lexeme = complete(*record, in.lexemeStart(), in.lexemeBytes(), start.line, start.offset);
            if (!lexeme)
                continue;
            if (record->flags & SSLexTable::kKeyword) {
                uint32_t token = table_->keywordToken(record->keyword, lexeme->text());
                if (token)
                    lexeme->setToken(long(token));
            }
            if (record->flags & SSLexTable::kKeywordHook)
                keywordHook(record->keyword, *lexeme);
            if (record->flags & SSLexTable::kParserToken)
                lexeme->setParserToken(long(record->parserToken));
            ++count_;
            return lexeme;
        }
    } catch (const SSException& e) {
        if (SSException::throwing())
            throw;
        SSException::record(e);
        return SSRef<SSLexLexeme>();
    }
}
