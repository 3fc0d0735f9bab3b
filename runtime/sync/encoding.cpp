// Base64 and RC4 for programs and foreign calls: Encode64 / Decode64 on C
// buffers, __DoEncode / __DoDecode behind the encoding switch, __CryptoData,
// and the search for a buffer's last zero byte.
#include <string.h>

#include <string>

#include "arguments.h"
#include "base64.h"
#include "core.h"
#include "rc4.h"
#include "zeltanet.h"
#include "zeltautil.h"

namespace {

// Bytes of a string's buffer, its zero byte included.
size_t bufferLength(pObj_Node v) {
  if (v->objLength >= 1) return static_cast<size_t>(v->objLength);
  return v->objData.mbuff ? strlen(v->objData.mbuff) + 1 : 0;
}

pObj_Node checkString(pObj_Node v) {
  if (!core::isType(v, T_CHARPTR)) __RuntimeError(ARGUMENT_ERROR, -1);
  return v;
}

// A copy of the string's text (the switch-off result of both directions).
pObj_Node copyOf(pObj_Node v) { return core::newText(core::textOf(v)); }

}  // namespace

unsigned char* Encode64(unsigned char* data, int length) {
  if (length < 0 || (length > 0 && !data)) return nullptr;
  const size_t n = static_cast<size_t>(length);
  size_t size = n + n / 2 + 32;
  size += size & 1;
  unsigned char* out = static_cast<unsigned char*>(xmalloc(size));
  if (!out) return nullptr;
  memset(out, 0, size);
  // One byte stays zero: the text's terminator.
  wire::base64Encode(data, n, reinterpret_cast<char*>(out), size - 1);
  return out;
}

void FreeEncode64(unsigned char* buffer) {
  if (buffer) xfree(buffer);
}

void Decode64(unsigned char* text, unsigned char* out, long* length) {
  if (!text || !out || !length) {
    if (length) *length = 0;
    return;
  }
  const size_t n = *length > 0 ? strnlen(reinterpret_cast<const char*>(text), static_cast<size_t>(*length)) : 0;
  const size_t count = wire::base64Decode(reinterpret_cast<const char*>(text), n, out, n);
  out[count] = 0;
  *length = static_cast<long>(count);
}

pObj_Node __DoEncode(pObj_Node text) {
  checkString(text);
  if (!core::encodeSwitch() || !text->objData.mbuff) return copyOf(text);
  const size_t n = bufferLength(text);
  return core::newFilledText(wire::base64EncodedSize(n), [&](char* out) {
    wire::base64Encode(reinterpret_cast<const uint8_t*>(text->objData.mbuff), n, out, wire::base64EncodedSize(n));
  });
}

pObj_Node __DoDecode(pObj_Node text) {
  checkString(text);
  if (!core::encodeSwitch() || !text->objData.mbuff) return copyOf(text);
  const std::string_view source = core::textOf(text);
  std::string bytes(source.size(), '\0');
  bytes.resize(wire::base64Decode(source.data(), source.size(), reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size()));
  const int16_t level = text->level;
  pObj_Node result = core::newFilledText(bytes.size(), [&](char* out) {
    if (!bytes.empty()) memcpy(out, bytes.data(), bytes.size());
  });
  result->level = level;
  return result;
}

pObj_Node __CryptoData(pObj_Node text, pObj_Node key) {
  const std::string_view data = core::checkText(text);
  const std::string_view secret = core::checkText(key);
  if (data.empty() || secret.empty()) return core::newText("");
  std::string bytes(data);
  wire::rc4Transform(reinterpret_cast<const uint8_t*>(secret.data()), secret.size(),
                     reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size());
  // A zero result byte adds nothing to the text.
  std::string result;
  result.reserve(bytes.size());
  for (char c : bytes)
    if (c) result.push_back(c);
  return core::newText(result);
}

int FindLastZero(const char* buffer, int length) {
  if (!buffer || length <= 0) return 0;
  for (int i = length - 1; i >= 0; --i)
    if (buffer[i] == 0) return i + 1;
  return 0;
}

pObj_Node __GetLastZero(pObj_Node text) {
  checkString(text);
  const size_t n = bufferLength(text);
  return __INIT_DOUBLE(FindLastZero(text->objData.mbuff, static_cast<int>(n)));
}
