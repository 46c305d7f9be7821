#pragma once
// The "Action" text of a slide object turned into an action record. The words and
// prefixes are compared in lower case; arguments are kept as written.
#include <functional>
#include <span>
#include <string_view>

#include "model/action_info.h"
#include "model/slide_info.h"

namespace kiv {

// Plain words ("exit", "nextslide" ...) and the forms with an argument ("gotoslide(3)",
// "runapp("notepad.exe")" ...); any other text gives the empty action. A "gotoslide("
// whose argument is not a number gives kActionGoToSlide with number -1 and the slide name as
// text, to be resolved against the show with ResolveSlideName.
TKivActionInfo ParseActionText(std::u16string_view text);

// Answers the 0-based index of the slide with that name, or -1.
using TSlideNameResolver = std::function<int(std::u16string_view name)>;

// A go-to-slide by name becomes one by number (1-based); a name the show does not
// know gives the empty action, so a mistyped name leaves the show where it is instead
// of rewinding it. Other actions come back unchanged.
TKivActionInfo ResolveSlideName(TKivActionInfo action, const TSlideNameResolver& resolver);

// The first slide whose id equals name exactly, or -1.
int SlideIndexByName(std::span<const TSlideInfo> slides, std::u16string_view name);

}  // namespace kiv
