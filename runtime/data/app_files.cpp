// Files as programs see them: __File tells whether one exists (a relative
// name taken against the current directory, as the program's own file
// operations take it), GETSPACE how much room is left in the application
// directory.
#include <string>

#include "arguments.h"
#include "core.h"
#include "host.h"
#include "data_state.h"
#include "store.h"
#include "store_host.h"
#include "zeltardd.h"

pObj_Node __File(pObj_Node name) {
  const std::string path(core::checkText(name));
  return __INIT_BOOL(!path.empty() && core::host::fileExists(path));
}

// The bytes free where the application directory lies; the device's card
// and space-kind arguments have no counterpart here.
pObj_Node GETSPACE(pObj_Node, pObj_Node) {
  data::appFile(".");
  const long long bytes = data::host::freeSpace(data::state().appDir);
  return __INIT_DOUBLE(bytes < 0 ? 0 : static_cast<double>(bytes));
}
