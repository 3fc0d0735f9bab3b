// Error texts in three languages, named functions, the evaluator, console
// formatting, and a fatal error seen from outside: report and exit status.
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core_fixture.h"
#include "messages.h"
#include "zeltaeval.h"
#include "zeltamisc.h"
#include "zeltaobjs2.h"
#include "zeltautil.h"

using ErrorsTest = CoreTest;

TEST_F(ErrorsTest, GetErrorAndAuxiliaryMessages) {
  char text[2100];
  GetError(text, LOW_MEMORY);
  EXPECT_STREQ(text, "LOW MEMORY!");
  __SetErrorLang(D(2));
  __GetAuxError(133);
  GetError(text, DLL_NOT_FOUND);
  EXPECT_STREQ(text, "DLL_NOT_FOUND\nMsg(133)-DLL Not Found!");
  GetError(text, DLL_NOT_FOUND);
  EXPECT_STREQ(text, "DLL_NOT_FOUND");
  EXPECT_STREQ(__GetAuxError(141), "Msg(141)-");
  EXPECT_STREQ(__GetAuxError(2), "Msg(2)-__SCmpFunc\\n (Tipo de Dados Desconhecido)");
  __SetErrorLang(D(3));
  EXPECT_STREQ(__GetAuxError(0), "Msg(0)-Erro Desconocido!");
  EXPECT_STREQ(__GetAuxError(1), "Msg(1)-ZELTA: Init Failure!");
  __SetErrorLang(D(7));
  EXPECT_STREQ(__GetAuxError(0), "Msg(0)-Erro Desconhecido!");
  GetError(text, 0);
}

// ORDER ERROR_CODES: every code of zeltaobjs.h renders its own name.
TEST_F(ErrorsTest, EveryErrorCodeHasItsName) {
  const struct {
    int code;
    const char* name;
  } cases[] = {{ARGUMENT_ERROR, "ARGUMENT ERROR!"},
               {BOUND_ERROR, "BOUND ERROR!"},
               {DIVIDE_BY_ZERO, "DIVIDE BY ZERO!"},
               {RUNTIME_ERROR, "RUNTIME ERROR!"},
               {INVALID_FIELD, "INVALID FIELD!"},
               {LOW_MEMORY, "LOW MEMORY!"},
               {EG_ARG, "EG ARG!"},
               {ALIAS_ALREADY_EXISTS, "ALIAS ALREADY EXISTS!"},
               {IDX_CREATE_ERROR, "IDX CREATE ERROR!"},
               {IDX_NOT_EXISTS, "IDX NOT EXISTS!"},
               {INVALID_ORDER, "INVALID ORDER!"},
               {CREATE_ERROR, "CREATE ERROR!"},
               {INDEX_CREATE_ERROR, "INDEX CREATE_ERROR!"},
               {INVALID_INDEX, "INVALID INDEX!"},
               {ALIAS_DOES_NOT_EXISTS, "ALIAS DOES NOT EXISTS!"},
               {STACK_FULL, "STACK FULL!"},
               {DLL_NOT_FOUND, "DLL_NOT_FOUND"},
               {FUNCTION_NOT_FOUND_IN_DLL, "FUNCTION_NOT_FOUND_IN_DLL"},
               {RDD_NOT_IMPLEMENTED, "RDD_NOT_IMPLEMENTED"},
               {RDD_NOT_IMPLEMENTED + 1, ""},
               {-1, ""}};
  for (const auto& c : cases) {
    char text[2100];
    GetError(text, c.code);
    EXPECT_STREQ(text, c.name) << c.code;
  }
}

// ORDER AUX_MESSAGES: one row per message number, a text in each language.
TEST_F(ErrorsTest, EveryMessageRowHasItsThreeLanguages) {
  for (int row = 0; row < core::kAuxMessageCount; ++row)
    for (int language = 1; language <= 3; ++language) {
      const char* text = core::auxMessage(language, row);
      ASSERT_NE(text, nullptr) << row;
      EXPECT_GT(strlen(text), 0u) << "row " << row << " language " << language;
    }
  const struct {
    int row;
    const char* pt;
    const char* en;
    const char* es;
  } rows[] = {
      {0, "Erro Desconhecido!", "Erro Desconhecido!", "Erro Desconocido!"},  // English repeats Portuguese
      {75, "Criar uma conexão dial-up\\ncom o nome ZELTAConn", "Create a dial-up connection \\nwith name: ZELTAConn",
       "Crear una conexión dial-up\\ncon el nombre ZELTAConn"},
      {133, "DLL não encontrada.", "DLL Not Found!", "DLL Not Found!"},
      {140, "Ordem inválida", "Invalid Index Order", "Invalid Index Order"},
  };
  for (const auto& r : rows) {
    EXPECT_STREQ(core::auxMessage(1, r.row), r.pt);
    EXPECT_STREQ(core::auxMessage(2, r.row), r.en);
    EXPECT_STREQ(core::auxMessage(3, r.row), r.es);
  }
  EXPECT_STREQ(core::auxMessage(1, core::kAuxMessageCount), "");
  EXPECT_STREQ(core::auxMessage(2, -1), "");
}

