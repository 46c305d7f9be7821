// Feeds arbitrary UTF-16 units (pairs of bytes, little-endian) to the action text parser
// and resolves a go-to-slide by name against a show of three slides. An action is one of
// the known kinds, and a name resolves to a slide of the show or to nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/action_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += char16_t(data[i] | data[i + 1] << 8);
  const kiv::TKivActionInfo action = kiv::ParseActionText(text);
  if (action.Type > kiv::kActionGoToTime) std::abort();
  if (action.Type == kiv::kActionNone && (action.Number != 0 || !action.Text.empty())) std::abort();
  const kiv::TKivActionInfo resolved = kiv::ResolveSlideName(action, [](std::u16string_view name) {
    return name == u"Intro" ? 0 : name == u"End" ? 2 : -1;
  });
  if (resolved.Type == kiv::kActionGoToSlide && resolved.Number == -1) std::abort();
  return 0;
}
