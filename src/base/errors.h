#pragma once
// Failures are exceptions that carry a message (UTF-8); programming errors are
// assertions whose message is a fixed text together with the source file and line.
#include <stdexcept>
#include <string>

namespace kiv {

class EKivError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EAssertionFailed : public EKivError {
 public:
  EAssertionFailed(const std::string& text, const char* file, int line);
  // The fixed text without the source position, for callers that check which assertion fired.
  const std::string& Text() const { return FText; }

 private:
  std::string FText;
};

[[noreturn]] void AssertionFailure(const std::string& text, const char* file, int line);

}  // namespace kiv

// Stops with "Assertion failure" (or the given text) and the source position.
#define KIV_ASSERT(condition)                                                      \
  do {                                                                             \
    if (!(condition)) ::kiv::AssertionFailure("Assertion failure", __FILE__, __LINE__); \
  } while (0)
#define KIV_FAIL(text) ::kiv::AssertionFailure((text), __FILE__, __LINE__)
