#pragma once
// Requests that move the show: open a show or seek in it, pause or resume.
#include <cstdint>
#include <memory>

#include "base/thread_event_list.h"
#include "container/file_accessor.h"
#include "ini/ini_storage.h"

namespace kiv {

struct TOpenParams : TMessageData {
  bool Paused = false;     // the pause state the show takes once this request is carried out
  int32_t Sequence = 0;    // position reports of this request carry this number
  std::unique_ptr<TFileAccessor> Accessor;
  std::unique_ptr<TIniStorage> Storage;  // null for a seek
  double StartTime = 0;    // ms

  bool IsOpen() const { return Storage != nullptr; }
};

struct TPauseRequest : TMessageData {
  explicit TPauseRequest(bool paused) : Paused(paused) {}
  bool Paused;
};

}  // namespace kiv
