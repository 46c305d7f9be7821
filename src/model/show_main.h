#pragma once
// The section "main" of a project and the slide count it gives.
#include "ini/ini_storage.h"

namespace kiv {

// A show holds at most this many slides; a larger "opt_slidescount" is taken as this,
// so a broken project cannot make the player reserve memory for a billion slides.
constexpr int kMaxSlideCount = 100000;

// The section "main" (any case), or none.
TIniSection* FindMainSection(const TIniStorage& document);

// "opt_slidescount" limited to 0 … kMaxSlideCount; a capped count is logged.
int ReadSlideCount(const TIniIdentList& main);

}  // namespace kiv
