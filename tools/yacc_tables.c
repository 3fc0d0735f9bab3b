/* Parser table generator: decompresses the LALR(1) automaton that bison built
   from compiler/frontend/grammar.y (compiled in below) and writes it in the
   engine's byte layout ("CYSS"):

     0   magic "CYSS"
     4   productions P (low 16 bits) | look-ahead sub-tables (high 16 bits, 0)
     8   states S
     12  offset of the first row
     16  offset of the production table
     20  S words: offset of each state's row
     ..  P pairs (right-hand-side length, left-hand-side nonterminal n)
     ..  rows: flags, goto count G, terminal count T, T (action, token) pairs,
         G (target, 0x4000 + n) pairs

   Every terminal with an action gets its own entry (the grammar is built with
   default reductions only in the accepting state), so a token without an
   entry is a syntax error at once. Bison shifts end of input into a final
   state and accepts there; here the shift itself is the accept action, and
   the final state keeps an empty row. Gotos are stored only where a reduction
   can actually return to the state, found as a fixed point over the automaton.

   Usage: yacc_tables <output file> */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int yylex(void);
void yyerror(const char* message);

#include "grammar_bison.c"

int yylex(void) { return 0; }
void yyerror(const char* message) { (void)message; }

enum {
    kShift = 0x40000000,
    kReduce = 0x20000000,
    kAccept = 0x10000000,
    kNonterminalBase = 0x4000,
    kEofToken = -1,
};

/* Bison symbol kind of a terminal -> our token id; 0 for bison's own. */
static long tokenOf[YYNTOKENS];

/* Decompressed action of (state, terminal symbol). */
typedef struct {
    int kind; /* 0 none, 1 shift, 2 reduce */
    int value;
} Action;

static Action actionAt(int state, int symbol) {
    Action a = {0, 0};
    int n = yypact[state];
    if (!yypact_value_is_default(n)) {
        int i = n + symbol;
        if (i >= 0 && i <= YYLAST && yycheck[i] == symbol) {
            int t = yytable[i];
            if (yytable_value_is_error(t) || t == 0) return a;
            if (t > 0) {
                a.kind = 1;
                a.value = t;
            } else {
                a.kind = 2;
                a.value = -t - 1;
            }
            return a;
        }
    }
    if (yydefact[state] != 0) {
        a.kind = 2;
        a.value = yydefact[state] - 1;
    }
    return a;
}

static int gotoAt(int state, int nonterminal) {
    int i = yypgoto[nonterminal] + state;
    if (i >= 0 && i <= YYLAST && yycheck[i] == state) return yytable[i];
    return yydefgoto[nonterminal];
}

/* Predecessor lists of the automaton as known so far. */
static int* predCount;
static int** preds;

static int addEdge(int from, int to) {
    for (int k = 0; k < predCount[to]; ++k)
        if (preds[to][k] == from) return 0;
    preds[to] = realloc(preds[to], sizeof(int) * (size_t)(predCount[to] + 1));
    if (!preds[to]) {
        perror("yacc_tables");
        exit(2);
    }
    preds[to][predCount[to]++] = from;
    return 1;
}

static unsigned char* hasGoto; /* [state * YYNNTS + nonterminal] */

/* Marks in `mark` every state that a path of `depth` transitions leads from
   to `state`; returns through the caller's scratch arrays. */
static void ancestors(int state, int depth, unsigned char* mark, int* frontier, int* next) {
    int n = 1;
    frontier[0] = state;
    memset(mark, 0, YYNSTATES);
    for (int d = 0; d < depth; ++d) {
        int m = 0;
        memset(mark, 0, YYNSTATES);
        for (int k = 0; k < n; ++k)
            for (int j = 0; j < predCount[frontier[k]]; ++j) {
                int p = preds[frontier[k]][j];
                if (!mark[p]) {
                    mark[p] = 1;
                    next[m++] = p;
                }
            }
        memcpy(frontier, next, sizeof(int) * (size_t)m);
        n = m;
    }
    memset(mark, 0, YYNSTATES);
    for (int k = 0; k < n; ++k) mark[frontier[k]] = 1;
}

static void findGotos(void) {
    preds = calloc(YYNSTATES, sizeof(int*));
    predCount = calloc(YYNSTATES, sizeof(int));
    hasGoto = calloc((size_t)YYNSTATES * YYNNTS, 1);
    unsigned char* mark = malloc(YYNSTATES);
    int* frontier = malloc(sizeof(int) * YYNSTATES);
    int* next = malloc(sizeof(int) * YYNSTATES);
    if (!preds || !predCount || !hasGoto || !mark || !frontier || !next) {
        perror("yacc_tables");
        exit(2);
    }
    for (int s = 0; s < YYNSTATES; ++s)
        for (int t = 0; t < YYNTOKENS; ++t) {
            Action a = actionAt(s, t);
            if (a.kind == 1) addEdge(s, a.value);
        }
    /* The (state, production) pairs that reduce, each once. */
    unsigned char* reduces = calloc((size_t)YYNSTATES * YYNRULES, 1);
    if (!reduces) {
        perror("yacc_tables");
        exit(2);
    }
    for (int s = 0; s < YYNSTATES; ++s)
        for (int t = 0; t < YYNTOKENS; ++t) {
            Action a = actionAt(s, t);
            if (a.kind == 2) reduces[s * YYNRULES + a.value] = 1;
        }
    for (int changed = 1; changed;) {
        changed = 0;
        for (int s = 0; s < YYNSTATES; ++s)
            for (int r = 1; r < YYNRULES; ++r) {
                if (!reduces[s * YYNRULES + r]) continue;
                int lhs = yyr1[r + 1] - YYNTOKENS;
                ancestors(s, yyr2[r + 1], mark, frontier, next);
                for (int p = 0; p < YYNSTATES; ++p) {
                    if (!mark[p] || hasGoto[p * YYNNTS + lhs]) continue;
                    hasGoto[p * YYNNTS + lhs] = 1;
                    addEdge(p, gotoAt(p, lhs));
                    changed = 1;
                }
            }
    }
    free(reduces);
    free(mark);
    free(frontier);
    free(next);
}

