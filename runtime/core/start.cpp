// The start-up object linked into every program: the host's `main` hands over
// to the WinMain that the compiler generates, as the device loader would.
#include "zeltautil.h"

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  return WinMain(nullptr, nullptr, const_cast<LPTSTR>(""), 0);
}
