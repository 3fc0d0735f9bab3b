// Files of the application directory as programs see them: __File tells
// whether one exists (a bare name is looked up in the application
// directory, as written and in upper case, the case tables are kept in),
// GETSPACE how much room is left for them.
#include <ctype.h>

#include <string>

#include "core.h"
#include "data_state.h"
#include "store.h"
#include "store_host.h"
#include "zeltardd.h"

pObj_Node __File(pObj_Node name) {
  if (!name || name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  std::string path = name->objData.mbuff ? name->objData.mbuff : "";
  while (!path.empty() && path.back() == ' ') path.pop_back();
  if (path.empty()) return __INIT_BOOL(0);
  if (path.find('/') != std::string::npos) return __INIT_BOOL(data::FileExists(path.c_str()));
  const std::string file = data::appFile(path);
  std::string upper = path;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return __INIT_BOOL(data::FileExists(file.c_str()) || data::FileExists(data::appFile(upper).c_str()));
}

// The bytes free where the application directory lies; the device's card
// and space-kind arguments have no counterpart here.
pObj_Node GETSPACE(pObj_Node, pObj_Node) {
  data::appFile(".");
  const long long bytes = data::host::freeSpace(data::state().appDir);
  return __INIT_DOUBLE(bytes < 0 ? 0 : static_cast<double>(bytes));
}
