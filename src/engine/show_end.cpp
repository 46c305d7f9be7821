#include "engine/show_end.h"

#include "model/kiv_source.h"

namespace kiv {

bool EndClosesWindow(const TKivSource& source, bool finished) { return finished && source.EndMode() == TEndMode::Close; }

}  // namespace kiv