TEST(SyncMessages, EveryRowHasItsThreeLanguages) {
  for (int index = 0; index < core::kSyncMessageCount; ++index)
    for (int language = 1; language <= 3; ++language)
      EXPECT_GT(strlen(core::syncMessage(language, index)), 0u) << "row " << index << " language " << language;
  const struct {
    int index;
    const char* pt;
    const char* en;
  } rows[] = {
      {0, "VaskoSync", "VaskoSync"},
      {1, "Vasko Synchronizer", "Vasko Synchronizer"},
      {29, "Não abriu Tabela de CONFIGURAÇÕES", "Configurations table not opened"},
      {79, "Comunicando com o servidor", "Communicating with server        "},
      {113, "Rovane não encontrado. Atualização remota indisponível.",
       "Rovane not found. Remote update is not possible."},
      {117, "Reconectar", "Reconnect"},
  };
  for (const auto& r : rows) {
    EXPECT_STREQ(core::syncMessage(1, r.index), r.pt);
    EXPECT_STREQ(core::syncMessage(2, r.index), r.en);
  }
  EXPECT_STREQ(core::syncMessage(3, 117), "Reconectar");  // Spanish repeats Portuguese there
  EXPECT_STREQ(core::syncMessage(0, 2), "Histórico");     // an unknown language reads Portuguese
  EXPECT_STREQ(core::syncMessage(1, core::kSyncMessageCount), "");
  EXPECT_STREQ(core::syncMessage(2, -1), "");
}

pObj_Node double_it(pObj_Node x) { return __MUL(x, __INIT_DOUBLE(2)); }

TEST_F(ErrorsTest, NamedFunctions) {
  EXPECT_EQ(RegisterBlock("THIRTEENCHARS", reinterpret_cast<void*>(double_it)), 0);
  EXPECT_EQ(RegisterBlock("", reinterpret_cast<void*>(double_it)), 0);
  EXPECT_FALSE(__GET_BOOL(ExistBlock(S("THIRTEENCHARS"))));
  ASSERT_EQ(RegisterBlock("TWELVECHARSX", reinterpret_cast<void*>(double_it)), 1);
  EXPECT_TRUE(__GET_BOOL(ExistBlock(S("TWELVECHARSX"))));
  EXPECT_EQ(num(ExecBlock(S("TWELVECHARSX"), nullptr, nullptr, D(4), nullptr)), 8);
  ASSERT_EQ(RegisterBlock("TWICE", reinterpret_cast<void*>(double_it)), 1);
  EXPECT_EQ(num(ExecBlock(S("U_TWICE"), nullptr, nullptr, D(4), __INIT_BOOL(1))), 8);
  EXPECT_EQ(ExecBlock(S("U_TWICE"), nullptr, nullptr, D(4), nullptr), __INIT_BOOL(0));
  EXPECT_EQ(ExecBlock(S("NOPE"), nullptr, nullptr, D(4), nullptr), __INIT_BOOL(0));
  EXPECT_EQ(errorOf([] { ExistBlock(D(1)); }), ARGUMENT_ERROR);
}

namespace {

// Elements made by hand: the core alone has no array functions.
ArrayCell* withCells(pObj_Node array, int32_t count) {
  core::freeArrayHeader(array->objData.header);
  ArrayHeader* h = array->objData.header = core::newArrayHeader(count);
  h->count = count;
  return zeltaCell(h, 0);
}

pObj_Node pairsOf(const char* name, double value) {
  pObj_Node list = __fcpObj_CT(vArray);
  pObj_Node pair = __fcpObj_CT(vArray);
  ArrayCell* cells = withCells(pair, 2);
  const int32_t size = static_cast<int32_t>(strlen(name)) + 1;
  cells[0] = ArrayCell{T_CHARPTR, size, {}};
  cells[0].data.mbuff = core::allocStringBuffer(size);
  memcpy(cells[0].data.mbuff, name, static_cast<size_t>(size));
  cells[1] = ArrayCell{T_DOUBLE, -1, {value}};
  ArrayCell* el = withCells(list, 1);
  *el = ArrayCell{T_ARRAY, -1, {}};
  el->data.array = pair;
  return list;
}

}  // namespace

