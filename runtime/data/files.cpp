// The file functions of the language that ask the file system about names:
// File(). A relative name is taken against the current directory, as the
// program's own file operations take it.
#include "zeltardd.h"

#include <string>

#include "arguments.h"
#include "host.h"

pObj_Node __File(pObj_Node name) {
  const std::string path(core::checkText(name));
  return __INIT_BOOL(!path.empty() && core::host::fileExists(path));
}
