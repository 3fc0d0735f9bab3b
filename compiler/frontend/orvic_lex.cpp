// OrvicLexClass and the built-in tables.
#include "orvic_lex.h"

namespace {

constexpr long kFirstNamed = 51;

// Token names by id from 51 (ORDER token ids). Dropped tokens, the unused
// 159, synclog, syncdata, syncdate and the built-ins from 390 have no name.
// clang-format off
const char* const kTokenNames[] = {
    /*  51 */ nullptr, nullptr, nullptr, nullptr, nullptr, "NullStr", "Eol", "AliasOp", "InStr",
    /*  60 */ ">", ">=", "<", "<=", "=", "==", ",", "#", "+", "ICR", "DCR", "-", "/", "*", "%",
    /*  75 */ "**", ".or.", ".and.", ".not.", ".t.", ".f.", "!", "(", ")", "[", "]", "{", "}",
    /*  88 */ ":=", "+=", "-=", "*=", "/=", ".", "|", "@", "objPart", "number", "fract",
    /*  99 */ "identName", "macroName", "macroNamePoint", "macroNamePointIdent", "macroFunct",
    /* 104 */ "memvar", "announce", "begin", "sequence", "break", "recover", "using", "declare",
    /* 112 */ "do", "with", "case", "endcase", "otherwise", "while", "exit", "loop", "end",
    /* 121 */ "enddo", "procedure", "fieldAliasOp", "field", "aliasend", "local", "private",
    /* 128 */ "public", "return", "extern", "in", "for", "to", "next", "step", "function",
    /* 137 */ "parameters", "static", "user", "if", "iif", "else", "elseif", "endif", "nil",
    /* 146 */ "#command", "#xcommand", "#translate", "#xtranslate", "#include", "#define",
    /* 152 */ "#error", "#ifdef", "#ifndef", "#else", "#endif", "#stdout", "#undef", nullptr,
    /* 160 */ "line", "_ObjNewClass", "_ObjClassData", "_ObjClassMethod", "_ObjEndClass", "_Super",
    /* 166 */ "HIDDEN", "READONLY", "aadd", "abs", "aclone", "acopy", "adel", "aeval", "afill",
    /* 175 */ "ains", "alert", "alias", "array", "asc", "asize", "asort", "at", "rat", "cdow",
    /* 185 */ "dow", "cmonth", "ctod", "date", "dtoc", "dtos", "devpos", "devout", "empty",
    /* 194 */ "elaptime", "fcount", "fieldname", "file", "flock", "found", "inkey", "len", "lower",
    /* 203 */ "ltrim", "month", "pcount", "replicate", "rlock", "round", "rtrim", "seconds",
    /* 211 */ "select", "set", "setpos", "space", "str", "strzero", "substr", "time", "transform",
    /* 220 */ "type", "upper", "val", "valtype", "setcentury", "dbappend", "dbcreate",
    /* 227 */ "dbgobottom", "dbgotop", "dbusearea", "dbselectarea", "eof", "bof", "dbskip",
    /* 234 */ "reccount", "recno", "lastrec", "dbcloseall", "dbclosearea", "dbgoto",
    /* 240 */ "dbcreateindex", "dbsetindex", "dbsetorder", "dbseek", "ferase", "dlgcreate",
    /* 246 */ "dlgactivate", "addmenubar", "addmenuitem", "setvldparam", "closedialog", "say",
    /* 252 */ "get", "button", "checkbox", "listbos", "combobox", "alltrim", "dbclearindex",
    /* 259 */ "indexord", "dbcommit", "dbcommitall", "indexkey", "used", "dbdelete", "dbrecall",
    /* 266 */ "deleted", "dbstruct", "dbpack", "dbzap", "newfolder", "setfolder", "box",
    /* 273 */ "msgalert", "msgstop", "msgyesorno", "year", "day", "int", "chr", "max", "min",
    /* 282 */ "showcontrol", "hidecontrol", "enablecontrol", "disablecontrol", "settext",
    /* 287 */ "setarray", "fieldget", "fieldput", "fieldpos", "browse", "meter", "setmeter",
    /* 294 */ "sqrt", "keyboard", "selectdate", "getsignature", "showsignature", "delsignature",
    /* 300 */ "validcpf", "validcgc", "grid", "gridarray", "gridcolumn", "gridreset", "gridsetrow",
    /* 307 */ "gridrow", "gricol", "gridrows", "gridleft", "gridright", "msgstatus", "clearstatus",
    /* 314 */ "getlistrows", "isdirty", "setdiry", "sortarray", "scanarray", "prow", "pcol",
    /* 321 */ "setpfont", "loadprint", "unloadprint", "isprinton", "printsay", "printsetfont",
    /* 327 */ "setfocus", "gridcellcolor", "connecteserver", "disconnecteserver", "rpcgeneric",
    /* 332 */ "rpcmarhold", "dosync", "dbgrid", "dbcolumn", "dbgridsearch", "getsetonchange",
    /* 338 */ "setobjcolor", "calldll", "expfunct", "pad", "padr", "padl", "reindex",
    /* 345 */ "movecontrol", "resizecontrol", "getobjpos", "getobjsize", "newbitmap", "showbitmap",
    /* 351 */ "setlistrow", "existblock", "execblock", "eval", "getrtver", "setrasparams",
    /* 357 */ "registerarray", "restorearray", "registerexit", "getspace", "execdumparray",
    /* 362 */ "isalpha", "isdigit", "strtran", "fieldlen", "fielddeclen", "fieldtype", "rpcquery",
    /* 369 */ "rpcxml", "rpcselect", "getconnection", "synccfg", nullptr, nullptr, nullptr,
    /* 376 */ "addtimer", "killtimer", "activatetimer", "suspendtimer", "fonetizar", "right",
    /* 382 */ "left", "setbatch", "getgeometry", "setgeometry", "showsip", "getpictsize",
    /* 388 */ "getlastfld", "getserial", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 396 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 405 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 414 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 423 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 432 */ nullptr, nullptr, nullptr, nullptr, "STRING",
};
// clang-format on

constexpr long kLastNamed = kFirstNamed + long(sizeof kTokenNames / sizeof kTokenNames[0]) - 1;
static_assert(kLastNamed == kTokenString, "the name table ends at STRING");

}  // namespace

OrvicLexClass::OrvicLexClass(SSLexConsumer* consumer) : SSLex(consumer, &zeltaLexTable()) {}

const char* OrvicLexClass::tokenName(long token) const
{
    if (token == kTokenEof)
        return "eof";
    if (token < kFirstNamed || token > kLastNamed || !kTokenNames[token - kFirstNamed])
        return "SSLexTokenNotFound";
    return kTokenNames[token - kFirstNamed];
}

const SSLexTable& zeltaLexTable()
{
    static const SSLexTable table = SSLexTable::fromResource("ZELTA_DFA");
    return table;
}

const SSYaccTable& zeltaYaccTable()
{
    static const SSYaccTable table = SSYaccTable::fromResource("ZELTA_LLR");
    return table;
}
