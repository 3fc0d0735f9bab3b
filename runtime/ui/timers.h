// Timers: controls of kind 15 that call their action every interval while
// active, and the system timers behind them, which run on real time and
// expire only inside the modal loops (never while a message box is up).
#ifndef ZELTA_UI_TIMERS_H
#define ZELTA_UI_TIMERS_H

#include "driver.h"
#include "model.h"

namespace ui {

// Milliseconds until the next system timer expires (-1: none is running).
int timerWaitMs();
// Delivers every expired system timer to the common timer procedure.
void fireDueTimers();
// Fires one timer now, as its expiry would (the script's "timer" event).
void fireTimer(Control& timer, const Event& event);
// Hands an id to the common timer procedure (the script's "timer 615").
void fireProcessTimer(uint16_t id);
// Stops the system timers of a window that is freed.
void stopWindowTimers(const Window& window);
// The server keep-alive sent by the process-wide timer 615; the
// synchronisation folder registers it.
void setKeepAlive(void (*keepAlive)());

}  // namespace ui

#endif
