// Grammar actions, productions 1 to 230: statements, declarations,
// expressions and control flow. Each case names its production and builds
// the node for the left side out of the right side's nodes ($k is take(k),
// a terminal's text is text(k)). A production that prints its text builds
// nothing and lets the parse go on; one that raises rejects the source.
#include "grammar_actions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../ast/assignments.h"
#include "../ast/builtins.h"
#include "../ast/calls.h"
#include "../ast/control.h"
#include "../ast/declarations.h"
#include "../ast/function_heads.h"
#include "../ast/operators.h"
#include "../ast/program_lists.h"

namespace {

// ORDER tGrammarError
const char* const kGrammarErrors[] = {
    "Sequence not supported!",
    "Function PCount() not supported!",
    "Function DevPos() not supported!",
    "Function FLock() not supported!",
    "Function SetPos() not supported!",
    "Function RLock() not supported!",
    "Function Inkey() not supported!",
    "Macro not supported!",
    "Objects not supported!",
    "Parameters statement not supported!",
    "Declare statement not supported!",
    "Sintax not supported!",
    "Expressions and statements nested too deeply (over 2000 levels)!",  // kMaxNesting
};
static_assert(sizeof kGrammarErrors / sizeof kGrammarErrors[0] == static_cast<int>(tGrammarError::count),
              "kGrammarErrors must list every tGrammarError");

// The engines have no entry of their own for a rejected construct; it is
// carried under the reduce family's.
constexpr SSError kGrammarErrorCarrier = SSError::YaccEv0003;

}  // namespace

const char* grammarErrorText(tGrammarError error) { return kGrammarErrors[static_cast<int>(error)]; }

tGrammarException::tGrammarException(tGrammarError error)
    : SSException(kGrammarErrorCarrier, grammarErrorText(error)), grammarError_(error)
{
}

OrvicYaccStackElement::~OrvicYaccStackElement() { delete node; }

OrvicYaccClass::OrvicYaccClass(SSLex* lexer, const SSYaccTable* table) : SSYacc(lexer, table) {}

OrvicYaccClass::~OrvicYaccClass() = default;

SSYaccStackElement* OrvicYaccClass::stackElement() { return new OrvicYaccStackElement(); }

const char* OrvicYaccClass::text(int k)
{
    SSLexLexeme* lexeme = rhs(k)->lexeme();
    return lexeme ? lexeme->text().c_str() : "";
}

// The engine holds the element an action returns before it pops the right
// side, so an action may hand back one of the right side's own elements:
// that spares a new element and the freeing of an old one per reduction.
OrvicYaccStackElement* OrvicYaccClass::reusedElement(int k)
{
    OrvicYaccStackElement* element = rhs(k);
    if (element->lexeme())
        element->setLexeme(SSRef<SSLexLexeme>());
    return element;
}

SSYaccStackElement* OrvicYaccClass::nodeElement(tInstruction* node)
{
    int depth = node && !node->addsNoLevel() ? takenDepth_ + 1 : takenDepth_;
    if (depth > kMaxNesting) {
        delete node;
        raise(tGrammarError::nesting);
    }
    OrvicYaccStackElement* element;
    if (productionLength() > 0) {
        element = reusedElement(1);
        delete element->node;  // a child the production dropped
    } else {
        element = static_cast<OrvicYaccStackElement*>(stackElement());
    }
    element->node = node;
    element->depth = depth;
    return element;
}

SSYaccStackElement* OrvicYaccClass::passElement(int k)
{
    // The element keeps its node and depth; only the lexeme goes.
    return reusedElement(k);
}

SSYaccStackElement* OrvicYaccClass::emptyElement() { return nodeElement(nullptr); }

SSYaccStackElement* OrvicYaccClass::printElement(const char* productionText)
{
    std::fputs(productionText, stdout);
    return emptyElement();
}

void OrvicYaccClass::raise(tGrammarError error)
{
    tGrammarException rejected(error);
    rejected.setPlace(static_cast<long>(position_.lexemeLine), text(1));
    throw rejected;
}

