// Menu bars: entries (kind 14) and their items (kind 17) are controls of
// their window, in the order they were added; an item's owner is its entry.
// F10 (or a click on the bar) opens the bar; the model keeps which entry and
// item are lit in the window record.
#ifndef ZELTA_UI_MENUS_H
#define ZELTA_UI_MENUS_H

#include <vector>

#include "driver.h"
#include "model.h"

namespace ui {

bool hasMenuBar(const Window& window);
// The entries of the window's bar that have a caption, and an entry's items.
std::vector<Control*> menuEntries(const Window& window);
std::vector<Control*> menuItems(const Window& window, const Control& entry);
// F10: lights the first entry.
void openMenuBar(Window& window);
// A key while the bar is open.
void menuKey(Window& window, int key);
// Chooses an item (or an entry without items) and calls its action.
void chooseMenuItem(Window& window, Control& item, const Event& event);
// Frees the window's menu records (the end of its modal loop).
void releaseMenus(Window& window);

}  // namespace ui

#endif
