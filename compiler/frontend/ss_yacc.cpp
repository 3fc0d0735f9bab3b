// SSYacc: the parse loop and the default error recovery.
//
//   look-up (state, token) -> shift:  push the shift hook's element in the
//                                      target state, read the next look-ahead
//                          -> reduce: reduce(p, n), pop n, push the result in
//                                      goto(top, lhs); same look-ahead again
//                          -> accept: done
//                          -> look-ahead: a sub-table decides between the two
//                          -> none:   error(state, look-ahead)
#include "ss_yacc.h"

namespace {

constexpr long kEofToken = -1;
constexpr long kErrorToken = -2;

}  // namespace

SSYacc::SSYacc(SSLex* lex, const SSYaccTable* table) : lex_(lex), table_(table), stack_(64, 64) {}

SSYacc::~SSYacc()
{
    while (!stack_.empty())
        stack_.pop()->refDec();
}

void* SSYacc::currentValue() { return stack_.empty() ? nullptr : stack_.top()->value(); }

SSRef<SSLexLexeme> SSYacc::nextLexeme() { return lex_->next(); }

SSYaccStackElement* SSYacc::stackElement() { return new SSYaccStackElement; }

SSYaccStackElement* SSYacc::shift(SSLexLexeme& lexeme)
{
    SSYaccStackElement* e = stackElement();
    e->setLexeme(SSRef<SSLexLexeme>(&lexeme));
    return e;
}

int SSYacc::lookaheadHook(SSLexLexeme&) { return 0; }

int SSYacc::error(uint32_t, SSLexLexeme&)
{
    recover();
    return 0;
}

SSYaccStackElement* SSYacc::reduce(uint32_t, uint32_t) { ssRaise(SSError::YaccEv0003); }

int SSYacc::lookaheadFailure() { return error(state_, *lookahead_); }

void SSYacc::badProductionElement(long k) { ssRaise(SSError::Yacc0108, k); }

SSYaccStackElement* SSYacc::elementAt(size_t depth) const
{
    if (depth >= stack_.size())
        ssRaise(SSError::Yacc0116);
    return stack_.fromTop(depth);
}

void SSYacc::pushGrowing(SSYaccStackElement* element)
{
    element->refInc();
    try {
        stack_.push(element);
    } catch (...) {
        element->refDec();
        throw;
    }
}

void SSYacc::popElements(uint32_t n)
{
    for (uint32_t i = 0; i < n; ++i)
        stack_.pop()->refDec();
}

// The next lexeme from the cache, else from the scanner; the end-of-input
// lexeme once the scanner has none. Reading past that is an error.
SSRef<SSLexLexeme> SSYacc::readLexeme()
{
    if (!cache_.empty()) {
        SSRef<SSLexLexeme> l = cache_.front();
        cache_.erase(cache_.begin());
        if (l.get() == eofLexeme_.get())
            endFlag_ = true;
        return l;
    }
    if (endFlag_)
        ssRaise(SSError::Yacc0103);
    SSRef<SSLexLexeme> l = nextLexeme();
    if (!l) {
        endFlag_ = true;
        return endLexeme();
    }
    if (l->parseToken() < 0)
        ssRaise(SSError::YaccEv0001, l->parseToken());
    return l;
}

// The end-of-input lexeme, made once, on the last line the scanner reached.
SSRef<SSLexLexeme> SSYacc::endLexeme()
{
    if (!eofLexeme_) {
        long line = lex_->consumer() ? lex_->consumer()->mark().line : 0;
        eofLexeme_ = SSRef<SSLexLexeme>(new SSLexLexeme("eof", kEofToken, line, 0));
    }
    return eofLexeme_;
}

bool SSYacc::advance()
{
    lookahead_ = readLexeme();
    return lookaheadHook(*lookahead_) == 0;
}

// The lexeme `depth` places after the look-ahead (0: the next one).
SSLexLexeme* SSYacc::peek(size_t depth)
{
    while (cache_.size() <= depth) {
        if (!cache_.empty() && cache_.back().get() == eofLexeme_.get())
            return eofLexeme_.get();
        if (endFlag_ && cache_.empty())
            return endLexeme().get();
        SSRef<SSLexLexeme> l = nextLexeme();
        if (l && l->parseToken() < 0)
            ssRaise(SSError::YaccEv0001, l->parseToken());
        cache_.push_back(l ? l : endLexeme());
    }
    return cache_[depth].get();
}

inline void SSYacc::decode(uint32_t action)
{
    if (action & SSYaccTable::kShift) {
        action_ = kShiftAction;
        target_ = action & SSYaccTable::kTargetMask;
    } else if (action & SSYaccTable::kReduce) {
        action_ = kReduceAction;
        production_ = action & SSYaccTable::kTargetMask;
        if (production_ >= table_->productions())
            ssRaise(SSError::Yacc0102);
        const std::pair<uint32_t, uint32_t>& shape = table_->productionShape(production_);
        productionLength_ = shape.first;
        productionLhs_ = shape.second;
    } else if (action & SSYaccTable::kAccept) {
        action_ = kAcceptAction;
    } else if (action & SSYaccTable::kLookahead) {
        action_ = kLookaheadAction;
        target_ = action & SSYaccTable::kTargetMask;
    } else {
        ssRaise(SSError::Yacc0102);
    }
}

