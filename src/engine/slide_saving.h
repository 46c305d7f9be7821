#pragma once
// Saving the slide on screen as a file: the whole slide as "Slide<n+1>.bmp", or only its
// main picture (a JPEG unchanged). Files go into the folder the user chose under the
// file-name part of the name chosen, and an existing file is replaced only when the user
// said so.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/slide_pictures.h"

namespace kiv {

// What saving takes: the main picture's file when chosen and there is one, else the
// whole slide's; none when there is neither.
std::optional<TSlideFile> SlideFileToSave(const TSlidePictures& pictures, bool onlyMainPicture);

enum class TSaveOutcome : uint8_t {
  Saved,
  Exists,  // the file is there and was not to be replaced: nothing written
  Failed,
};

// Writes bytes as folder + "/" + the file-name part of name (UTF-8 folder). path, when
// given, receives the file's path.
TSaveOutcome SaveSlideFile(const std::string& folder, std::u16string_view name, std::span<const uint8_t> bytes,
                           bool replace, std::string* path = nullptr);

}  // namespace kiv
