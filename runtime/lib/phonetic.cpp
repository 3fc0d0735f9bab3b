// __Fonetizar: the phonetic key of a text, from the ALPHA2 call of the
// phonetic library ("alpha22.dll", libalpha22.so on this host, installed
// beside the run-time). The library is loaded on the first call and kept;
// the key replaces the text of the variable passed.
#include "zeltastring.h"

#include <string.h>

#include <string>

#include "arguments.h"
#include "core.h"
#include "lib_state.h"
#include "zeltautil.h"

namespace {

constexpr char kLibraryName[] = "alpha22.dll";
constexpr int kPadding = 128;  // blanks after the text: room the library may write into

lib::PhoneticCall phoneticCall() {
  lib::State& s = lib::state();
  if (!s.alpha2) {
    void* library = core::loadLibrary(kLibraryName);
    s.alpha2 = reinterpret_cast<lib::PhoneticCall>(core::librarySymbol(library, "ALPHA2"));
  }
  return s.alpha2;
}

}  // namespace

pObj_Node __Fonetizar(pObj_Node mode, pObj_Node text) {
  const std::string_view modeText = core::checkText(mode);
  const std::string_view original = core::checkText(text);
  const lib::PhoneticCall alpha2 = phoneticCall();
  if (!alpha2) {
    Alert2("Falhou carga Alpha22.DLL");
    return core::newNumber(-1);
  }
  // "F" (full) asks for every word; anything else leaves name particles out.
  const char* code = !modeText.empty() && (modeText[0] == 'F' || modeText[0] == 'f') ? "0" : "1";
  std::string buffer(original);
  buffer.append(kPadding, ' ');
  int length = static_cast<int>(original.size());
  if (alpha2(&length, code, &buffer[0]) != 0 || length < 0 || length > static_cast<int>(buffer.size()) - 1)
    return core::newNumber(-1);
  buffer.resize(static_cast<size_t>(length));
  __SET_OBJECT(text, core::newText(buffer));
  return core::newNumber(length);
}
