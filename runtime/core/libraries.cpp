// Foreign libraries: where a library named by a program is looked for, the
// list of those loaded in this application, nHdlGetDllHandle and
// GetProcAddress of the generated foreign-call wrappers, and what exported
// functions call to hand values to C (ExportText, SETBUFFSIZE).
//
// A name is first made a host name: '\' becomes '/', and a ".dll" ending (in
// any case), or no extension at all, becomes ".so". A name with a directory
// is tried as it stands, then with "lib" before its file name. A bare name
// is looked for beside the program, then beside libzeltace.so, then where
// the system finds shared libraries; in each place as given, then with
// "lib" in front ("alpha22.dll" is found as libalpha22.so).
#include "core.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "host.h"
#include "zeltamisc.h"
#include "zeltautil.h"

namespace core {

struct LibraryEntry {
  char* fileName;  // as the program named it
  void* handle;
  LibraryEntry* next;
};

namespace {

bool endsWithDll(const std::string& name) {
  if (name.size() < 4) return false;
  const char* tail = name.c_str() + name.size() - 4;
  return (tail[0] == '.') && (tail[1] == 'd' || tail[1] == 'D') && (tail[2] == 'l' || tail[2] == 'L') &&
         (tail[3] == 'l' || tail[3] == 'L');
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::string hostLibraryName(const char* name) {
  std::string file = name ? name : "";
  for (char& c : file) {
    if (c == '\\') c = '/';
  }
  const size_t slash = file.rfind('/');
  const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
  if (endsWithDll(file)) {
    file.replace(file.size() - 4, 4, ".so");
  } else if (!base.empty() && base.find('.') == std::string::npos) {
    file += ".so";
  }
  return file;
}

std::vector<std::string> librarySearchList(const char* name) {
  const std::string file = hostLibraryName(name);
  std::vector<std::string> list;
  const size_t slash = file.rfind('/');
  const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
  if (base.empty()) return list;
  const bool prefixed = base.compare(0, 3, "lib") == 0;
  auto both = [&](const std::string& dir) {
    list.push_back(dir + base);
    if (!prefixed) list.push_back(dir + "lib" + base);
  };
  if (slash != std::string::npos) {
    both(file.substr(0, slash + 1));
    return list;
  }
  const std::string program = directoryOf(host::modulePath());
  const std::string runtime = directoryOf(host::runtimePath());
  if (!program.empty()) both(program);
  if (!runtime.empty() && runtime != program) both(runtime);
  both("");
  return list;
}

void* loadLibrary(const char* name) {
  if (!name) name = "";
  for (LibraryEntry* e = state().libraries; e; e = e->next) {
    if (strcmp(e->fileName, name) == 0) return e->handle;
  }
  void* handle = nullptr;
  for (const std::string& candidate : librarySearchList(name)) {
    // Paths are opened only when the file is there, so that a bare name
    // reaches the system's own search.
    if (candidate.find('/') != std::string::npos && !host::fileExists(candidate)) continue;
    if ((handle = host::openLibrary(candidate.c_str()))) break;
  }
  if (!handle) return nullptr;
  LibraryEntry* e = static_cast<LibraryEntry*>(allocOrDie(sizeof(LibraryEntry)));
  const size_t len = strlen(name) + 1;
  e->fileName = static_cast<char*>(allocOrDie(len));
  memcpy(e->fileName, name, len);
  e->handle = handle;
  e->next = state().libraries;
  state().libraries = e;
  return handle;
}

void* librarySymbol(void* library, const char* symbol) {
  return library && symbol ? host::findSymbol(library, symbol) : nullptr;
}

void forgetLibraries() {
  // The libraries stay mapped for the process: a wrapper's function
  // pointer may still be in use, and the next application finds them again.
  LibraryEntry*& libraries = state().libraries;
  while (libraries) {
    LibraryEntry* next = libraries->next;
    xfree(libraries->fileName);
    xfree(libraries);
    libraries = next;
  }
}

}  // namespace core

void* nHdlGetDllHandle(const char* fileName) {
  void* handle = core::loadLibrary(fileName);
  if (!handle) {
    snprintf(glob->msgBuffer, 1025, "DLL %s não encontrada", fileName ? fileName : "");
    __MsgAlert(__INIT_CHARPTR(glob->msgBuffer), __INIT_CHARPTR("Alert"));
    __RuntimeError(DLL_NOT_FOUND, 133);
  }
  return handle;
}

void* GetProcAddress(HMODULE library, const char* name) { return core::librarySymbol(library, name); }

char* ExportText(pObj_Node value) {
  if (!value || value->objType != T_CHARPTR) return nullptr;
  const std::string_view text = core::textOf(value);
  char* copy = static_cast<char*>(malloc(text.size() + 1));
  if (!copy) return nullptr;
  memcpy(copy, text.data(), text.size());
  copy[text.size()] = 0;
  return copy;
}

pObj_Node SETBUFFSIZE(pObj_Node buffer, pObj_Node size) {
  const long bytes = core::checkWhole(size);
  if (!buffer || bytes < 0 || bytes > 0x7FFFFFF0L) __RuntimeError(ARGUMENT_ERROR, -1);
  return __SET_OBJECT(buffer, __ALLOC_CHARPTR(static_cast<int>(bytes)));
}
