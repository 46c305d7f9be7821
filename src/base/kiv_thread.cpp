#include "base/kiv_thread.h"

#include <chrono>
#include <exception>
#include <string>

#include "base/log.h"

namespace kiv {

TKivThread::TKivThread() {
  FEvents.SetHandler([this](int code, TMessageData* data) { HandleEvent(code, data); });
}

TKivThread::~TKivThread() {
  Terminate();
  Join();
}

void TKivThread::Start() {
  if (IsRunning()) return;
  Join();  // a thread that ended by itself
  FTerminated = false;
  FRunning = true;
  FThread = std::thread([this] {
    FThreadId = std::this_thread::get_id();
    Execute();
    FRunning = false;
  });
}

void TKivThread::Stop() {
  Terminate();
  if (!IsCurrentThread()) Join();
}

void TKivThread::Terminate() { FTerminated = true; }

void TKivThread::Join() {
  if (FThread.joinable()) FThread.join();
}

void TKivThread::Execute() {
  OnStart();
  while (!Terminated()) {
    bool failed = true;
    try {
      Iteration();
      failed = false;
    } catch (const std::exception& error) {
      LogFailedTurn(std::string("TKivThread: turn failed: ") + error.what());
    } catch (...) {
      LogFailedTurn("TKivThread: turn failed");
    }
    if (failed && !Terminated()) WaitAfterFailedTurn();
  }
  OnStop();
}

void TKivThread::LogFailedTurn(const std::string& message) {
  if (message != FLastFailure) {
    FLastFailure = message;
    FFailureRepeats = 0;
    Log().Write(message);
    return;
  }
  ++FFailureRepeats;
  bool powerOfTen = FFailureRepeats >= 10;
  for (uint64_t n = FFailureRepeats; powerOfTen && n > 1; n /= 10) powerOfTen = n % 10 == 0;
  if (powerOfTen) Log().Write(message + " (again, " + std::to_string(FFailureRepeats) + " times)");
}

void TKivThread::WaitAfterFailedTurn() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

void TKivThread::HandleEvent(int, TMessageData*) {}

}  // namespace kiv
