#pragma once
// The line splitter: cuts the text of a reader into lines. CR LF, LF CR, a lone CR
// and a lone LF each end one line; text that ends with a line end yields no extra line.
#include <memory>
#include <string>

#include "ini/text_reader.h"
#include "ini/text_writer.h"

namespace kiv {

class TTextParser {
 public:
  explicit TTextParser(std::unique_ptr<TTextReader> reader);
  virtual ~TTextParser() = default;

  // Reads the next line into Line(); false (with an empty line) at the end of text.
  bool ReadLine();

  const std::u16string& Line() const { return FLine; }
  int LineNo() const { return FLineNo; }          // 0-based; -1 before the first line
  TLineEnd LastLineEnd() const { return FLineEnd; }

 protected:
  int FLinePos = 0;  // 1-based position of the line's first non-blank, set by the classifier

 private:
  // Refills the buffer when it is used up; true when no character is left.
  bool AtEndOfText();

  std::unique_ptr<TTextReader> FReader;
  std::u16string FBuffer;  // refilled 4096 units at a time
  size_t FBufferPos = 0;
  std::u16string FLine;
  int FLineNo = -1;
  TLineEnd FLineEnd = TLineEnd::None;
  bool FEnd = false;
};

}  // namespace kiv
