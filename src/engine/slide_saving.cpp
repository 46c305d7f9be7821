#include "engine/slide_saving.h"

#include <cstdio>
#include <memory>

#include "base/log.h"
#include "base/text.h"

namespace kiv {

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<TSlideFile> SlideFileToSave(const TSlidePictures& pictures, bool onlyMainPicture) {
  if (onlyMainPicture)
    if (std::optional<TSlideFile> main = pictures.MainPictureFile()) return main;
  return pictures.WholeSlideFile();
}

TSaveOutcome SaveSlideFile(const std::string& folder, std::u16string_view name, std::span<const uint8_t> bytes,
                           bool replace, std::string* path) {
  const std::string file = (folder.empty() ? std::string(".") : folder) + "/" +
                           Utf16ToUtf8(FileNamePart(name, u"Slide.bmp"));
  if (path) *path = file;
  // "x": made anew, never over a file that appeared meanwhile.
  std::unique_ptr<std::FILE, TFileCloser> out(std::fopen(file.c_str(), replace ? "wb" : "wbx"));
  if (!out) {
    if (!replace && std::unique_ptr<std::FILE, TFileCloser>(std::fopen(file.c_str(), "rb"))) return TSaveOutcome::Exists;
    Log().Write("SaveSlideFile: " + file + " cannot be written");
    return TSaveOutcome::Failed;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size() || std::fflush(out.get()) != 0) {
    Log().Write("SaveSlideFile: writing " + file + " failed");
    return TSaveOutcome::Failed;
  }
  Log().Write("SaveSlideFile: saved " + file);
  return TSaveOutcome::Saved;
}

}  // namespace kiv
