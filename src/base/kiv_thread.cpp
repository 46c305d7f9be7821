#include "base/kiv_thread.h"

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
    try {
      Iteration();
    } catch (const std::exception& error) {
      Log().Write(std::string("TKivThread: turn failed: ") + error.what());
    } catch (...) {
      Log().Write("TKivThread: turn failed");
    }
  }
  OnStop();
}

void TKivThread::HandleEvent(int, TMessageData*) {}

}  // namespace kiv
