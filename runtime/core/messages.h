// The three-language table of auxiliary messages.
#ifndef ZELTA_CORE_MESSAGES_H
#define ZELTA_CORE_MESSAGES_H

namespace core {

constexpr int kAuxMessageCount = 141;

// Row `row` in `language` (1 Portuguese, 2 English, 3 Spanish); "" outside.
const char* auxMessage(int language, int row);

}  // namespace core

#endif
