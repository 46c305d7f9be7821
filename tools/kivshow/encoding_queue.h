#pragma once
// The encoder of an export on a thread of its own: the next frame is drawn while the
// last one is converted and encoded. Pictures and sound are written in the order they
// are queued, so the file is the same as when they were written one by one; the queue
// holds a few pictures at most, and a full queue holds the drawing back.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "graphics/bitmap.h"

namespace kiv {

class TVideoFileWriter;

class TEncodingQueue {
 public:
  // The most pictures that wait for the encoder.
  static constexpr size_t kDepth = 3;

  // writer must outlive the queue.
  explicit TEncodingQueue(TVideoFileWriter& writer);
  // Writes what is queued, then stops.
  ~TEncodingQueue();
  TEncodingQueue(const TEncodingQueue&) = delete;
  TEncodingQueue& operator=(const TEncodingQueue&) = delete;

  // Queues a Bgr24 picture of the writer's size, waiting while kDepth pictures wait.
  // Raises EKivError with the writer's error once a write failed.
  void Picture(std::unique_ptr<TBitmap> picture);
  // Queues sound frames (interleaved stereo samples); raises as Picture does.
  void Sound(std::vector<int16_t> samples);
  // Waits until everything queued is written; raises as Picture does.
  void Drain();

 private:
  struct TJob {
    std::unique_ptr<TBitmap> Picture;  // else sound
    std::vector<int16_t> Sound;
  };

  void Run();
  bool Write(const TJob& job);
  void RaiseIfFailed();  // under FLock

  TVideoFileWriter& FWriter;
  std::mutex FLock;
  std::condition_variable FChanged;
  std::deque<TJob> FJobs;
  size_t FPictures = 0;  // pictures in FJobs
  bool FWriting = false;
  bool FFailed = false;
  bool FStopping = false;
  std::thread FThread;
};

}  // namespace kiv
