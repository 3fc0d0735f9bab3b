// The screen dump (screen_dump.h). Each line starts with the control's id
// and kind; texts are quoted; "focus" marks the focused control.
#include "screen_dump.h"

#include <sstream>

#include "dialog.h"
#include "field_edit.h"
#include "grid.h"
#include "menus.h"
#include "ui_state.h"

namespace ui {

namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out + "\"";
}

std::string itemList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + quoted(items[i]);
  return out + "]";
}

std::string number(double x) {
  std::ostringstream out;
  out << x;
  return out.str();
}

// A grid's first line carries its flags; its rows follow.
void gridLines(std::ostringstream& out, const Window& window, const Control& c) {
  const Grid* g = gridOf(c);
  if (!g) return;
  out << " row " << g->row << "/" << g->rows.size() << " col " << g->column;
  if (!c.enabled) out << " disabled";
  if (window.focus == c.id) out << " focus";
  out << "\n";
  out << "  |";
  for (const GridColumn& col : g->columns) out << " " << col.heading << " |";
  const int shown = visibleRows(c);
  for (int r = g->top; r < static_cast<int>(g->rows.size()) && r < g->top + shown; ++r) {
    out << "\n" << (r + 1 == g->row ? "> |" : "  |");
    for (int k = 1; k <= static_cast<int>(g->columns.size()); ++k) out << " " << cellText(*g, r + 1, k) << " |";
  }
  out << "\n";
}

void controlLine(std::ostringstream& out, const Window& window, const Control& c) {
  out << c.id << " ";
  switch (c.kind) {
    case kKindLabel: out << "label " << quoted(c.text); break;
    case kKindField: out << "field " << quoted(shownText(c)) << (c.readOnly ? " readonly" : ""); break;
    case kKindButton:
    case kKindArrow:
      if (c.check)
        out << "check " << quoted(c.text) << (c.value.flag ? " on" : " off");
      else
        out << (c.kind == kKindArrow ? "arrow " : "button ") << quoted(c.text);
      break;
    case kKindList:
    case kKindCombo:
      out << (c.kind == kKindList ? "list " : "combo ") << c.selected << "/" << c.items.size() << " "
          << quoted(c.selected > 0 && c.selected <= static_cast<int>(c.items.size())
                        ? c.items[static_cast<size_t>(c.selected - 1)]
                        : "")
          << " " << itemList(c.items);
      break;
    case kKindFolder: out << "folder " << c.selected << "/" << c.items.size() << " " << itemList(c.items); break;
    case kKindProgress: out << "progress " << number(c.position) << "/" << number(c.total); break;
    case kKindBitmap: out << "bitmap " << quoted(c.text); break;
    case kKindCalendar: out << "calendar " << quoted(displayText(c.value, "")); break;
    case kKindGrid:
      out << "grid";
      gridLines(out, window, c);
      return;
    case kKindBrowser: out << "browser"; break;
    default: out << "control " << c.kind; break;
  }
  if (!c.enabled) out << " disabled";
  if (window.focus == c.id) out << " focus";
  out << "\n";
}

}  // namespace

std::string dumpWindow(const Window& window) {
  std::ostringstream out;
  out << "\n--- " << window.id << " " << quoted(window.title) << " ---\n";
  for (Control* entry : menuEntries(window)) {
    out << "menu " << entry->id << " " << quoted(entry->text) << ":";
    for (Control* item : menuItems(window, *entry)) out << " " << item->id << " " << quoted(item->text);
    out << "\n";
  }
  for (const auto& c : window.controls) {
    if (c->kind == kKindMenuBar || c->kind == kKindMenuItem || c->kind == kKindTimer || c->kind == kKindKey) continue;
    if (!shownOnScreen(*c)) continue;
    controlLine(out, window, *c);
  }
  for (const Drawing& d : window.drawings) {
    if (d.box)
      out << "box " << d.y << "," << d.x << " " << d.height << "x" << d.width;
    else
      out << "text " << d.y << "," << d.x;
    if (!d.text.empty()) out << " " << quoted(d.text);
    out << "\n";
  }
  const State& s = state();
  if (s.statusOn)
    out << "status " << quoted(s.statusTitle) << " " << number(s.statusPosition) << "/" << number(s.statusTotal)
        << "\n";
  if (!s.infoText.empty()) out << "info " << quoted(s.infoText) << "\n";
  out << "---\n";
  return out.str();
}

}  // namespace ui