TEST_F(ErrorsTest, Evaluator) {
  struct Case {
    const char* text;
    double want;
  };
  const Case cases[] = {{"2^3^2", 64}, {"-3+5", 2},     {"1/0", -1},       {"sqrt(16)+X", 5},  {"2*(3+4)", 14},
                        {"Y+1", -1},   {"pow(2,3)", 8}, {"log10(100)", 2}, {"{|| 1 + 2 }", 3}, {"PI_2/PI", 2}};
  for (const Case& c : cases) {
    __begin_context();
    pObj_Node result = __Eval(S(c.text), pairsOf("x", 1));
    EXPECT_DOUBLE_EQ(num(result), c.want) << c.text;
    __end_context(nullptr);
  }
  double r = 99;
  EXPECT_EQ(__evalexpression("", nullptr, nullptr, 0, &r), -100);
  EXPECT_EQ(r, 99);
  EXPECT_EQ(__evalexpression("2*", nullptr, nullptr, 0, &r), 1);
  EXPECT_EQ(errorOf([] { __Eval(S("1"), __INIT_NIL()); }), ARGUMENT_ERROR);
}

// Texts that once hung (a lone "." read as a number of no length, read again
// for ever) or overflowed the machine stack (a tree as deep as the sum is
// long), and a right-hand spine past the limit.
TEST(Evaluator, MalformedAndHugeExpressions) {
  const char* names[] = {"X"};
  const double values[] = {1};
  double r = 99;
  EXPECT_EQ(__evalexpression("X+.", values, names, 1, &r), -100);
  EXPECT_EQ(__evalexpression(".", values, names, 1, &r), -100);
  std::string sum = "1";
  for (int i = 1; i < 500000; ++i) sum += "+1";
  ASSERT_EQ(__evalexpression(sum.c_str(), nullptr, nullptr, 0, &r), 0);
  EXPECT_EQ(r, 500000);
  std::string product = "2";
  for (int i = 0; i < 200000; ++i) product += "*1";
  ASSERT_EQ(__evalexpression((product + "-X").c_str(), values, names, 1, &r), 0);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(__evalexpression((sum + "/0").c_str(), nullptr, nullptr, 0, &r), 2000);
  EXPECT_EQ(r, -1);
  std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')') + "+1";
  EXPECT_EQ(__evalexpression(deep.c_str(), nullptr, nullptr, 0, &r), 0) << "parentheses alone build no spine";
  EXPECT_EQ(r, 2);
  std::string right;
  for (int i = 0; i < 5000; ++i) right += "1+(";
  right += "1" + std::string(5000, ')');
  EXPECT_EQ(__evalexpression(right.c_str(), nullptr, nullptr, 0, &r), -100);
}

TEST_F(ErrorsTest, ConsoleFormat) {
  struct Case {
    pObj_Node v;
    const char* want;
  };
  const Case cases[] = {{D(5), "5"},
                        {D(3.14), "3.14"},
                        {D(-0.5), "-0.5"},
                        {D(1e20), "1e+20"},
                        {D(0.1 + 0.2), "0.30000000000000004"},
                        {__INIT_BOOL(1), ".T."},
                        {__INIT_NIL(), "NIL"},
                        {__INIT_DATE(36585), "02/29/00"},
                        {S("text"), "text"}};
  for (const Case& c : cases) EXPECT_EQ(core::formatValue(c.v), c.want);
  __SetCentury(__INIT_BOOL(1));
  EXPECT_EQ(core::formatValue(__INIT_DATE(36585)), "02/29/2000");
}

TEST(FatalError, ReportGoesToStderrAndTheProcessExitsWithOne) {
  int pipeFd[2];
  ASSERT_EQ(pipe(pipeFd), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFd[1], 2);
    core::setFatalTrap(nullptr);
    __BeginGlobal();
    __begin_context();
    __SF("MAIN");
    __SL(12);
    __SetErrorLang(__INIT_DOUBLE(2));
    __RuntimeError(DLL_NOT_FOUND, 133);
  }
  close(pipeFd[1]);
  std::string report;
  char buffer[256];
  for (ssize_t n; (n = read(pipeFd[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  close(pipeFd[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(report, "Fatal Error\nDLL_NOT_FOUND\nMsg(133)-DLL Not Found!\nMAIN(12)\nMAIN(12)\n");
}
