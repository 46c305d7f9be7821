#pragma once
// The own key of a viewport: its size, kept as it is when the section gives none.
#include "ini/ini_ident_list.h"

namespace kiv {

struct TViewPortKeys {
  TIniPoint Size;
};

TViewPortKeys ReadViewPortKeys(const TIniIdentList& section, const TViewPortKeys& current);

}  // namespace kiv
