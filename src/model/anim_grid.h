#pragma once
// A picture that holds the frames of an animation as a grid of equal cells, read row by
// row, each frame shown for its own time.
#include <cstdint>
#include <vector>

namespace kiv {

// The animation keys of a picture object ("AnimColumns" …).
struct TAnimKeys {
  int32_t Columns = 1;
  int32_t Rows = 1;
  int32_t RepCount = 0;            // plays of the whole animation; 0 or less: it loops for ever
  double Offset = 0;               // ms added to the object's time, so the animation may start midway
  int32_t Count = 0;               // frames; 0 or less: every cell of the grid
  std::vector<int32_t> Intervals;  // ms per frame in order; the last one given repeats
};

struct TGridCell {
  int32_t Column = 0;
  int32_t Row = 0;
  bool operator==(const TGridCell&) const = default;
};

class TAnimGrid {
 public:
  static constexpr int32_t kDefaultInterval = 100;  // ms per frame when no interval is given

  // Columns and rows below 1 count as 1, so a broken grid shows the whole picture as
  // one frame instead of dividing by zero. The frame count never exceeds the cells.
  explicit TAnimGrid(const TAnimKeys& keys);

  int32_t Columns() const { return FColumns; }
  int32_t Rows() const { return FRows; }
  // More than one column or row: the picture is cut into cells.
  bool IsGrid() const { return FColumns > 1 || FRows > 1; }
  int32_t FrameCount() const { return FFrameCount; }
  // ms; a frame whose interval is not positive is never shown.
  int64_t FrameDuration(int32_t frame) const;
  // One play of all frames, ms.
  int64_t CycleDuration() const { return FCycle; }

  // The frame shown at time (ms since the object's start): the first before the start
  // and while the animation has no length, the last one after the final repetition.
  int32_t FrameAt(double time) const;
  TGridCell CellOf(int32_t frame) const { return {frame % FColumns, frame / FColumns}; }

 private:
  // The frame at a position within one play, 0 <= position < FCycle.
  int32_t FrameInCycle(int64_t position) const;

  int32_t FColumns;
  int32_t FRows;
  int32_t FFrameCount;
  int32_t FRepCount;
  double FOffset;
  // End of each frame with its own interval, from the start of a play; the frames after
  // them all last FTailInterval.
  std::vector<int64_t> FGivenEnds;
  int64_t FTailInterval;
  int64_t FCycle;
};

}  // namespace kiv
