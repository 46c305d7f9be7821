#pragma once
// Packs a project and every file it names into a show: a copy of the player with the
// container appended, or a stand-alone data file. A name the project uses is packed
// under exactly that text when, taken from the project's folder (an absolute name as it
// is), it finds a regular file on disk; one file named several ways is stored once.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "container/container_format.h"

namespace kiv {

struct TShowPackRequest {
  std::string ProjectPath;  // UTF-8 paths
  std::string OutputPath;
  std::string PlayerPath;  // the program image; unused for a data file
  bool DataFile = false;
  TPackMode Mode = TPackMode::Deflated;  // for every file but the project, which is always deflated
  bool AllowModify = false;
  bool ShortTrailer = false;
  std::vector<std::string> ExtraFiles;    // packed under the path as given
  std::optional<std::u16string> Version;  // else "KivVersion" of the project's "Main"
  bool StoreTexts = true;  // the show's texts laid out, with the glyphs of their fonts
};

struct TShowPackResult {
  int Entries = 0;          // stored entries, the project and the show identifier included
  int64_t StoredBytes = 0;  // what they take in the output
  int Texts = 0;            // texts stored laid out
  int Fonts = 0;            // fonts whose glyphs are stored
  // The path written as the project's "opt_exefn" when it named no program.
  std::optional<std::string> NamedProgram;
  // Pictures, masks, sounds and clips the project names that were not found (the show
  // is written all the same: it plays them as missing).
  std::vector<std::string> Missing;
  // Files the project names that are shows themselves, left out.
  std::vector<std::string> LeftOut;
};

// Raises EKivError (with the reason) when something cannot be read or written; the
// output is removed then. A show executable is made executable (mode 755).
TShowPackResult PackShow(const TShowPackRequest& request);

// The version written when neither the request nor the project gives one.
inline constexpr char16_t kDefaultShowVersion[] = u"1.0";

}  // namespace kiv