inline void SSYacc::lookUp()
{
    bool found = false;
    uint32_t action = table_->action(state_, symbolOf(*lookahead_), found);
    if (!found) {
        action_ = kErrorAction;
        return;
    }
    decode(action);
}

// Walks the sub-tables over the lexemes after the look-ahead until one names
// a shift or a reduce. False when none does.
bool SSYacc::resolveLookahead(uint32_t subTable)
{
    for (size_t depth = 0;; ++depth) {
        const SSYaccTable::Row& row = table_->lookaheadTable(subTable);
        uint32_t token = symbolOf(*peek(depth));
        const SSYaccTable::Entry* hit = nullptr;
        for (const SSYaccTable::Entry& e : row.terminals)
            if (e.symbol == token) {
                hit = &e;
                break;
            }
        if (!hit)
            return false;
        decode(hit->action);
        if (action_ != kLookaheadAction)
            return action_ == kShiftAction || action_ == kReduceAction;
        subTable = target_;
    }
}

int SSYacc::parse()
{
    try {
        if (!table_)
            ssRaise(SSError::Yacc0109);
        if (!lex_)
            ssRaise(SSError::Yacc0110);
        if (broken_)
            ssRaise(SSError::Yacc0113);
        if (accepted_)
            ssRaise(SSError::YaccEv0002);
        broken_ = true;  // until the parse ends normally
        SSYaccStackElement* bottom = stackElement();
        bottom->setState(0);
        push(bottom);
        state_ = 0;
        if (!advance())
            return broken_ = false, 1;
        lookUp();
        for (;;) {
            switch (action_) {
            case kShiftAction: {
                SSYaccStackElement* e = shift(*lookahead_);
                e->setState(target_);
                push(e);
                state_ = target_;
                if (!advance())
                    return broken_ = false, 1;
                ++tokensSinceError_;
                lookUp();
                break;
            }
            case kReduceAction: {
                if (productionLength_ >= stack_.size())
                    ssRaise(SSError::Yacc0102);
                SSYaccStackElement* e = reduce(production_, productionLength_);
                if (!e)
                    e = stackElement();
                SSRef<SSYaccStackElement> hold(e);
                popElements(productionLength_);
                int64_t to = table_->gotoState(stack_.top()->state(), productionLhs_);
                if (to < 0)
                    ssRaise(SSError::Yacc0107, long(productionLhs_));
                e->setState(uint32_t(to));
                push(e);
                state_ = uint32_t(to);
                lookUp();
                break;
            }
            case kAcceptAction:
                accepted_ = true;
                broken_ = false;
                return errorFlag_ ? 1 : 0;
            case kLookaheadAction:
                if (!resolveLookahead(target_)) {
                    errorFlag_ = true;
                    if (lookaheadFailure())
                        return broken_ = false, 1;
                    lookUp();
                }
                break;
            case kErrorAction:
                errorFlag_ = true;
                if (error(state_, *lookahead_))
                    return broken_ = false, 1;
                lookUp();
                break;
            default: ssRaise(SSError::Yacc0102);
            }
        }
    } catch (SSException& e) {
        if (!e.hasPlace() && lookahead_)
            e.setPlace(lookahead_->line(), lookahead_->text());
        if (SSException::throwing())
            throw;
        SSException::record(e);
        return 1;
    }
}

// Default error recovery:
//   1. gather the tokens that can resume the parse: the synchronising entries
//      of marked rows on the stack, and every terminal of the state that an
//      error entry leads to;
//   2. none: "SSYacc0105e";
//   3. discard look-aheads until one of them ("SSYacc0106e" at end of input);
//   4. pop to the nearest state with an error entry and push the error token
//      ("%error", token -2) in the state it names.
void SSYacc::recover()
{
    SSSetArray valid(size_t(table_->states()) + 4096);
    for (size_t d = 0; d < stack_.size(); ++d) {
        const SSYaccTable::Row& row = table_->row(stack_.fromTop(d)->state());
        if (row.flags & (SSYaccTable::kRowSync | SSYaccTable::kRowSync2))
            for (const SSYaccTable::Entry& e : row.terminals)
                if (e.action & SSYaccTable::kSync)
                    valid.insert(e.symbol);
        if (row.hasError)
            for (const SSYaccTable::Entry& e : table_->row(row.error.action & SSYaccTable::kTargetMask).terminals)
                valid.insert(e.symbol);
    }
    if (valid.empty())
        ssRaise(SSError::Yacc0105);
    while (!valid.contains(symbolOf(*lookahead_))) {
        try {
            if (!advance())
                ssRaise(SSError::Yacc0106);
        } catch (const SSException& e) {
            if (e.error() != SSError::Yacc0103)
                throw;
            ssRaise(SSError::Yacc0106);
        }
    }
    while (stack_.size() > 1 && !table_->row(stack_.top()->state()).hasError)
        popElements(1);
    const SSYaccTable::Row& row = table_->row(stack_.top()->state());
    if (!row.hasError)
        ssRaise(SSError::Yacc0105);
    SSYaccStackElement* e = stackElement();
    e->setLexeme(SSRef<SSLexLexeme>(new SSLexLexeme("%error", kErrorToken, lookahead_->line(), lookahead_->offset())));
    e->setState(row.error.action & SSYaccTable::kTargetMask);
    push(e);
    state_ = e->state();
    tokensSinceError_ = 0;
}
