#pragma once
// Where a document writes itself to: one call per stored line, in document order.
#include <string_view>

namespace kiv {

class IIniLineWriter {
 public:
  virtual void WriteLine(std::u16string_view text) = 0;  // the text and a line end
  virtual void WriteEmptyLine() = 0;                     // a line end only

 protected:
  ~IIniLineWriter() = default;
};

}  // namespace kiv
