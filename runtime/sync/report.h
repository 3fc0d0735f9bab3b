// What the communication code tells the user and records: the state text of
// the sync window, the info window, "Alert" boxes and message-log lines.
// Every log line goes through logLine, the one place that hands it on.
#ifndef ZELTA_RUNTIME_SYNC_REPORT_H
#define ZELTA_RUNTIME_SYNC_REPORT_H

#include <string>

namespace sync {

// Records one message-log line (kept in the recent lines too).
void logLine(const std::string& text);
// printf-style; the text is cut at 1,024 bytes.
void logf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Texts of the sync window, shown through the user-interface hooks.
void showState(const std::string& text);
void showInfo(const std::string& text);
void alert(const std::string& text);

// Row n of the auxiliary message table in the current language, formatted
// with the arguments (for the rows that carry %s or %d).
std::string auxText(int n, ...);
// Shows row n (unformatted) as the state text.
void showAux(int n);

// The current time as "hh:mm:ss", for log lines.
std::string clockText();

}  // namespace sync

#endif
