// The terminal driver: ncurses (wide-character build) on standard input and
// output. The dialog fills the terminal: row 0 holds the title and the menu
// bar, the last row the key help or the information window, and the rows
// between show the handheld's screen (160x160 or 240x320 units) scaled onto
// the cells. This is the folder's one host file: curses, isatty and the
// signal handlers that give the terminal back live here.
//
// Terminal states:
//
//   shell ──enter()──> curses (drawing, raw keys) ──leave()──> shell
//                         │ fatal error, signal, exit
//                         └──restore()──> shell (endwin at once)
#include <curses.h>
#include <locale.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "calendar.h"
#include "dialog.h"
#include "driver.h"
#include "field_edit.h"
#include "grid.h"
#include "menus.h"
#include "ui_state.h"
// Last: it maps the curses names onto the loaded library.
#include "curses_api.h"

namespace ui {

namespace {

// Set while curses owns the terminal, with the descriptor standard output
// had before: while a dialog is up, what the program prints goes to a file
// (held below) and is written out when the terminal is given back, so that
// it neither scrolls the dialog away nor gets lost. A signal handler can
// read nothing richer than these, so they live outside the state record,
// process-wide like the handlers themselves.
volatile sig_atomic_t cursesActive = 0;
volatile sig_atomic_t savedOutput = -1;
FILE* heldOutput = nullptr;
bool handlersInstalled = false;

// Ends curses and points standard output back at the terminal; safe in a
// signal handler.
void giveBackNow() {
  if (!cursesActive) return;
  cursesActive = 0;
  endwin();
  if (savedOutput >= 0) {
    dup2(savedOutput, STDOUT_FILENO);
    close(savedOutput);
    savedOutput = -1;
  }
}

// Gives the terminal back and writes out what the program printed meanwhile.
void giveBack() {
  if (!cursesActive) return;
  fflush(stdout);
  giveBackNow();
  if (!heldOutput) return;
  rewind(heldOutput);
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, heldOutput)) > 0;) fwrite(buffer, 1, n, stdout);
  fflush(stdout);
  fclose(heldOutput);
  heldOutput = nullptr;
}

// Takes the terminal: standard output goes to a held file meanwhile.
void takeTerminal() {
  fflush(stdout);
  heldOutput = tmpfile();
  if (heldOutput) {
    savedOutput = dup(STDOUT_FILENO);
    if (savedOutput >= 0) dup2(fileno(heldOutput), STDOUT_FILENO);
  }
  reset_prog_mode();
  cursesActive = 1;
}

void onFatalSignal(int signal) {
  giveBackNow();
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void installSignalHandlers() {
  if (handlersInstalled) return;
  handlersInstalled = true;
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE}) {
    struct sigaction action = {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(s, &action, nullptr);
  }
  atexit(giveBack);
}

// The curses colour nearest to an RGB value given as 0x00BBGGRR.
short cursesColor(int rgb) {
  const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  const int bits = (r > 127 ? 1 : 0) | (g > 127 ? 2 : 0) | (b > 127 ? 4 : 0);
  static const short kColors[] = {COLOR_BLACK, COLOR_RED,     COLOR_GREEN, COLOR_YELLOW,
                                  COLOR_BLUE,  COLOR_MAGENTA, COLOR_CYAN,  COLOR_WHITE};
  return kColors[bits];
}

struct Hit {
  uint16_t id;
  int top, left, bottom, right;  // cells, inclusive
  int firstRow;                  // the list or grid row shown at `top` (1-based), 0 otherwise
};

std::string clip(const std::string& text, int cells) {
  if (cells <= 0) return "";
  std::string out;
  int n = 0;
  for (size_t at = 0; at < text.size() && n < cells;) {
    const size_t next = nextBoundary(text, at);
    out += text.substr(at, next - at);
    at = next;
    ++n;
  }
  return out;
}

std::string padTo(const std::string& text, int cells) {
  std::string out = clip(text, cells);
  const int have = static_cast<int>(characterCount(out));
  if (have < cells) out.append(static_cast<size_t>(cells - have), ' ');
  return out;
}

