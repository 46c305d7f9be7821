#pragma once
// The object trees of a show's slides as JSON: each object's kind, name, own size and
// children, built and prepared as the player builds them.
#include "kivshow/json_writer.h"
#include "model/kiv_source.h"

namespace kiv {

// Writes the array "objects" of slide index inside the open slide object. A slide that
// cannot be built gets an empty array and "buildError" = true.
class TSlideObjectsWriter {
 public:
  explicit TSlideObjectsWriter(TKivSource& source);
  ~TSlideObjectsWriter();

  void Write(TJsonWriter& json, int index);

 private:
  struct TParts;
  std::unique_ptr<TParts> FParts;
};

}  // namespace kiv
