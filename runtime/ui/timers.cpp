// Timers (timers.h) and their exports. A timer control keeps its action,
// its active flag and its interval; ACTIVETIMER starts a system timer with
// the timer's id and interval, whose expiries reach the common timer
// procedure, which calls the action while the timer is active:
//
//   ADDTIMER ─> inactive ──ACTIVETIMER──> active, system timer running
//                  ^  ^                      │            │
//                  │  └──── DEACTIVETIMER ───┘ (system    │
//                  │        timer keeps running, its      │
//                  │        expiries are ignored)         │
//                  └──────────── __TimerDestroy ──────────┘ (stopped)
//
// __SetTimerInt changes the interval for the next ACTIVETIMER. Timer 615 is
// the process-wide keep-alive timer (ativartemporizador).
#include "timers.h"

#include <chrono>

#include "arguments_ui.h"
#include "dialog.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

constexpr uint16_t kKeepAliveTimer = 615;
constexpr long kKeepAliveMs = 60000;

struct TimerData : Extra {
  bool active = false;
  double intervalMs = 0;
};

long long nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TimerData* timerOf(Control* c) {
  return c && c->kind == kKindTimer ? static_cast<TimerData*>(c->extra.get()) : nullptr;
}

void startSystemTimer(uint16_t id, uint16_t window, long intervalMs) {
  auto& timers = state().systemTimers;
  for (SystemTimer& t : timers) {
    if (t.id == id) {
      t.window = window;
      t.intervalMs = intervalMs;
      t.dueMs = nowMs() + intervalMs;
      return;
    }
  }
  timers.push_back({id, window, intervalMs, nowMs() + intervalMs});
}

void stopSystemTimer(uint16_t id) {
  auto& timers = state().systemTimers;
  for (size_t i = 0; i < timers.size(); ++i) {
    if (timers[i].id == id) {
      timers.erase(timers.begin() + static_cast<long>(i));
      return;
    }
  }
}

// The common timer procedure: ids above 614 only.
void timerProcedure(uint16_t id) {
  if (id < kKeepAliveTimer) return;
  if (id == kKeepAliveTimer) {
    if (state().keepAlive) state().keepAlive();
    return;
  }
  Control* c = findControl(id);
  TimerData* timer = timerOf(c);
  if (!timer || !timer->active || !c->action) return;
  Window* w = windowOfControl(*c);
  callBlock(c->action, w ? w->id : 0, c->id, nullptr);
}

}  // namespace

int timerWaitMs() {
  const auto& timers = state().systemTimers;
  if (timers.empty()) return -1;
  long long soonest = timers.front().dueMs;
  for (const SystemTimer& t : timers) soonest = std::min(soonest, t.dueMs);
  const long long wait = soonest - nowMs();
  return wait <= 0 ? 0 : static_cast<int>(std::min<long long>(wait, 1 << 30));
}

void fireDueTimers() {
  State& s = state();
  if (s.boxDepth > 0 || s.fatal || s.systemTimers.empty()) return;
  const long long now = nowMs();
  std::vector<uint16_t> due;
  for (SystemTimer& t : s.systemTimers) {
    if (t.dueMs > now) continue;
    if (t.window) {
      Window* w = findWindow(t.window);
      if (!w || !w->open) continue;
    }
    t.dueMs = now + (t.intervalMs > 0 ? t.intervalMs : 1);
    due.push_back(t.id);
  }
  for (uint16_t id : due) timerProcedure(id);
}

void fireTimer(Control& timer, const Event& event) {
  if (timer.kind != kKindTimer)
    return driver().reject(event, "control " + std::to_string(timer.id) + " is not a timer");
  timerProcedure(timer.id);
}

void fireProcessTimer(uint16_t id) { timerProcedure(id); }

void stopWindowTimers(const Window& window) {
  auto& timers = state().systemTimers;
  for (size_t i = timers.size(); i-- > 0;)
    if (timers[i].window == window.id) timers.erase(timers.begin() + static_cast<long>(i));
}

void setKeepAlive(void (*keepAlive)()) { state().keepAlive = keepAlive; }

}  // namespace ui

using namespace ui;

pObj_Node ADDTIMER(pObj_Node interval, pObj_Node action) {
  const double ms = core::checkNumber(interval);
  Block act = blockOr(action);
  Window* w = currentWindow();
  if (!w) return __INIT_DOUBLE(0);
  Control& c = addControl(*w, kKindTimer);
  c.folder = 0;
  c.page = 0;
  c.action = act;
  auto data = std::make_unique<TimerData>();
  data->intervalMs = ms;
  c.extra = std::move(data);
  return idRecord(c.id);
}

pObj_Node ACTIVETIMER(pObj_Node id) {
  Control* c = findControl(checkId(id));
  TimerData* timer = timerOf(c);
  if (!timer) return __INIT_BOOL(0);
  timer->active = true;
  Window* w = windowOfControl(*c);
  startSystemTimer(c->id, w ? w->id : 0, static_cast<long>(timer->intervalMs));
  return __INIT_BOOL(1);
}

pObj_Node DEACTIVETIMER(pObj_Node id) {
  TimerData* timer = timerOf(findControl(checkId(id)));
  if (!timer) return __INIT_BOOL(0);
  timer->active = false;
  return __INIT_BOOL(1);
}

pObj_Node __SetTimerInt(pObj_Node id, pObj_Node interval) {
  const uint16_t n = checkId(id);
  const double ms = core::checkNumber(interval);
  TimerData* timer = timerOf(findControl(n));
  if (!timer) return __INIT_BOOL(0);
  timer->intervalMs = ms;
  return __INIT_BOOL(1);
}

pObj_Node __TimerDestroy(pObj_Node id) {
  const uint16_t n = checkId(id);
  TimerData* timer = timerOf(findControl(n));
  if (!timer) return __INIT_BOOL(0);
  timer->active = false;
  stopSystemTimer(n);
  return __INIT_BOOL(1);
}

pObj_Node _Dft_KillTimer(pObj_Node record) {
  const uint16_t n = checkId(record);
  stopSystemTimer(n);
  return __INIT_BOOL(1);
}

pObj_Node ativartemporizador() {
  startSystemTimer(kKeepAliveTimer, 0, kKeepAliveMs);
  return __INIT_BOOL(1);
}

pObj_Node desativartemporizador() {
  stopSystemTimer(kKeepAliveTimer);
  return __INIT_BOOL(1);
}
