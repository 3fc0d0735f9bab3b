// Bitmap controls (kind 22): a picture named by its file, drawn by the
// terminal as a frame with the name and listed by the screen dump; a click
// calls its action. Also the image files a program writes (WriteImageFile)
// and the run-time's own bitmaps (SETBMP), which are numbered, not files.
#include <cctype>
#include <fstream>

#include "arguments_ui.h"
#include "core.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

// The run-time's own bitmaps are all drawn in a square of this many units.
constexpr int kResourceBitmapUnits = 16;
constexpr size_t kImageBlock = 512;

Control* bitmapControl(pObj_Node id) {
  Control* c = findControl(checkId(id));
  return c && c->kind == kKindBitmap ? c : nullptr;
}

bool endsWithJpg(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".jpg";
}

}  // namespace

// The file an image named `name` is written to: the name with ".jpg" for
// its extension, in the application directory unless it names a path.
std::string imageFileName(const std::string& name) {
  std::string file = name;
  if (!endsWithJpg(file)) {
    const size_t dot = file.find_last_of('.');
    const size_t slash = file.find_last_of('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
    file += ".jpg";
  }
  if (!file.empty() && file[0] != '/') file = core::appDirectory() + "/" + file;
  return file;
}

}  // namespace ui

using namespace ui;

pObj_Node NewBitMap(pObj_Node window, pObj_Node x, pObj_Node y, pObj_Node width, pObj_Node height, pObj_Node name,
                    pObj_Node stretch, pObj_Node frame, pObj_Node action) {
  Window& w = checkWindow(window);
  const int col = static_cast<int>(core::checkWhole(x));
  const int row = static_cast<int>(core::checkWhole(y));
  const Units u = unitsOf(w.metrics);
  const int wd = wholeOr(width, 4 * u.charWidth);
  const int h = wholeOr(height, 3 * u.lineHeight);
  const std::string file = textOr(name, "");
  const bool fit = boolOr(stretch, false);
  const bool framed = boolOr(frame, false);
  Block act = blockOr(action);
  Control& c = addControl(w, kKindBitmap);
  c.x = col;
  c.y = row;
  c.width = wd;
  c.height = h;
  c.text = file;
  c.flag = (fit ? 1 : 0) | (framed ? 2 : 0);
  c.action = act;
  return idRecord(c.id);
}

pObj_Node ShowBitmap(pObj_Node id, pObj_Node name) {
  Control* c = bitmapControl(id);
  const std::string file(core::checkText(name));
  if (!c) core::argumentError();
  c->text = file;
  return __INIT_BOOL(1);
}

pObj_Node ShowBitMap(pObj_Node id, pObj_Node name) { return ShowBitmap(id, name); }

pObj_Node SETBMP(pObj_Node id, pObj_Node bitmap) {
  Control* c = findControl(checkId(id));
  const long number = core::checkWhole(bitmap);
  if (!c) return __INIT_BOOL(0);
  c->text = "#" + std::to_string(number);
  c->flag = static_cast<int>(number);
  c->width = kResourceBitmapUnits;
  c->height = kResourceBitmapUnits;
  return __INIT_BOOL(1);
}

pObj_Node PaintBitmap(pObj_Node id) {
  // The drivers draw every bitmap with its dialog: there is nothing to
  // paint on demand, only to tell whether there is a bitmap.
  Control* c = bitmapControl(id);
  return __INIT_BOOL(c && !c->text.empty());
}

pObj_Node PaintBitmap2(pObj_Node id) { return PaintBitmap(id); }

pObj_Node GetWideBmpName(pObj_Node name) { return core::newText(imageFileName(std::string(core::checkText(name)))); }

pObj_Node WriteImageFile(pObj_Node name, pObj_Node size, pObj_Node bytes) {
  const std::string file = imageFileName(std::string(core::checkText(name)));
  const long wanted = given(size) ? core::checkWhole(size) : 0;
  if (given(bytes) && bytes->objType != T_CHARPTR) core::argumentError();
  // Never past the buffer: a size larger than the bytes given writes the bytes.
  const std::string_view content = given(bytes) ? core::bytesOf(bytes) : std::string_view();
  const char* data = content.data();
  const size_t count = wanted > 0 ? std::min(static_cast<size_t>(wanted), content.size()) : 0;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return __INIT_BOOL(0);
  for (size_t at = 0; at < count; at += kImageBlock)
    out.write(data + at, static_cast<std::streamsize>(std::min(kImageBlock, count - at)));
  out.close();
  return __INIT_BOOL(static_cast<bool>(out));
}
