// Menu bars (menus.h) and their exports. While F10 holds the bar the window
// record says which entry (menuEntry, 1-based) and which item of its menu
// (menuItem, 0 while the menu is closed) are lit:
//
//   closed ──F10──> entry lit ──Enter/Down──> menu open (item lit)
//      ^               │  Left/Right: next entry     │ Up/Down: next item
//      └──── Esc ──────┴──────── Enter: choose ──────┘
#include "menus.h"

#include <algorithm>

#include "arguments_ui.h"
#include "dialog.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

Control* lastEntry(Window& window) {
  for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it)
    if ((*it)->kind == kKindMenuBar) return it->get();
  return nullptr;
}

void closeBar(Window& window) {
  window.menuEntry = 0;
  window.menuItem = 0;
}

int itemPosition(const Window& window, const Control& item) {
  if (const Control* entry = findControl(item.owner)) {
    std::vector<Control*> items = menuItems(window, *entry);
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == &item) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace

bool hasMenuBar(const Window& window) {
  for (const auto& c : window.controls)
    if (c->kind == kKindMenuBar) return true;
  return false;
}

std::vector<Control*> menuEntries(const Window& window) {
  std::vector<Control*> entries;
  for (const auto& c : window.controls)
    if (c->kind == kKindMenuBar && !c->text.empty() && c->visible) entries.push_back(c.get());
  return entries;
}

std::vector<Control*> menuItems(const Window& window, const Control& entry) {
  std::vector<Control*> items;
  for (const auto& c : window.controls)
    if (c->kind == kKindMenuItem && c->owner == entry.id && c->visible) items.push_back(c.get());
  return items;
}

void openMenuBar(Window& window) {
  if (menuEntries(window).empty()) return;
  window.menuEntry = 1;
  window.menuItem = 0;
}

void menuKey(Window& window, int key) {
  std::vector<Control*> entries = menuEntries(window);
  if (entries.empty() || window.menuEntry > static_cast<int>(entries.size())) return closeBar(window);
  Control& entry = *entries[static_cast<size_t>(window.menuEntry - 1)];
  std::vector<Control*> items = menuItems(window, entry);
  const int entryCount = static_cast<int>(entries.size());
  const int itemCount = static_cast<int>(items.size());
  switch (key) {
    case kKeyEsc:
    case kKeyF10:
      if (window.menuItem && key == kKeyEsc) {
        window.menuItem = 0;
        return;
      }
      return closeBar(window);
    case kKeyLeft:
    case kKeyRight: {
      const bool open = window.menuItem != 0;
      window.menuEntry =
          key == kKeyLeft ? (window.menuEntry + entryCount - 2) % entryCount + 1 : window.menuEntry % entryCount + 1;
      const Control& next = *entries[static_cast<size_t>(window.menuEntry - 1)];
      window.menuItem = open && !menuItems(window, next).empty() ? 1 : 0;
      return;
    }
    case kKeyDown:
      if (itemCount) window.menuItem = window.menuItem % itemCount + 1;
      return;
    case kKeyUp:
      if (itemCount && window.menuItem) window.menuItem = (window.menuItem + itemCount - 2) % itemCount + 1;
      return;
    case kKeyEnter:
    case kKeySpace: {
      if (itemCount && !window.menuItem) {
        window.menuItem = 1;
        return;
      }
      Control& chosen = itemCount ? *items[static_cast<size_t>(window.menuItem - 1)] : entry;
      closeBar(window);
      Event event;
      event.type = Event::kMenu;
      event.control = chosen.id;
      return chooseMenuItem(window, chosen, event);
    }
    default: return;
  }
}

void chooseMenuItem(Window& window, Control& item, const Event& event) {
  if (item.kind != kKindMenuItem && item.kind != kKindMenuBar)
    return driver().reject(event, "control " + std::to_string(item.id) + " is not a menu item");
  if (!item.enabled) return driver().reject(event, "menu item " + std::to_string(item.id) + " is disabled");
  if (item.kind == kKindMenuBar && !menuItems(window, item).empty()) {
    // An entry with a menu opens it.
    std::vector<Control*> entries = menuEntries(window);
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i] == &item) window.menuEntry = static_cast<int>(i) + 1;
    window.menuItem = 1;
    return;
  }
  closeBar(window);
  if (item.action) callBlock(item.action, window.id, item.id, __INIT_DOUBLE(itemPosition(window, item)));
}

void releaseMenus(Window& window) {
  closeBar(window);
  removeControls(window, kKindMenuBar, kKindMenuItem);
}

}  // namespace ui

using namespace ui;

pObj_Node __AddMenuBar(pObj_Node window, pObj_Node caption, pObj_Node action) {
  Window& w = checkWindow(window);
  const std::string text(core::checkText(caption));
  Block act = blockOr(action);
  Control& entry = addControl(w, kKindMenuBar);
  entry.folder = 0;
  entry.page = 0;
  entry.text = text;
  entry.action = act;
  return idRecord(entry.id);
}

pObj_Node __AddMenuItem(pObj_Node menu, pObj_Node caption, pObj_Node action) {
  const uint16_t id = checkId(menu);
  const std::string text(core::checkText(caption));
  Block act = blockOr(action);
  Window* w = currentWindow();
  Control* entry = w ? lastEntry(*w) : nullptr;
  if (!entry || entry->id != id) return __INIT_NIL();
  Control& item = addControl(*w, kKindMenuItem);
  item.folder = 0;
  item.page = 0;
  item.owner = entry->id;
  item.text = text;
  item.action = act;
  return idRecord(item.id);
}
