// Session log lines (the format is drawn in session_log.h). Texts that came
// from the network are quoted with their control bytes escaped, so a device
// cannot forge a line.
#include "session_log.h"

#include <time.h>

namespace server {

namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// A user or device name bare when it is plain, quoted otherwise.
std::string field(const std::string& text) {
  bool plain = !text.empty();
  for (unsigned char c : text)
    if (c <= ' ' || c == '"' || c == '\\' || c == '=' || c >= 0x7f) plain = false;
  return plain ? text : quoted(text);
}

}  // namespace

std::string sessionLine(const Conversation& c, const std::string& address, double seconds) {
  char stamp[32];
  const time_t now = time(nullptr);
  struct tm parts;
  gmtime_r(&now, &parts);
  strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &parts);
  char tail[96];
  snprintf(tail, sizeof tail, " result=%s requests=%d seconds=%.3f", resultName(c.result()), c.requests(), seconds);
  std::string line = std::string(stamp) + " session user=" + field(c.user()) + " device=" + field(c.device()) +
                     " address=" + address + tail;
  if (c.result() != Result::Ok && !c.detail().empty()) line += " detail=" + quoted(c.detail());
  return line;
}

void writeSessionLine(FILE* log, const std::string& line) {
  fprintf(log, "%s\n", line.c_str());
  fflush(log);
}

}  // namespace server
