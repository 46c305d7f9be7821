#include "sound/output_trace.h"

#include <string>

#include "base/log.h"

namespace kiv {
namespace {

std::string Line(std::string_view lead, std::string_view call, std::string_view file) {
  std::string line(lead);
  line.append(call).append(" [").append(file).append("]");
  return line;
}

}  // namespace

TOutputTrace::TOutputTrace(std::string_view call, std::string_view file) : FCall(call), FFile(file) {
  Log().Write(Line("-> ", FCall, FFile));
}

TOutputTrace::~TOutputTrace() { Log().Write(Line(FFailed ? "<- !!! " : "<- ", FCall, FFile)); }

void TOutputTrace::Missing(std::string_view what, std::string_view file) { Log().Write(Line("!!! ", what, file)); }

}  // namespace kiv
