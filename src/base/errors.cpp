#include "base/errors.h"

namespace kiv {

EAssertionFailed::EAssertionFailed(const std::string& text, const char* file, int line)
    : EKivError(text + " (" + file + ", line " + std::to_string(line) + ")"), FText(text) {}

void AssertionFailure(const std::string& text, const char* file, int line) {
  throw EAssertionFailed(text, file, line);
}

}  // namespace kiv
