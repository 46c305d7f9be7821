#include "platform/stop_request.h"

#include <signal.h>

#include <atomic>
#include <cstring>

namespace kiv {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

// The signal that came (0: none). A handler may only touch lock-free atomics.
std::atomic<int> gSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
struct sigaction gPrevious[std::size(kSignals)];

void NoteSignal(int signal) {
  int none = 0;
  gSignal.compare_exchange_strong(none, signal);
}

}  // namespace

TStopRequests::TStopRequests() {
  gSignal = 0;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // Calls in progress go on; the handler falls back to the default after one signal.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &action, &gPrevious[i]);
}

TStopRequests::~TStopRequests() {
  for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
}

bool TStopRequests::Requested() const { return gSignal != 0; }

std::string TStopRequests::SignalName() const {
  switch (gSignal.load()) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "";
  }
}

int TStopRequests::ExitCode() const { return Requested() ? 128 + gSignal.load() : 0; }

}  // namespace kiv
