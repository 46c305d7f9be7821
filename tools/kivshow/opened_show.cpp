#include "kivshow/opened_show.h"

#include "base/text.h"

namespace kiv {

std::unique_ptr<TKivUnpack> OpenShowContainer(const std::string& path) {
  auto show = std::make_unique<TKivUnpack>(path);
  if (!show->Usable())
    throw EKivError(path + ": " + (show->Error().empty() ? "not a show container" : Utf16ToUtf8(show->Error())));
  return show;
}

}  // namespace kiv