/* Growable little-endian word buffer. */
static unsigned* words;
static size_t wordCount, wordCap;

static void put(unsigned w) {
    if (wordCount == wordCap) {
        wordCap = wordCap ? wordCap * 2 : 65536;
        words = realloc(words, wordCap * sizeof *words);
        if (!words) {
            perror("yacc_tables");
            exit(2);
        }
    }
    words[wordCount++] = w;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: yacc_tables <output file>\n");
        return 2;
    }
    for (int user = 0; user <= YYMAXUTOK; ++user) {
        int sym = yytranslate[user];
        if (sym > YYSYMBOL_YYUNDEF) tokenOf[sym] = user;
    }
    tokenOf[YYSYMBOL_YYEOF] = kEofToken;

    int acceptState = -1;
    for (int s = 0; s < YYNSTATES; ++s) {
        Action a = actionAt(s, YYSYMBOL_YYEOF);
        if (a.kind == 1 && a.value == YYFINAL) acceptState = s;
        if (yydefact[s] != 0 && s != YYFINAL)
            fprintf(stderr, "yacc_tables: warning: state %d has a default reduction\n", s);
    }
    if (acceptState < 0) {
        fprintf(stderr, "yacc_tables: no state accepts on end of input\n");
        return 2;
    }
    findGotos();

    const unsigned productions = YYNRULES, states = YYNSTATES;
    const unsigned productionOffset = 20 + 4 * states;
    const unsigned firstRow = productionOffset + 8 * productions;
    put(0x53535943u); /* "CYSS" read as a little-endian word */
    put(productions);
    put(states);
    put(firstRow);
    put(productionOffset);
    size_t stateTable = wordCount;
    for (unsigned s = 0; s < states; ++s) put(0);
    for (unsigned r = 0; r < productions; ++r) {
        put((unsigned)yyr2[r + 1]);
        put((unsigned)(yyr1[r + 1] - YYNTOKENS));
    }
    unsigned shifts = 0, reduces = 0, gotos = 0;
    for (unsigned s = 0; s < states; ++s) {
        words[stateTable + s] = (unsigned)(wordCount * 4);
        size_t header = wordCount;
        put(0);
        put(0);
        put(0);
        unsigned t = 0, g = 0;
        /* Terminals in token-id order, end of input last. */
        for (int pass = 0; pass < 2; ++pass)
            for (int user = 0; user <= YYMAXUTOK + 1; ++user) {
                int sym = pass == 0 ? (user <= YYMAXUTOK ? yytranslate[user] : -1) : YYSYMBOL_YYEOF;
                if (pass == 0 && (sym <= YYSYMBOL_YYUNDEF || tokenOf[sym] != user)) continue;
                if (pass == 1 && user > 0) break;
                if ((int)s == YYFINAL) continue;
                Action a = actionAt((int)s, sym);
                if (a.kind == 0) continue;
                unsigned action;
                if ((int)s == acceptState && sym == YYSYMBOL_YYEOF)
                    action = kAccept;
                else if (a.kind == 1) {
                    action = kShift | (unsigned)a.value;
                    ++shifts;
                } else {
                    action = kReduce | (unsigned)a.value;
                    ++reduces;
                }
                put(action);
                put((unsigned)tokenOf[sym]);
                ++t;
            }
        for (int n = 0; n < YYNNTS; ++n) {
            if (!hasGoto[s * YYNNTS + n]) continue;
            put((unsigned)gotoAt((int)s, n));
            put(kNonterminalBase + (unsigned)n);
            ++g;
        }
        words[header] = (t == 0 && g == 0) ? 0x08u : 0u;
        words[header + 1] = g;
        words[header + 2] = t;
        gotos += g;
    }

    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 2;
    }
    for (size_t i = 0; i < wordCount; ++i) {
        unsigned char b[4] = {(unsigned char)words[i], (unsigned char)(words[i] >> 8), (unsigned char)(words[i] >> 16),
                              (unsigned char)(words[i] >> 24)};
        fwrite(b, 1, 4, out);
    }
    if (fclose(out) != 0) {
        perror(argv[1]);
        return 2;
    }
    printf("yacc_tables: %u states, %u productions, %u shift, %u reduce, %u goto entries, %zu bytes\n", states,
           productions, shifts, reduces, gotos, wordCount * 4);
    return 0;
}
