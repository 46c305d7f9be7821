#include "sound/sound_streams.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "base/file_stream.h"
#include "base/log.h"
#include "base/text.h"

namespace kiv {
namespace {

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

// A registered stream: every call holds the registry's lock; positions are those of the
// inner stream less skip.
class TRegisteredStream : public TStream {
 public:
  TRegisteredStream(std::unique_ptr<TStream> inner, int64_t skip) : FInner(std::move(inner)), FSkip(skip) {}
  ~TRegisteredStream() override {
    std::lock_guard guard(RegistryLock());
    FInner.reset();
  }

  int64_t GetPosition() override {
    std::lock_guard guard(RegistryLock());
    return FInner->GetPosition() - FSkip;
  }
  void SetPosition(int64_t position) override {
    if (position < 0) throw EStreamError("Stream position out of range");
    std::lock_guard guard(RegistryLock());
    FInner->SetPosition(position + FSkip);
  }
  int64_t GetSize() override {
    std::lock_guard guard(RegistryLock());
    const int64_t size = FInner->GetSize();
    return size < 0 ? size : std::max<int64_t>(0, size - FSkip);
  }
  void SetSize(int64_t) override { throw EStreamWriteError(); }
  int64_t Read(void* buffer, int64_t count) override {
    std::lock_guard guard(RegistryLock());
    return FInner->Read(buffer, count);
  }
  int64_t Write(const void*, int64_t) override { throw EStreamWriteError(); }

 private:
  std::unique_ptr<TStream> FInner;
  int64_t FSkip;
};

}  // namespace

TSoundName SplitSoundName(std::u16string_view name) {
  TSoundName result{std::u16string(name), -1};
  const size_t mark = name.rfind(u'?');
  if (mark == std::u16string_view::npos || mark + 1 == name.size() || name.size() - mark - 1 > 9) return result;
  int32_t number = 0;
  for (char16_t unit : name.substr(mark + 1)) {
    if (unit < u'0' || unit > u'9') return result;
    number = number * 10 + (unit - u'0');
  }
  result.File = std::u16string(name.substr(0, mark));
  result.StreamNumber = number;
  return result;
}

std::unique_ptr<TStream> OpenSoundStream(std::u16string_view name, const TSoundOpener& open, int64_t skip) {
  const std::u16string file = SplitSoundName(name).File;
  std::unique_ptr<TStream> inner;
  {
    std::lock_guard guard(RegistryLock());
    try {
      if (open)
        inner = open(file);
      else
        inner = std::make_unique<TFileStream>(Utf16ToUtf8(file), TFileMode::OpenRead);
      if (inner && skip > 0) inner->SetPosition(skip);
    } catch (const EKivError& error) {
      Log().Write("Sound " + Utf16ToUtf8(file) + " not opened: " + error.what());
      inner.reset();
    }
  }
  if (!inner) return nullptr;
  return std::make_unique<TRegisteredStream>(std::move(inner), std::max<int64_t>(0, skip));
}

int64_t LibraryRead(TStream& stream, void* buffer, int64_t count) {
  if (count < 0 || count > kMaxLibraryRead) {
    Log().WriteValue("Sound read refused, too many bytes: ", count);
    return -1;
  }
  try {
    return stream.Read(buffer, count);
  } catch (const EKivError&) {
    return -1;
  }
}

int64_t LibrarySeek(TStream& stream, int64_t offset, int origin) {
  try {
    int64_t base = 0;
    if (origin == 1)
      base = stream.GetPosition();
    else if (origin == 2)
      base = stream.GetSize();
    else if (origin != 0)
      return -1;
    if (base < 0 || offset < -base || offset > INT64_MAX - base) return -1;
    stream.SetPosition(base + offset);
    return base + offset;
  } catch (const EKivError&) {
    return -1;
  }
}

}  // namespace kiv
