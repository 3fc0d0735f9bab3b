// The line printer. The handheld loads a printer driver; this host's driver
// writes the file "pda.txt" in the current directory, replacing an old one.
// Its operations are the driver's: open, close, write a text at a row and
// column with a font, send a command (nothing to send to a file), and
// report the row and column. A text placed below the current row starts new
// lines, one placed further right is reached with blanks, and one placed
// above or to the left of where the printer stands starts a new page
// (a form feed).
#include <cerrno>
#include <cstdio>

#include "arguments_ui.h"
#include "array_index.h"
#include "core.h"
#include "ui_builtin.h"
#include "ui_state.h"
#include "zeltamisc.h"
#include "zeltaui.h"

namespace ui {

namespace {

constexpr size_t kFontNameLength = 15;
constexpr int kFinishedMs = 3000;

Printer& printer() { return state().printer; }

void show(const char* text) { __SetInfoWindow(__INIT_CHARPTR(text)); }

// Moves the print head to the row and column; returns false when it cannot
// write.
bool moveTo(long row, long col) {
  Printer& p = printer();
  if (row < p.row || (row == p.row && col < p.col)) {
    if (fputc('\f', p.file) == EOF) return false;
    p.row = 0;
    p.col = 0;
  }
  for (; p.row < row; ++p.row) {
    if (fputc('\n', p.file) == EOF) return false;
    p.col = 0;
  }
  for (; p.col < col; ++p.col)
    if (fputc(' ', p.file) == EOF) return false;
  return true;
}

}  // namespace

void closePrinter() {
  Printer& p = printer();
  if (p.file) fclose(p.file);
  p = Printer();
}

}  // namespace ui

using namespace ui;

pObj_Node __LoadPrint(pObj_Node a1, pObj_Node a2, pObj_Node a3, pObj_Node a4, pObj_Node a5, pObj_Node a6, pObj_Node a7,
                      pObj_Node last) {
  for (pObj_Node n : {a1, a2, a3, a4, a5, a6, a7}) numberOr(n, 0);
  boolOr(last, false);
  show("Iniciando Impressora");
  closePrinter();
  Printer& p = printer();
  p.file = fopen("pda.txt", "wb");
  if (!p.file) {
    char text[64];
    snprintf(text, sizeof text, "Printer not connected(%d).", errno);
    __ClearInfoWindow();
    __MsgAlert(__INIT_CHARPTR(text), __INIT_CHARCONST("Alert"));
    return __INIT_BOOL(0);
  }
  show("Impressora Iniciada...");
  return __INIT_BOOL(1);
}

pObj_Node __IsPrintOn() { return __INIT_BOOL(printer().file != nullptr); }

pObj_Node __PrintSay(pObj_Node row, pObj_Node col, pObj_Node text, pObj_Node area, pObj_Node font) {
  Printer& p = printer();
  if (!p.file) return __INIT_DOUBLE(0);
  const long r = core::checkWhole(row);
  const long c = core::checkWhole(col);
  if (given(area)) {
    pObj_Node a = lib::checkArray(area);
    for (long i = 0; i < 5 && i < lib::elementCount(a); ++i) {
      pObj_Node el = lib::elementAt(a, i);
      p.area[i] = el && el->objType == T_DOUBLE ? el->objData.dValue : 0;
    }
  }
  if (given(font)) p.font = std::string(core::checkText(font)).substr(0, kFontNameLength);
  const std::string shown =
      text && text->objType == T_CHARPTR ? std::string(core::textOf(text)) : core::formatValue(text);
  if (!moveTo(r < 0 ? 0 : r, c < 0 ? 0 : c)) return __INIT_DOUBLE(0);
  fputs(shown.c_str(), p.file);
  p.col += static_cast<long>(shown.size());
  return __INIT_DOUBLE(0);
}

pObj_Node __PrintCommand(pObj_Node text) {
  if (!printer().file) return __INIT_DOUBLE(0);
  core::checkText(text);
  show("Enviando dados....");
  return __INIT_BOOL(1);
}

pObj_Node __PrintSetFont(pObj_Node n1, pObj_Node n2, pObj_Node n3, pObj_Node n4, pObj_Node b1, pObj_Node b2,
                         pObj_Node b3) {
  Printer& p = printer();
  const pObj_Node numbers[] = {n1, n2, n3, n4};
  const pObj_Node flags[] = {b1, b2, b3};
  for (int i = 0; i < 4; ++i) p.fontSize[i] = numberOr(numbers[i], p.fontSize[i]);
  for (int i = 0; i < 3; ++i) p.fontStyle[i] = boolOr(flags[i], p.fontStyle[i]);
  return __INIT_BOOL(p.file != nullptr);
}

pObj_Node __PROW() { return __INIT_DOUBLE(static_cast<double>(printer().row)); }

pObj_Node __PCOL() { return __INIT_DOUBLE(static_cast<double>(printer().col)); }

pObj_Node __UnLoadPrint() {
  show("Aguarde....");
  Printer& p = printer();
  bool closed = true;
  if (p.file) {
    show("Finalizando");
    closed = fclose(p.file) == 0;
    p.file = nullptr;
    show("Liberando Driver");
    p = Printer();
    show("Impressão Finalizada");
    if (!driver().headless()) SLEEP(__INIT_DOUBLE(kFinishedMs));
  }
  __ClearInfoWindow();
  return __INIT_BOOL(closed);
}

pObj_Node __GetDriverPrint() {
  FILE* file = printer().file;
  return file ? __INIT_HANDLE(file) : __INIT_NIL();
}
