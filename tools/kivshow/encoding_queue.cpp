#include "kivshow/encoding_queue.h"

#include "base/errors.h"
#include "platform/audio_output.h"
#include "platform/video_file_writer.h"

namespace kiv {

TEncodingQueue::TEncodingQueue(TVideoFileWriter& writer) : FWriter(writer), FThread([this] { Run(); }) {}

TEncodingQueue::~TEncodingQueue() {
  {
    std::lock_guard lock(FLock);
    FStopping = true;
  }
  FChanged.notify_all();
  FThread.join();
}

void TEncodingQueue::Picture(std::unique_ptr<TBitmap> picture) {
  std::unique_lock lock(FLock);
  FChanged.wait(lock, [this] { return FPictures < kDepth || FFailed; });
  RaiseIfFailed();
  ++FPictures;
  FJobs.push_back({std::move(picture), {}});
  lock.unlock();
  FChanged.notify_all();
}

void TEncodingQueue::Sound(std::vector<int16_t> samples) {
  std::unique_lock lock(FLock);
  RaiseIfFailed();
  FJobs.push_back({nullptr, std::move(samples)});
  lock.unlock();
  FChanged.notify_all();
}

void TEncodingQueue::Drain() {
  std::unique_lock lock(FLock);
  FChanged.wait(lock, [this] { return (FJobs.empty() && !FWriting) || FFailed; });
  RaiseIfFailed();
}

void TEncodingQueue::RaiseIfFailed() {
  // Once a write failed the writer is left alone, so its error stands.
  if (FFailed) throw EKivError(FWriter.Error());
}

void TEncodingQueue::Run() {
  std::unique_lock lock(FLock);
  for (;;) {
    FChanged.wait(lock, [this] { return !FJobs.empty() || FStopping; });
    if (FJobs.empty()) return;
    TJob job = std::move(FJobs.front());
    FJobs.pop_front();
    FWriting = true;
    const bool skip = FFailed;
    lock.unlock();
    const bool written = skip || Write(job);
    const bool picture = job.Picture != nullptr;
    job = {};
    lock.lock();
    FWriting = false;
    if (picture) --FPictures;
    if (!written) FFailed = true;
    FChanged.notify_all();
  }
}

bool TEncodingQueue::Write(const TJob& job) {
  if (job.Picture) return FWriter.WritePicture(job.Picture->Row(0), job.Picture->Stride(), TPixelLayout::Bgr24);
  return FWriter.WriteSound(job.Sound.data(), job.Sound.size() / kOutputChannels);
}

}  // namespace kiv
