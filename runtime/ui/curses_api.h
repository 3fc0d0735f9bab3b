// Curses as the terminal driver sees it. The run-time does not link curses:
// the first terminal driver loads it, so a program that runs headless never
// maps it (nor pays for its relocations at start). Include this after every
// other header: from here on the curses names the driver uses call through
// the table that loadCurses fills.
#ifndef ZELTA_UI_CURSES_API_H
#define ZELTA_UI_CURSES_API_H

#include <curses.h>

#define ZELTA_CURSES_FUNCTIONS(X)                                                                                  \
  X(beep) X(cbreak) X(clearok) X(curs_set) X(delscreen) X(endwin) X(erase) X(getmouse) X(has_colors) X(init_pair) \
  X(keypad) X(mouseinterval) X(mousemask) X(move) X(newterm) X(noecho) X(nonl) X(refresh) X(reset_prog_mode)      \
  X(set_escdelay) X(set_term) X(start_color) X(use_default_colors) X(waddch) X(waddnstr) X(wattr_off) X(wattr_on) \
  X(wget_wch) X(whline) X(wmove) X(wtimeout)

namespace ui {

struct CursesApi {
#define ZELTA_CURSES_POINTER(name) decltype(&::name) name;
  ZELTA_CURSES_FUNCTIONS(ZELTA_CURSES_POINTER)
#undef ZELTA_CURSES_POINTER
  int* colorPairs;
  int* cols;
  int* lines;
  chtype* acsMap;
  WINDOW** screenWindow;
};

extern CursesApi cursesApi;

// Loads the library once; false (and the table left empty) when it or one
// of its names cannot be found.
bool loadCurses();

}  // namespace ui

// The loader itself sees the plain names. `beep` stays unmapped: the driver
// has a member of that name.
#ifndef ZELTA_CURSES_LOADER
#undef cbreak
#define cbreak (*::ui::cursesApi.cbreak)
#undef clearok
#define clearok (*::ui::cursesApi.clearok)
#undef curs_set
#define curs_set (*::ui::cursesApi.curs_set)
#undef delscreen
#define delscreen (*::ui::cursesApi.delscreen)
#undef endwin
#define endwin (*::ui::cursesApi.endwin)
#undef erase
#define erase (*::ui::cursesApi.erase)
#undef getmouse
#define getmouse (*::ui::cursesApi.getmouse)
#undef has_colors
#define has_colors (*::ui::cursesApi.has_colors)
#undef init_pair
#define init_pair (*::ui::cursesApi.init_pair)
#undef keypad
#define keypad (*::ui::cursesApi.keypad)
#undef mouseinterval
#define mouseinterval (*::ui::cursesApi.mouseinterval)
#undef mousemask
#define mousemask (*::ui::cursesApi.mousemask)
#undef move
#define move (*::ui::cursesApi.move)
#undef newterm
#define newterm (*::ui::cursesApi.newterm)
#undef noecho
#define noecho (*::ui::cursesApi.noecho)
#undef nonl
#define nonl (*::ui::cursesApi.nonl)
#undef refresh
#define refresh (*::ui::cursesApi.refresh)
#undef reset_prog_mode
#define reset_prog_mode (*::ui::cursesApi.reset_prog_mode)
#undef set_escdelay
#define set_escdelay (*::ui::cursesApi.set_escdelay)
#undef set_term
#define set_term (*::ui::cursesApi.set_term)
#undef start_color
#define start_color (*::ui::cursesApi.start_color)
#undef use_default_colors
#define use_default_colors (*::ui::cursesApi.use_default_colors)
#undef waddch
#define waddch (*::ui::cursesApi.waddch)
#undef waddnstr
#define waddnstr (*::ui::cursesApi.waddnstr)
#undef wattr_off
#define wattr_off (*::ui::cursesApi.wattr_off)
#undef wattr_on
#define wattr_on (*::ui::cursesApi.wattr_on)
#undef wget_wch
#define wget_wch (*::ui::cursesApi.wget_wch)
#undef whline
#define whline (*::ui::cursesApi.whline)
#undef wmove
#define wmove (*::ui::cursesApi.wmove)
#undef wtimeout
#define wtimeout (*::ui::cursesApi.wtimeout)
#undef COLOR_PAIRS
#define COLOR_PAIRS (*::ui::cursesApi.colorPairs)
#undef COLS
#define COLS (*::ui::cursesApi.cols)
#undef LINES
#define LINES (*::ui::cursesApi.lines)
#undef acs_map
#define acs_map (::ui::cursesApi.acsMap)
#undef stdscr
#define stdscr (*::ui::cursesApi.screenWindow)
#endif

#endif
