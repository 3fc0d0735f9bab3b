// The device functions this host has no counterpart for (messages by SMS,
// the camera, signature capture, the bar-code scanner, the console server,
// connection profiles ...). A program that calls one builds and runs; the
// call stops it with RUNTIME ERROR! and the function's name.
#include "zeltadevice.h"

#include <stdio.h>

#include "core.h"

namespace {

// In the error languages' order: Portuguese, English, Spanish.
const char* const kNotAvailable[] = {
    "%s: função não disponível nesta plataforma",
    "%s: function not available on this platform",
    "%s: función no disponible en esta plataforma",
};

[[noreturn]] void notAvailable(const char* function) {
  const int language = core::errorLanguage();
  const char* format = kNotAvailable[language >= 1 && language <= 3 ? language - 1 : 0];
  char text[256];
  snprintf(text, sizeof text, format, function);
  core::raiseWithText(RUNTIME_ERROR, text);
}

}  // namespace

// clang-format off
pObj_Node __SendSmsMsg(pObj_Node, pObj_Node, pObj_Node, pObj_Node, pObj_Node) { notAvailable("__SendSmsMsg"); }
pObj_Node __ReadSmsMsg() { notAvailable("__ReadSmsMsg"); }
pObj_Node __SmsOpen(pObj_Node) { notAvailable("__SmsOpen"); }
pObj_Node __SmsClose() { notAvailable("__SmsClose"); }
pObj_Node SETBATCHOPER(pObj_Node) { notAvailable("SETBATCHOPER"); }
pObj_Node __StartServer(pObj_Node, pObj_Node, pObj_Node) { notAvailable("__StartServer"); }
pObj_Node __ConnectConsole(pObj_Node, pObj_Node) { notAvailable("__ConnectConsole"); }
pObj_Node __SendConsole(pObj_Node, pObj_Node) { notAvailable("__SendConsole"); }
pObj_Node __ReadConsole(pObj_Node, pObj_Node) { notAvailable("__ReadConsole"); }
pObj_Node __CreateArrayBrowse(pObj_Node, pObj_Node, pObj_Node, pObj_Node, pObj_Node, pObj_Node, pObj_Node, pObj_Node,
                              pObj_Node) { notAvailable("__CreateArrayBrowse"); }
pObj_Node __GetSignature(pObj_Node) { notAvailable("__GetSignature"); }
pObj_Node __ShowSignature(pObj_Node, pObj_Node, pObj_Node) { notAvailable("__ShowSignature"); }
pObj_Node __DelSignature(pObj_Node) { notAvailable("__DelSignature"); }
pObj_Node __GetProfileCon(pObj_Node) { notAvailable("__GetProfileCon"); }
pObj_Node __GetProfileNet(pObj_Node) { notAvailable("__GetProfileNet"); }
pObj_Node __SetProfileNet(pObj_Node, pObj_Node) { notAvailable("__SetProfileNet"); }
pObj_Node __GetActiveProfileNet(pObj_Node) { notAvailable("__GetActiveProfileNet"); }
pObj_Node __AddProfileNet(pObj_Node) { notAvailable("__AddProfileNet"); }
pObj_Node __AddProfileCon(pObj_Node) { notAvailable("__AddProfileCon"); }
pObj_Node __CaptureCode() { notAvailable("__CaptureCode"); }
pObj_Node __EzeltaTest() { notAvailable("__EzeltaTest"); }
pObj_Node __CameraCapture(pObj_Node) { notAvailable("__CameraCapture"); }
// clang-format on
