#pragma once
// Writes a document as UTF-8 with a byte-order mark, every line ended by CR LF.
#include <string_view>

#include "ini/ini_line_writer.h"
#include "ini/text_writer.h"

namespace kiv {

class TIniSaver final : public IIniLineWriter {
 public:
  explicit TIniSaver(TStream& stream) : FWriter(stream) {}  // writes the mark at once

  void WriteLine(std::u16string_view text) override { FWriter.WriteLine(text); }
  void WriteEmptyLine() override { FWriter.WriteEmptyLine(); }
  void Flush() { FWriter.Flush(); }

 private:
  TUTF8Writer FWriter;
};

}  // namespace kiv
