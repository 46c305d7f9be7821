#pragma once
// The process log caught for a test: installed for the capture's lifetime, every line
// kept for looking up afterwards.
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"

namespace kiv::testing {

class TCaptureLog : public TLog {
 public:
  bool Enabled() const override { return true; }
  bool Contains(std::string_view text) { return Count(text) > 0; }
  // How many lines hold text.
  size_t Count(std::string_view text) {
    std::lock_guard<std::mutex> lock(FLock);
    size_t count = 0;
    for (const std::string& line : FLines) count += line.find(text) != std::string::npos;
    return count;
  }

 protected:
  void WriteRawLine(std::string_view line) override {
    std::lock_guard<std::mutex> lock(FLock);
    FLines.emplace_back(line);
  }

 private:
  std::mutex FLock;
  std::vector<std::string> FLines;
};

class TLogCapture {
 public:
  TLogCapture() {
    auto log = std::make_unique<TCaptureLog>();
    FLog = log.get();
    SetLog(std::move(log));
  }
  ~TLogCapture() { SetLog(nullptr); }
  TLogCapture(const TLogCapture&) = delete;
  TLogCapture& operator=(const TLogCapture&) = delete;
  bool Contains(std::string_view text) { return FLog->Contains(text); }
  size_t Count(std::string_view text) { return FLog->Count(text); }

 private:
  TCaptureLog* FLog;
};

}  // namespace kiv::testing
