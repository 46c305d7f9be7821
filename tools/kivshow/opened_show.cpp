#include "kivshow/opened_show.h"

#include "base/text.h"

namespace kiv {

std::unique_ptr<TKivUnpack> OpenShowContainer(const std::string& path) {
  auto show = std::make_unique<TKivUnpack>(path);
  if (!show->Usable())
    throw EKivError(path + ": " + (show->Error().empty() ? "not a show container" : Utf16ToUtf8(show->Error())));
  return show;
}

std::unique_ptr<TKivShowLocator> OpenShowOrProject(const std::string& path) {
  const std::u16string wide = Utf8ToUtf16(path);
  if (IsShowContainer(wide)) {
    TOpenedShow opened = OpenFromExecutable(wide);
    if (!opened.Locator) throw EKivError(path + ": " + Utf16ToUtf8(opened.Error));
    return std::move(opened.Locator);
  }
  std::unique_ptr<TKivShowLocator> locator = OpenFromProject(wide);
  if (!locator) throw EKivError(path + ": neither a show container nor a readable project file");
  return locator;
}

}  // namespace kiv