SSYaccStackElement* OrvicYaccClass::streamed(int k)
{
    sink_->statement(std::unique_ptr<tInstruction>(take(k)));
    return emptyElement();
}

void OrvicYaccClass::lineDirective(const char* lineNumber)
{
    position_.directiveLine = std::strtol(lineNumber, nullptr, 10);
    position_.directiveSeen = true;
}

SSYaccStackElement* OrvicYaccClass::reduce(uint32_t production, uint32_t length)
{
    takenDepth_ = 0;
    if (length > 0)
        if (SSLexLexeme* lexeme = rhs(1)->lexeme()) {
            position_.lexemeLine = static_cast<unsigned long>(lexeme->line());
            tInstruction::setConstructionLine(static_cast<unsigned int>(position_.lexemeLine));
        }
    return production <= 230 ? languageAction(production) : builtinAction(production);
}

SSYaccStackElement* OrvicYaccClass::languageAction(uint32_t production)
{
    switch (production) {
    case 1:  // program -> sourceText
        root_.reset(new tMain(take(1)));
        return emptyElement();
    case 2:  // sourceText -> statList
        return passElement(1);
    case 3:  // statList -> statement
        if (sink_ && stackDepth() == 2)
            return streamed(1);
        return nodeElement(new tStatList(take(1)));
    case 4:  // statList -> statList statement
        if (sink_ && stackDepth() == 3)
            return streamed(2);
        return nodeElement(new tStatList(take(1), take(2)));
    case 5:  // statement -> line number STRING Eol
        lineDirective(text(2));
        return emptyElement();
    case 6:  // identifier -> identName
        return nodeElement(new tIdentName(text(1)));
    case 7:  // identifier -> local
        return printElement("identifier -> local\n");
    case 8:  // identifier -> sequence
        raise(tGrammarError::sequence);
    case 9:  // identifier -> step
        return printElement("identifier -> step\n");
    case 10:  // identifier -> if
        return printElement("identifier -> if\n");
    case 11:  // identifier -> fieldname
        return printElement("identifier -> fieldname\n");
    case 12:  // identifier -> pcount
        raise(tGrammarError::pcount);
    case 13:  // identifier -> seconds
        return printElement("identifier -> seconds \n");
    case 14:  // identifier -> devpos
        raise(tGrammarError::devpos);
    case 15:  // identifier -> flock
        raise(tGrammarError::flock);
    case 16:  // identifier -> setpos
        raise(tGrammarError::setpos);
    case 17:  // identifier -> rlock
        raise(tGrammarError::rlock);
    case 18:  // identifier -> inkey
        raise(tGrammarError::inkey);
    case 19:  // identifier -> identName macro
        raise(tGrammarError::macro);
    case 20:  // identifier -> macroNamePointIdent
        raise(tGrammarError::macro);
    case 21:  // blockStmt -> statList
        return nodeElement(new tBlockStmt(take(1)));
    case 22:  // blockStmt ->
        return nodeElement(new tInstruction());
    case 23:  // statement -> Eol
        return emptyElement();
    case 24:  // statement -> staticOpt function identifier parmDef Eol methodClauseOpt
        return nodeElement(new tFunction(take(3), take(4), take(1), 0));
    case 25:  // statement -> userOpt function identifier parmDef Eol methodClauseOpt
        return nodeElement(new tFunction(take(3), take(4), take(1), 1));
    case 26:  // statement -> staticOpt procedure identifier parmDef Eol methodClauseOpt
        return nodeElement(new tProcedure(take(3), take(4), take(1)));
    case 27:  // methodClauseOpt -> objPart ( parmList ) Eol
        raise(tGrammarError::objects);
    case 28:  // methodClauseOpt -> objPart ( ) Eol
        raise(tGrammarError::objects);
    case 29:  // methodClauseOpt ->
        return emptyElement();
    case 30:  // userOpt -> user
        return emptyElement();
    case 31:  // staticOpt -> static
        return printElement("staticOpt -> static\n");
    case 32:  // staticOpt ->
        return nodeElement(new tStaticFunc(0));
    case 33:  // parmDef -> ( identList )
        return nodeElement(new tParmDef(take(2)));
    case 34:  // parmDef -> ( )
        return nodeElement(new tParmDef(nullptr));
    case 35:  // parmDef ->
        return nodeElement(new tParmDef());
    case 36:  // statement -> parameters identList Eol
        raise(tGrammarError::parameters);
    case 37:  // identList -> identEle
        return nodeElement(new tIdentList(take(1), nullptr));
    case 38:  // identList -> identList , identEle
        return nodeElement(new tIdentList(take(3), take(1)));
    case 39:  // identEle -> identifier
        return nodeElement(new tIdentEle(take(1)));
    case 40:  // identEle ->
        return printElement("identEle ->\n");
    case 41:  // statement -> declare varDefList Eol
        raise(tGrammarError::declare);
    case 42:  // statement -> local varDefList Eol
        return nodeElement(new tLocal(take(2)));
    case 43:  // statement -> private varDefList Eol
        return nodeElement(new tPublic(take(2)));
    case 44:  // statement -> public varDefList Eol
        return nodeElement(new tPublic(take(2)));
    case 45:  // statement -> static varDefList Eol
        return nodeElement(new tStatic(take(2)));
    case 46:  // varDefList -> varDefEle
        return nodeElement(new tVarDefList(take(1), nullptr));
    case 47:  // varDefList -> varDefList , varDefEle
        return nodeElement(new tVarDefList(take(3), take(1)));
    case 48:  // varDefEle -> assignExpression
        return nodeElement(new tVarDefAssign(take(1)));
    case 49:  // varDefEle -> arrayElement
        return printElement("varDefEle -> arrayElement\n");
    case 50:  // varDefEle -> identifier
        return nodeElement(new tVarDefIdent(take(1)));
    case 51:  // varDefEle -> memVar
        return printElement("varDefEle -> memVar \n");
    case 52:  // assignExpression -> asnList logicExpr
        return nodeElement(new tAssignExpression(take(2), take(1)));
    case 53:  // asnOp -> asnTarget :=
        return nodeElement(new tAssign(take(1)));
    case 54:  // asnOp -> asnTarget +=
        return nodeElement(new tSumAssign(take(1)));
    case 55:  // asnOp -> asnTarget -=
        return nodeElement(new tSubAssign(take(1)));
    case 56:  // asnOp -> asnTarget *=
        return nodeElement(new tMulAssign(take(1)));
    case 57:  // asnOp -> asnTarget /=
        return nodeElement(new tDivAssign(take(1)));
    case 58:  // asnList -> asnOp
        return nodeElement(new tAsnList(take(1)));
    case 59:  // asnList -> asnList asnOp
        return nodeElement(new tAsnList(take(2), take(1)));
    case 60:  // asnTarget -> factor
        return passElement(1);
    case 61:  // statement -> mainExpression Eol
        return nodeElement(new tSourceLine(take(1)));
    case 62:  // mainExpression -> logicExpr
        return passElement(1);
    case 63:  // mainExpression -> assignExpression
        return passElement(1);
    case 64:  // statement -> lValue = mainExpression Eol
        return nodeElement(new tEqualExpr(take(1), take(3)));
    case 65:  // functionCall -> identifier ( parmList )
        return nodeElement(new tFunctionCall(take(1), take(3)));
    case 66:  // functionCall -> nullFunct
        return nodeElement(new tFunctionCall(take(1), nullptr));
    case 67:  // functionCall -> len ( mainExpression )
        return nodeElement(new tLen(take(3)));
    case 68:  // functionCall -> val ( mainExpression )
        return nodeElement(new tVal(take(3)));
    case 69:  // nullFunct -> identifier ( )
        return passElement(1);
    case 70:  // logicExpr -> logicExpr .or. logicExpr
        return nodeElement(new tOr(take(1), take(3)));
    case 71:  // logicExpr -> logicExpr .and. logicExpr
        return nodeElement(new tAnd(take(1), take(3)));
    case 72:  // logicExpr -> simpleExpr
        return passElement(1);
    case 73:  // simpleExpr -> simpleExpr relOp simpleExpr
        return nodeElement(new tRelation(take(1), take(2), take(3)));
    case 74:  // simpleExpr -> notOp simpleExpr
        return nodeElement(new tUnaryNot(take(2)));
    case 75:  // relOp -> =
        return nodeElement(new tEqual());
    case 76:  // relOp -> ==
        return nodeElement(new tExactEqual());
    case 77:  // relOp -> #
        return nodeElement(new tDiff());
    case 78:  // relOp -> <
        return nodeElement(new tLs());
    case 79:  // relOp -> <=
        return nodeElement(new tLse());
    case 80:  // relOp -> >
        return nodeElement(new tGt());
    case 81:  // relOp -> >=
        return nodeElement(new tGte());
    case 82:  // relOp -> InStr
        return nodeElement(new tInStr());
    case 83:  // simpleExpr -> term
        return passElement(1);
    case 84:  // simpleExpr -> unaryOp term
        return nodeElement(new tUnaryOperation(take(1), take(2)));
    case 85:  // simpleExpr -> simpleExpr addOp term
        return nodeElement(new tOperation(take(1), take(2), take(3)));
    case 86:  // addOp -> +
        return nodeElement(new tSum());
    case 87:  // addOp -> -
        return nodeElement(new tSub());
    case 88:  // unaryOp -> +
        return nodeElement(new tUnaryPlus());
    case 89:  // unaryOp -> -
        return nodeElement(new tUnaryMinus());
    case 90:  // term -> factor
        return passElement(1);
    case 91:  // term -> term mulOp factor
        return nodeElement(new tOperation(take(1), take(2), take(3)));
    case 92:  // term -> term mulOp unaryOp factor
        return nodeElement(new tOperation(take(1), take(2), new tUnaryOperation(take(3), take(4))));
    case 93:  // mulOp -> *
        return nodeElement(new tMult());
    case 94:  // mulOp -> /
        return nodeElement(new tDiv());
    case 95:  // mulOp -> %
        return nodeElement(new tMod());
    case 96:  // mulOp -> **
        return nodeElement(new tPow());
    case 97:  // memVar -> memvar identifier
        return printElement("memVar -> memvar identifier\n");
    case 98:  // memVar -> memvar macro
        return printElement("memVar -> memvar macro\n");
    case 99:  // memVar -> memvar ( mainExpression )
        return printElement("memVar -> memvar ( mainExpression )\n");
    case 100:  // aliasSelect -> lAlias AliasOp identifier
        return nodeElement(new tField(take(1), take(3)));
    case 101:  // aliasSelect -> lAlias AliasOp macro
        return printElement("aliasSelect -> lAlias AliasOp macro\n");
    case 102:  // aliasSelect -> lAlias AliasOp ( mainExpression )
        return nodeElement(new tAlias(take(1), take(4)));
    case 103:  // aliasSelect -> lAlias AliasOp ( parmList )
        return nodeElement(new tAlias(take(1), take(4)));
    case 104:  // aliasSelect -> lAlias aliasend
        // The lexeme is "->END": the field is the name after the arrow.
        return nodeElement(new tFieldEnd(take(1), text(2) + (std::strncmp(text(2), "->", 2) == 0 ? 2 : 0)));
    case 105:  // aliasSelect -> fieldSel aliasSelect
        return printElement("aliasSelect -> fieldSel aliasSelect\n");
    case 106:  // aliasSelect -> fieldSel identifier
        return printElement("aliasSelect -> fieldSel identifier\n");
    case 107:  // aliasSelect -> field aliasend
        return printElement("aliasSelect -> field aliasEnd\n");
    case 108:  // aliasSelect -> fieldSel macro
        raise(tGrammarError::macro);
    case 109:  // aliasSelect -> fieldSel ( mainExpression )
        return printElement("aliasSelect -> fieldSel ( mainExpression )\n");
    case 110:  // fieldSel -> field AliasOp
        return printElement("fieldSel -> field AliasOp\n");
    case 111:  // fieldSel -> fieldAliasOp
        return printElement("fieldSel -> fieldAliasOp\n");
    case 112:  // lAlias -> identifier
        return nodeElement(new tIdentifier(take(1)));
    case 113:  // lAlias -> macro
        return printElement("lAlias -> macro\n");
    case 114:  // lAlias -> ( mainExpression )
        return printElement("lAlias -> ( mainExpression )\n");
    case 115:  // arrayElement -> lValue [ parmList ]
        return nodeElement(new tArrayElement(take(1), take(3)));
    case 116:  // lValue -> identifier
        return nodeElement(new tIdentifier(take(1)));
    case 117:  // lValue -> arrayElement
        return passElement(1);
    case 118:  // lValue -> functionCall
        return passElement(1);
    case 119:  // lValue -> object
        return passElement(1);
    case 120:  // lValue -> objectMtd
        return passElement(1);
    case 121:  // lValue -> aliasSelect
        return passElement(1);
    case 122:  // lValue -> memVar
        return passElement(1);
    case 123:  // lValue -> arrayLiteral
        return passElement(1);
    case 124:  // lValue -> macro
        return printElement("lValue -> macro\n");
    case 125:  // lValue -> cmpMacro
        return printElement("lValue -> cmpMacro \n");
    case 126:  // macro -> macroName
        return printElement("macro -> macroName\n");
    case 127:  // macro -> macroEnd
        return printElement("macro -> macroEnd\n");
    case 128:  // macroEnd -> macroFunct mainExpression )
        return printElement("macroEnd -> macroFunct mainExpression )\n");
    case 129:  // macroEnd -> macroNamePoint
        return printElement("macroEnd -> macroNamePoint \n");
    case 130:  // cmpMacro -> factor macro
        return printElement("cmpMacro -> factor macro \n");
    case 131:  // cmpMacro -> macroEnd factor
        return printElement("cmpMacro -> macroEnd factor \n");
    case 132:  // factor -> lValue
        return passElement(1);
    case 133:  // factor -> number fract
        return nodeElement(new tConst(tConst::kNumber, text(1), text(2)));
    case 134:  // factor -> fract
        return nodeElement(new tConst(tConst::kNumber, "0", text(1)));
    case 135:  // factor -> number
        return nodeElement(new tConst(tConst::kNumber, text(1)));
    case 136:  // factor -> STRING
        return nodeElement(new tConst(tConst::kString, text(1)));
    case 137:  // factor -> NullStr
        return nodeElement(new tConst(tConst::kString, ""));
    case 138:  // factor -> factor [ parmList ]
        return printElement("factor -> factor [ parmList ] \n");
    case 139:  // factor -> @ factor
        return nodeElement(new tByRef(take(2)));
    case 140:  // factor -> .t.
        return nodeElement(new tConst(tConst::kLogical, text(1)));
    case 141:  // factor -> .f.
        return nodeElement(new tConst(tConst::kLogical, text(1)));
    case 142:  // factor -> nil
        return nodeElement(new tNil());
    case 143:  // factor -> ( parmList )
        return passElement(2);
    case 144:  // factor -> ( mainExpression )
        return passElement(2);
    case 145:  // object -> lValue objPart
        return printElement("object -> lValue ObjPart \n");
    case 146:  // objectMtd -> object ( parmList )
        return printElement("objectMtd -> object ( parmList )\n");
    case 147:  // objectMtd -> object ( )
        return printElement("objectMtd -> object ( ) \n");
    case 148:  // objectMtd -> _Super objPart ( parmList )
        return printElement("objectMtd -> _Super ObjPart ( parmList )\n");
    case 149:  // factor -> nullFunct objPart ( parmList )
        return printElement("factor -> nullFunct ObjPart ( parmList ) \n");
    case 150:  // factor -> nullFunct objPart
        return printElement("factor -> nullFunct ObjPart \n");
    case 151:  // functionCall -> if iifArgs
        return passElement(2);
    case 152:  // functionCall -> iif iifArgs
        return passElement(2);
    case 153:  // iifArgs -> ( mainExpression , iifExpr , iifExpr )
        return nodeElement(new tIif(take(2), take(4), take(6)));
    case 154:  // iifExpr -> mainExpression
        return passElement(1);
    case 155:  // iifExpr ->
        return printElement("iifExpr -> \n");
    case 156:  // incDecExpr -> ICR factor
        return nodeElement(new tPreIncrement(take(2)));
    case 157:  // incDecExpr -> factor ICR
        return nodeElement(new tPostIncrement(take(1)));
    case 158:  // incDecExpr -> DCR factor
        return nodeElement(new tPreDecrement(take(2)));
    case 159:  // incDecExpr -> factor DCR
        return nodeElement(new tPostDecrement(take(1)));
    case 160:  // statement -> return Eol
        return nodeElement(new tReturn(nullptr));
    case 161:  // statement -> return mainExpression Eol
        return nodeElement(new tReturn(take(2)));
    case 162:  // factor -> incDecExpr
        return passElement(1);
    case 163:  // arrayLiteral -> { parmList }
        return nodeElement(new tDeclArray(take(2)));
    case 164:  // arrayLiteral -> { }
        return nodeElement(new tDeclArray());
    case 165:  // notOp -> .not.
        return emptyElement();
    case 166:  // notOp -> !
        return emptyElement();
    case 167:  // parmList -> parm
        return nodeElement(new tParmList(take(1)));
    case 168:  // parmList -> parmList , parm
        return nodeElement(new tParmList(take(1), take(3)));
    case 169:  // parm -> mainExpression
        return passElement(1);
    case 170:  // parm ->
        return nodeElement(new tParmNull());
    case 171:  // statement -> while mainExpression Eol blockStmt endWhile
        return nodeElement(new tWhile(take(2), take(4)));
    case 172:  // endWhile -> end Eol
        return emptyElement();
    case 173:  // endWhile -> enddo Eol
        return emptyElement();
    case 174:  // statement -> exit Eol
        return nodeElement(new tExit());
    case 175:  // statement -> loop Eol
        return nodeElement(new tLoop());
    case 176:  // statement -> for forInit to mainExpression stepOpt Eol blockStmt endFor
        return nodeElement(new tFor(take(2), take(4), take(5), take(7)));
    case 177:  // forInit -> identifier = mainExpression
        return nodeElement(new tAssignFor(take(1), take(3)));
    case 178:  // forInit -> identifier := mainExpression
        return nodeElement(new tAssignFor(take(1), take(3)));
    case 179:  // stepOpt ->
        return nodeElement(new tConst(tConst::kNumber, "1"));
    case 180:  // stepOpt -> step mainExpression
        return passElement(2);
    case 181:  // endFor -> next Eol
        return emptyElement();
    case 182:  // endFor -> end Eol
        return emptyElement();
    case 183:  // statement -> if mainExpression Eol blockStmt elseIfOpt elseOpt endIf
        return nodeElement(new tIf(take(2), take(4), take(5), take(6)));
    case 184:  // elseIfOpt ->
        return emptyElement();
    case 185:  // elseIfOpt -> elseIfList
        return passElement(1);
    case 186:  // elseIfList -> elseIfClause
        return nodeElement(new tElseIfList(take(1), nullptr));
    case 187:  // elseIfList -> elseIfList elseIfClause
        return nodeElement(new tElseIfList(take(1), take(2)));
    case 188:  // elseIfClause -> elseif mainExpression Eol blockStmt
        return nodeElement(new tElseIf(take(2), take(4)));
    case 189:  // elseOpt ->
        return emptyElement();
    case 190:  // elseOpt -> else Eol blockStmt
        return nodeElement(new tBlockStmt(take(3)));
    case 191:  // endIf -> end Eol
        return emptyElement();
    case 192:  // endIf -> endif Eol
        return emptyElement();
    case 193:  // statement -> do case Eol caseList otherwiseOpt endCase
        return nodeElement(new tCase(take(4), take(5)));
    case 194:  // caseEntry -> case mainExpression Eol blockStmt
        return nodeElement(new tCaseEntry(take(2), take(4)));
    case 195:  // caseEntry -> Eol
        return emptyElement();
    case 196:  // caseList -> caseEntry
        return nodeElement(new tCaseList(take(1), nullptr));
    case 197:  // caseList -> caseList caseEntry
        return nodeElement(new tCaseList(take(2), take(1)));
    case 198:  // otherwiseOpt -> otherwise Eol blockStmt
        return nodeElement(new tOtherWise(take(3)));
    case 199:  // otherwiseOpt ->
        return emptyElement();
    case 200:  // endCase -> end Eol
        return emptyElement();
    case 201:  // endCase -> endcase Eol
        return emptyElement();
    case 202:  // endCase -> end case Eol
        return emptyElement();
    case 203:  // codeBlock -> { | identList | parmList }
        raise(tGrammarError::syntax);
    case 204:  // codeBlock -> { | | parmList }
        raise(tGrammarError::syntax);
    case 205:  // codeBlock -> { | identList | logicExpr }
        return nodeElement(new tValidParam(take(5), take(3)));
    case 206:  // codeBlock -> { | | logicExpr }
        return nodeElement(new tCodeBlock(take(4)));
    case 207:  // factor -> codeBlock
        return passElement(1);
    case 208:  // statement -> begin sequence Eol blockStmt recoverOpt endSeq
        return printElement("statement -> begin sequence Eol blockStmt recoverOpt endSeq\n");
    case 209:  // recoverOpt ->
        return printElement("recoverOpt ->\n");
    case 210:  // recoverOpt -> recover using identifier Eol blockStmt
        return printElement("recoverOpt -> recover using identifier Eol blockStmt\n");
    case 211:  // recoverOpt -> recover Eol blockStmt
        return printElement("recoverOpt -> recover Eol blockStmt\n");
    case 212:  // endSeq -> end Eol
        return printElement("endSeq -> end Eol \n");
    case 213:  // endSeq -> end sequence Eol
        return printElement("endSeq -> end sequence Eol\n");
    case 214:  // statement -> break Eol
        return nodeElement(new tBreak());
    case 215:  // functionCall -> break ( mainExpression )
        return printElement("functionCall -> break ( mainExpression )\n");
    case 216:  // statement -> _ObjNewClass ( identifier , parentIdentNameOpt ) Eol
        return printElement("statement -> _ObjNewClass ( identifier , parentIdentNameOpt ) Eol\n");
    case 217:  // parentIdentNameOpt ->
        return printElement("parentIdentNameOpt ->\n");
    case 218:  // parentIdentNameOpt -> identifier
        return printElement("parentIdentNameOpt -> identifier \n");
    case 219:  // statement -> _ObjClassData ( identifier , classDataTypeOpt , classDataScopeOpt , classDataValueOpt ) Eol
        return printElement(
            "statement -> _ObjClassData ( identifier , classDataTypeOpt , classDataScopeOpt , classDataValueOpt ) "
            "Eol\n");
    case 220:  // statement -> _ObjClassMethod ( identifier , parmDef , classMethodScopeOpt ) Eol
        return printElement("statement -> _ObjClassMethod ( identifier , parmDef , classMethodScopeOpt ) Eol\n");
    case 221:  // statement -> _ObjEndClass ( ) Eol
        return printElement("statement -> _ObjEndClass ( ) Eol\n");
    case 222:  // classDataTypeOpt ->
        return printElement("classDataTypeOpt ->\n");
    case 223:  // classDataTypeOpt -> identifier
        return printElement("classDataTypeOpt -> identifier\n");
    case 224:  // classDataScopeOpt ->
        return printElement("classDataScopeOpt ->\n");
    case 225:  // classDataScopeOpt -> HIDDEN
        return printElement("classDataScopeOpt -> HIDDEN\n");
    case 226:  // classDataScopeOpt -> READONLY
        return printElement("classDataScopeOpt -> READONLY\n");
    case 227:  // classDataValueOpt ->
        return printElement("classDataValueOpt ->\n");
    case 228:  // classDataValueOpt -> factor
        return printElement("classDataValueOpt -> factor\n");
    case 229:  // classMethodScopeOpt ->
        return printElement("classMethodScopeOpt ->\n");
    case 230:  // classMethodScopeOpt -> identifier
        return printElement("classMethodScopeOpt -> identifier\n");
    }
    return emptyElement();
}
