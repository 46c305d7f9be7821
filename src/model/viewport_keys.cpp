#include "model/viewport_keys.h"

namespace kiv {

TViewPortKeys ReadViewPortKeys(const TIniIdentList& section, const TViewPortKeys& current) {
  return {section.ReadPoint(u"Size", current.Size)};
}

}  // namespace kiv