std::string utf8(wint_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

class TerminalDriver : public Driver {
 public:
  ~TerminalDriver() override {
    restore();
    if (screen_) delscreen(screen_);
    if (terminal_) fclose(terminal_);
  }

  bool start() {
    if (!loadCurses()) return false;
    setlocale(LC_CTYPE, "");
    // Curses draws on a descriptor of its own: standard output is held
    // elsewhere while a dialog is up.
    const int fd = dup(STDOUT_FILENO);
    terminal_ = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!terminal_) return false;
    screen_ = newterm(nullptr, terminal_, stdin);
    if (!screen_) {
      fclose(terminal_);
      terminal_ = nullptr;
      return false;
    }
    set_term(screen_);
    cursesActive = 1;
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    mousemask(BUTTON1_CLICKED | BUTTON1_PRESSED | BUTTON1_RELEASED, nullptr);
    mouseinterval(0);
    if (has_colors()) {
      start_color();
      use_default_colors();
    }
    installSignalHandlers();
    giveBack();  // the shell keeps the terminal until a dialog needs it
    return true;
  }

  bool headless() const override { return false; }

  void enter() override {
    if (cursesActive) return;
    takeTerminal();
    clearok(stdscr, TRUE);
    refresh();
  }

  void leave() override { giveBack(); }
  void restore() override { giveBack(); }
  void beep() override {
    if (cursesActive) cursesApi.beep();
  }

  void draw(const Window& window) override {
    if (!cursesActive) enter();
    windowId_ = window.id;
    hits_.clear();
    erase();
    const Units u = unitsOf(window.metrics);
    units_ = u;
    drawTitle(window);
    for (const Drawing& d : window.drawings) drawDrawing(d);
    for (const auto& c : window.controls) {
      if (c->kind == kKindMenuBar || c->kind == kKindMenuItem || c->kind == kKindTimer || c->kind == kKindKey) continue;
      if (!shownOnScreen(*c)) continue;
      drawControl(window, *c);
    }
    drawBottom(window);
    if (window.menuEntry) drawMenu(window);
    placeCursor(window);
    refresh();
  }

  bool nextEvent(Event& event, int timeoutMs) override {
    event = Event();
    if (!cursesActive) enter();
    timeout(timeoutMs);
    wint_t ch = 0;
    const int got = get_wch(&ch);
    if (got == ERR) {
      if (timeoutMs < 0 && !isatty(STDIN_FILENO)) return false;  // the terminal went away
      return true;
    }
    if (got == KEY_CODE_YES) return functionKey(static_cast<int>(ch), event);
    switch (ch) {
      case 9: event.type = Event::kKey, event.key = kKeyTab; return true;
      case 10:
      case 13: event.type = Event::kKey, event.key = kKeyEnter; return true;
      case 27: event.type = Event::kKey, event.key = kKeyEsc; return true;
      case 8:
      case 127: event.type = Event::kKey, event.key = kKeyBackspace; return true;
      default: break;
    }
    if (ch < 32) return true;
    event.type = Event::kText;
    event.text = utf8(ch);
    return true;
  }

  int messageBox(const char* title, const char* text, int yesNo) override {
    enter();
    std::vector<std::string> lines;
    std::string line;
    for (const char* p = text; *p; ++p) {
      if (*p == '\n') {
        lines.push_back(line);
        line.clear();
      } else {
        line += *p;
      }
    }
    lines.push_back(line);
    const std::vector<std::string> buttons =
        yesNo ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"};
    int choice = 0;
    for (;;) {
      redrawBehind();
      const int width = boxWidth(title, lines);
      const int height = static_cast<int>(lines.size()) + 4;
      const int top = std::max(0, (LINES - height) / 2);
      const int left = std::max(0, (COLS - width) / 2);
      frame(top, left, height, width, title);
      for (size_t i = 0; i < lines.size(); ++i)
        mvaddstr(top + 1 + static_cast<int>(i), left + 2, clip(lines[i], width - 4).c_str());
      std::vector<std::pair<int, int>> spots;
      int x = left + (width - static_cast<int>(buttons.size()) * 9) / 2;
      for (size_t i = 0; i < buttons.size(); ++i) {
        spots.push_back({x, x + 7});
        if (static_cast<int>(i) == choice) attron(A_REVERSE);
        mvaddstr(top + height - 2, x, ("[" + padTo(" " + buttons[i], 5) + "]").c_str());
        if (static_cast<int>(i) == choice) attroff(A_REVERSE);
        x += 9;
      }
      curs_set(0);
      refresh();
      timeout(-1);
      wint_t ch = 0;
      const int got = get_wch(&ch);
      if (got == ERR) {
        if (!isatty(STDIN_FILENO)) return 1;
        continue;
      }
      if (got == KEY_CODE_YES) {
        if (ch == KEY_LEFT || ch == KEY_BTAB)
          choice = (choice + static_cast<int>(buttons.size()) - 1) % static_cast<int>(buttons.size());
        if (ch == KEY_RIGHT) choice = (choice + 1) % static_cast<int>(buttons.size());
        if (ch == KEY_ENTER) return yesNo ? (choice == 0 ? 1 : 0) : 1;
        if (ch == KEY_MOUSE) {
          MEVENT m;
          if (getmouse(&m) == OK && m.y == top + height - 2) {
            for (size_t i = 0; i < spots.size(); ++i)
              if (m.x >= spots[i].first && m.x <= spots[i].second) return yesNo ? (i == 0 ? 1 : 0) : 1;
          }
        }
        continue;
      }
      if (ch == 9) choice = (choice + 1) % static_cast<int>(buttons.size());
      if (ch == 10 || ch == 13 || ch == ' ') return yesNo ? (choice == 0 ? 1 : 0) : 1;
      if (ch == 27) return yesNo ? 0 : 1;
      if (yesNo && (ch == 'y' || ch == 'Y' || ch == 's' || ch == 'S')) return 1;
      if (yesNo && (ch == 'n' || ch == 'N')) return 0;
    }
  }

  void info(const std::string& text) override {
    info_ = text;
    if (cursesActive) redrawBehind();
  }

  void reject(const Event&, const std::string&) override { beep(); }

 private:
  // What a box or the information window shows over: the last window drawn,
  // or the background window.
  void redrawBehind() {
    if (Window* w = findWindow(windowId_)) return draw(*w);
    erase();
    attron(A_REVERSE);
    mvhline(0, 0, ' ', COLS);
    put(0, 1, "Brenvik Mobile", A_REVERSE | A_BOLD);
    attroff(A_REVERSE);
    if (!info_.empty()) put(LINES - 1, 1, info_, A_REVERSE);
    curs_set(0);
    refresh();
  }

  int row(int y) const {
    const int area = std::max(1, LINES - 2);
    return 1 + std::clamp(y * area / std::max(1, units_.height), 0, area - 1);
  }
  int col(int x) const { return std::clamp(x * COLS / std::max(1, units_.width), 0, std::max(0, COLS - 1)); }
  int cellsWide(int w) const { return std::max(1, w * COLS / std::max(1, units_.width)); }
  int cellsHigh(int h) const { return std::max(1, h * std::max(1, LINES - 2) / std::max(1, units_.height)); }

  attr_t colorPair(int fore, int back) {
    if (!has_colors() || (fore < 0 && back < 0)) return A_NORMAL;
    const short f = fore < 0 ? -1 : cursesColor(fore);
    const short b = back < 0 ? -1 : cursesColor(back);
    const int key = (f + 1) * 16 + (b + 1);
    auto it = pairs_.find(key);
    if (it == pairs_.end()) {
      const short number = static_cast<short>(pairs_.size() + 1);
      if (number >= COLOR_PAIRS) return A_NORMAL;
      init_pair(number, f, b);
      it = pairs_.emplace(key, number).first;
    }
    return COLOR_PAIR(it->second);
  }

  void put(int y, int x, const std::string& text, attr_t attr = A_NORMAL) {
    if (y < 0 || y >= LINES || x >= COLS) return;
    attron(attr);
    mvaddstr(y, x, clip(text, COLS - x).c_str());
    attroff(attr);
  }

  int boxWidth(const char* title, const std::vector<std::string>& lines) const {
    int width = static_cast<int>(characterCount(title)) + 6;
    for (const std::string& l : lines) width = std::max(width, static_cast<int>(characterCount(l)) + 4);
    return std::min(std::max(width, 22), std::max(10, COLS - 2));
  }

  void frame(int top, int left, int height, int width, const std::string& title) {
    for (int y = top; y < top + height && y < LINES; ++y) mvhline(y, left, ' ', width);
    mvaddch(top, left, ACS_ULCORNER);
    mvhline(top, left + 1, ACS_HLINE, width - 2);
    mvaddch(top, left + width - 1, ACS_URCORNER);
    for (int y = top + 1; y < top + height - 1; ++y) {
      mvaddch(y, left, ACS_VLINE);
      mvaddch(y, left + width - 1, ACS_VLINE);
    }
    mvaddch(top + height - 1, left, ACS_LLCORNER);
    mvhline(top + height - 1, left + 1, ACS_HLINE, width - 2);
    mvaddch(top + height - 1, left + width - 1, ACS_LRCORNER);
    if (!title.empty()) put(top, left + 2, " " + clip(title, width - 6) + " ", A_BOLD);
  }

  void drawTitle(const Window& window) {
    attron(A_REVERSE);
    mvhline(0, 0, ' ', COLS);
    attroff(A_REVERSE);
    put(0, 1, window.title, A_REVERSE | A_BOLD);
    int x = std::max(static_cast<int>(characterCount(window.title)) + 4, COLS / 3);
    std::vector<Control*> entries = menuEntries(window);
    menuSpots_.clear();
    for (size_t i = 0; i < entries.size(); ++i) {
      const std::string caption = " " + entries[i]->text + " ";
      const bool lit = window.menuEntry == static_cast<int>(i) + 1;
      put(0, x, caption, lit ? A_NORMAL | A_BOLD : A_REVERSE);
      menuSpots_.push_back({x, static_cast<int>(characterCount(caption))});
      hits_.push_back({entries[i]->id, 0, x, 0, x + static_cast<int>(characterCount(caption)) - 1, 0});
      x += static_cast<int>(characterCount(caption)) + 1;
    }
  }

  void drawBottom(const Window&) {
    const int y = LINES - 1;
    if (!info_.empty()) {
      attron(A_REVERSE);
      mvhline(y, 0, ' ', COLS);
      put(y, 1, info_, A_REVERSE);
      attroff(A_REVERSE);
      return;
    }
    const State& s = state();
    if (s.statusOn) {
      const int bar = std::max(10, COLS / 3);
      const int done = static_cast<int>(bar * std::clamp(s.statusPosition / s.statusTotal, 0.0, 1.0));
      put(y, 1,
          s.statusTitle + " [" + std::string(static_cast<size_t>(done), '#') +
              std::string(static_cast<size_t>(bar - done), '.') + "]");
      return;
    }
    put(y, 1, "Tab: next  Enter: ok  Esc: cancel  F10: menu", A_DIM);
  }

  void drawMenu(const Window& window) {
    std::vector<Control*> entries = menuEntries(window);
    if (window.menuEntry < 1 || window.menuEntry > static_cast<int>(entries.size()) || !window.menuItem) return;
    const Control& entry = *entries[static_cast<size_t>(window.menuEntry - 1)];
    std::vector<Control*> items = menuItems(window, entry);
    if (items.empty()) return;
    int width = 8;
    for (Control* item : items) width = std::max(width, static_cast<int>(characterCount(item->text)) + 4);
    const int left = std::min(menuSpots_[static_cast<size_t>(window.menuEntry - 1)].first, std::max(0, COLS - width));
    frame(1, left, static_cast<int>(items.size()) + 2, width, "");
    for (size_t i = 0; i < items.size(); ++i) {
      const bool lit = window.menuItem == static_cast<int>(i) + 1;
      put(2 + static_cast<int>(i), left + 1, " " + padTo(items[i]->text, width - 3), lit ? A_REVERSE : A_NORMAL);
      hits_.push_back({items[i]->id, 2 + static_cast<int>(i), left + 1, 2 + static_cast<int>(i), left + width - 2, 0});
    }
  }

  void drawDrawing(const Drawing& d) {
    const int top = row(d.y), left = col(d.x);
    if (!d.box) return put(top, left, d.text, colorPair(d.color, d.fill));
    const int bottom = std::max(top + 1, row(d.y + d.height));
    const int right = std::max(left + 1, col(d.x + d.width));
    frame(top, left, bottom - top + 1, right - left + 1, d.text);
  }

  void drawControl(const Window& window, const Control& c) {
    const bool focused = window.focus == c.id && !window.menuEntry;
    const int top = row(c.y), left = col(c.x);
    const int width = std::min(cellsWide(c.width), std::max(1, COLS - left));
    attr_t colors = colorPair(c.textColor, c.backColor);
    if (!c.enabled) colors |= A_DIM;
    switch (c.kind) {
      case kKindLabel: {
        int y = top;
        std::string line;
        for (char ch : c.text + "\n") {
          if (ch == '\n') {
            const int cells = static_cast<int>(characterCount(line));
            int x = left;
            if (c.flag == 1) x = std::max(0, left + width - cells);
            if (c.flag == 2) x = std::max(0, left + (width - cells) / 2);
            put(y++, x, line, colors);
            line.clear();
          } else {
            line += ch;
          }
        }
        break;
      }
      case kKindField: {
        const std::string text = shownText(c);
        if (c.readOnly) {
          int y = top;
          std::string line;
          for (char ch : text + "\n") {
            if (ch == '\n') {
              put(y++, left, line, colors);
              line.clear();
            } else {
              line += ch;
            }
          }
          break;
        }
        const int cells = std::max(width, 2);
        const int cursor = static_cast<int>(characterCount(c.edit.substr(0, std::min(c.cursor, c.edit.size()))));
        const int skip = focused && cursor >= cells ? cursor - cells + 1 : 0;
        std::string shown;
        size_t at = 0;
        for (int i = 0; i < skip; ++i) at = nextBoundary(text, at);
        shown = text.substr(at);
        put(top, left, padTo(shown, cells),
            colors | (focused ? (c.selectAll ? A_REVERSE : A_UNDERLINE | A_BOLD) : A_UNDERLINE));
        if (focused) cursor_ = {top, left + cursor - skip};
        hits_.push_back({c.id, top, left, top, left + cells - 1, 0});
        break;
      }
      case kKindButton:
      case kKindArrow: {
        std::string text = c.check ? std::string(c.value.flag ? "[x] " : "[ ] ") + c.text
                                   : "< " + (c.text.empty() ? "#" + std::to_string(c.flag) : c.text) + " >";
        put(top, left, text, colors | (focused ? A_REVERSE : A_BOLD));
        hits_.push_back({c.id, top, left, top, left + static_cast<int>(characterCount(text)) - 1, 0});
        if (focused) cursor_ = {-1, -1};
        break;
      }
      case kKindList: {
        const int rows = std::max(1, cellsHigh(c.height));
        for (int i = 0; i < rows; ++i) {
          const int item = c.top + i;
          std::string text = item < static_cast<int>(c.items.size()) ? c.items[static_cast<size_t>(item)] : "";
          attr_t a = colors;
          if (item + 1 == c.selected) a |= focused ? A_REVERSE : A_BOLD | A_UNDERLINE;
          put(top + i, left, padTo(text, width), a);
        }
        hits_.push_back({c.id, top, left, top + rows - 1, left + width - 1, c.top + 1});
        break;
      }
      case kKindCombo: {
        std::string text = c.selected > 0 && c.selected <= static_cast<int>(c.items.size())
                               ? c.items[static_cast<size_t>(c.selected - 1)]
                               : "";
        put(top, left, "[" + padTo(text, std::max(1, width - 4)) + " v]", colors | (focused ? A_REVERSE : A_NORMAL));
        hits_.push_back({c.id, top, left, top, left + width - 1, 0});
        break;
      }
      case kKindFolder: {
        int x = left;
        for (size_t i = 0; i < c.items.size(); ++i) {
          const std::string tab = " " + c.items[i] + " ";
          const bool current = c.selected == static_cast<int>(i) + 1;
          put(top, x, tab, colors | (current ? (focused ? A_REVERSE : A_BOLD | A_UNDERLINE) : A_NORMAL));
          hits_.push_back({c.id, top, x, top, x + static_cast<int>(characterCount(tab)) - 1, static_cast<int>(i) + 1});
          x += static_cast<int>(characterCount(tab)) + 1;
        }
        break;
      }
      case kKindProgress: {
        const int bar = std::max(3, width - 7);
        const double share = c.total > 0 ? std::clamp(c.position / c.total, 0.0, 1.0) : 0;
        const int done = static_cast<int>(bar * share);
        char percent[8];
        snprintf(percent, sizeof percent, " %3d%%", static_cast<int>(share * 100 + 0.5));
        put(top, left,
            "[" + std::string(static_cast<size_t>(done), '#') + std::string(static_cast<size_t>(bar - done), '.') +
                "]" + percent,
            colors);
        break;
      }
      case kKindBitmap: {
        const int height = std::max(3, cellsHigh(c.height));
        const int w = std::max(static_cast<int>(characterCount(c.text)) + 2, std::max(width, 4));
        frame(top, left, height, std::min(w, COLS - left), "");
        put(top + height / 2, left + 1, clip(c.text, w - 2), colors);
        hits_.push_back({c.id, top, left, top + height - 1, left + w - 1, 0});
        break;
      }
      case kKindCalendar: drawCalendar(c, top, left, focused); break;
      case kKindGrid: drawGrid(c, top, left, width, focused); break;
      default: break;
    }
  }

  void drawCalendar(const Control& c, int top, int left, bool focused) {
    const long day = static_cast<long>(c.value.number);
    const lib::DateParts parts = lib::decodeDate(day);
    put(top, left, displayText(c.value, "") + "  " + std::to_string(parts.month) + "/" + std::to_string(parts.year),
        A_BOLD);
    put(top + 1, left, " S  M  T  W  T  F  S", A_DIM);
    long first = 0;
    lib::encodeDate(parts.year, parts.month, 1, 0, 0, first);
    const int weekday = static_cast<int>(((first - 1) % 7 + 7) % 7);  // day 1 (31 Dec 1899) was a Sunday
    const int days = core::daysInMonth(parts.year, parts.month);
    for (int d = 1; d <= days; ++d) {
      const int cell = weekday + d - 1;
      char text[12];
      snprintf(text, sizeof text, "%2d", d);
      put(top + 2 + cell / 7, left + (cell % 7) * 3, text, d == parts.day ? (focused ? A_REVERSE : A_BOLD) : A_NORMAL);
    }
    hits_.push_back({c.id, top, left, top + 8, left + 20, 0});
  }

  void drawGrid(const Control& c, int top, int left, int width, bool focused) {
    const Grid* g = gridOf(c);
    if (!g) return;
    std::string heading;
    std::vector<int> widths;
    for (size_t k = static_cast<size_t>(g->left); k < g->columns.size(); ++k) {
      const int w = std::max(3, cellsWide(g->columns[k].width));
      widths.push_back(w);
      heading += padTo(g->columns[k].heading, w) + "|";
    }
    put(top, left, clip(heading, width), A_BOLD | A_UNDERLINE);
    const int rows = visibleRows(c);
    for (int i = 0; i < rows; ++i) {
      const int r = g->top + i + 1;
      if (r > static_cast<int>(g->rows.size())) break;
      int x = left;
      for (size_t k = 0; k < widths.size() && x < left + width; ++k) {
        const int column = g->left + static_cast<int>(k) + 1;
        std::string text = cellText(*g, r, column);
        const GridColumn& gc = g->columns[static_cast<size_t>(column - 1)];
        const int cells = static_cast<int>(characterCount(text));
        if (gc.right && cells < widths[k]) text = std::string(static_cast<size_t>(widths[k] - cells), ' ') + text;
        attr_t a = A_NORMAL;
        for (const auto& cc : g->cellColors)
          if (cc.first.first == r && cc.first.second == column) a = colorPair(cc.second, -1);
        if (r == g->row) a |= focused && column == g->column ? A_REVERSE : A_BOLD;
        if (g->editing && r == g->row && column == g->column) a = A_UNDERLINE | A_BOLD;
        put(top + 1 + i, x, padTo(text, std::min(widths[k], left + width - x)), a);
        x += widths[k] + 1;
      }
    }
    hits_.push_back({c.id, top + 1, left, top + rows, left + width - 1, g->top + 1});
  }

  void placeCursor(const Window& window) {
    Control* focus = window.focus ? findControl(window.focus) : nullptr;
    if (focus && focus->kind == kKindField && !focus->readOnly && cursor_.first >= 0 && !window.menuEntry) {
      curs_set(1);
      move(cursor_.first, std::min(cursor_.second, COLS - 1));
    } else {
      curs_set(0);
    }
    cursor_ = {-1, -1};
  }

  bool functionKey(int key, Event& event) {
    event.type = Event::kKey;
    switch (key) {
      case KEY_UP: event.key = kKeyUp; return true;
      case KEY_DOWN: event.key = kKeyDown; return true;
      case KEY_LEFT: event.key = kKeyLeft; return true;
      case KEY_RIGHT: event.key = kKeyRight; return true;
      case KEY_HOME: event.key = kKeyHome; return true;
      case KEY_END: event.key = kKeyEnd; return true;
      case KEY_PPAGE: event.key = kKeyPageUp; return true;
      case KEY_NPAGE: event.key = kKeyPageDown; return true;
      case KEY_DC: event.key = kKeyDelete; return true;
      case KEY_BACKSPACE: event.key = kKeyBackspace; return true;
      case KEY_BTAB: event.key = kKeyBackTab; return true;
      case KEY_ENTER: event.key = kKeyEnter; return true;
      case KEY_RESIZE: event.type = Event::kResize; return true;
      case KEY_MOUSE: return mouse(event);
      default: break;
    }
    if (key >= KEY_F(1) && key <= KEY_F(12)) {
      event.key = kKeyF1 + key - KEY_F(1);
      return true;
    }
    if (key >= KEY_F(13) && key <= KEY_F(16)) {
      event.key = kKeyShiftF1 + key - KEY_F(13);
      return true;
    }
    event.type = Event::kIdle;
    return true;
  }

  bool mouse(Event& event) {
    event = Event();
    MEVENT m;
    if (getmouse(&m) != OK || !(m.bstate & (BUTTON1_CLICKED | BUTTON1_PRESSED))) return true;
    for (auto it = hits_.rbegin(); it != hits_.rend(); ++it) {
      if (m.y < it->top || m.y > it->bottom || m.x < it->left || m.x > it->right) continue;
      Control* c = findControl(it->id);
      if (!c) return true;
      event.control = c->id;
      switch (c->kind) {
        case kKindButton:
        case kKindArrow:
        case kKindBitmap: event.type = Event::kPress; break;
        case kKindMenuBar:
        case kKindMenuItem: event.type = Event::kMenu; break;
        case kKindList:
        case kKindGrid:
          event.type = Event::kChoose;
          event.number = it->firstRow + (m.y - it->top);
          break;
        case kKindFolder:
          event.type = Event::kChoose;
          event.number = it->firstRow;
          break;
        default: event.type = Event::kFocus; break;
      }
      return true;
    }
    return true;
  }

  SCREEN* screen_ = nullptr;
  FILE* terminal_ = nullptr;
  uint16_t windowId_ = 0;
  Units units_ = {160, 160, 5, 12};
  std::vector<Hit> hits_;
  std::vector<std::pair<int, int>> menuSpots_;
  std::map<int, short> pairs_;
  std::pair<int, int> cursor_ = {-1, -1};
  std::string info_;
};

}  // namespace

bool onTerminal() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

std::unique_ptr<Driver> makeTerminalDriver() {
  auto terminal = std::make_unique<TerminalDriver>();
  if (!terminal->start()) return nullptr;
  return terminal;
}

}  // namespace ui
