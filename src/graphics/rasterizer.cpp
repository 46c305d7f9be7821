#include "graphics/rasterizer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/errors.h"
#include "graphics/pixel_blend.h"

namespace kiv {

namespace {

// Edges are held this far outside any picture instead of overflowing.
constexpr int32_t kXLimit = 1 << 30;
// Edges taller than this (damaged shapes only) are not stepped in integers: the product
// of their sub-row count and a slope's 24-bit mantissa might no longer fit a double's 53.
constexpr int32_t kExactHeight = 1 << 22;

// colour (0xAARRGGBB) composited over the pixel at bgra, as BlendOver does, with its
// two cheapest cases (nothing, or the colour as it is) inline.
inline void Blend(uint8_t* bgra, uint32_t colour) {
  const uint32_t alpha = colour >> 24;
  if (alpha == 0) return;
  if (alpha == 0xFF || bgra[3] == 0) {
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(bgra, &colour, 4);
    } else {
      bgra[0] = uint8_t(colour), bgra[1] = uint8_t(colour >> 8), bgra[2] = uint8_t(colour >> 16);
      bgra[3] = uint8_t(alpha);
    }
    return;
  }
  BlendOver(bgra, colour);
}

// Pixels first … last - 1 of a row all get colour at the same coverage.
inline void BlendRun(uint8_t* pixels, int32_t first, int32_t last, uint32_t colour) {
  const uint32_t alpha = colour >> 24;
  if (alpha == 0) return;
  uint8_t* pixel = pixels + size_t(first) * 4;
  uint8_t* const end = pixels + size_t(last) * 4;
  if (alpha == 0xFF && std::endian::native == std::endian::little) {
    // Rows start 4-byte aligned in memory without a declared type: filled as words.
    for (uint32_t* word = reinterpret_cast<uint32_t*>(pixel); word != reinterpret_cast<uint32_t*>(end); ++word)
      *word = colour;
    return;
  }
  for (; pixel != end; pixel += 4) Blend(pixel, colour);
}

}  // namespace

inline int32_t TRasterizer::XAt(const TStepEdge& edge, int32_t i) const {
  if (!edge.Exact) {
    const double x = std::round((double(FRowTop + i) - edge.Top + 0.5) * double(edge.Slope)) + edge.X;
    return int32_t(std::clamp(x, -double(kXLimit), double(kXLimit)));
  }
  const int32_t moved = int32_t((edge.At + uint64_t(i) * edge.Step) >> edge.Shift);
  return edge.X + ((moved ^ edge.Negative) - edge.Negative);
}

namespace {

// What crossings add to one pixel: each crossing at x within it adds its weight × (16 -
// x % 16) to the pixel and weight × 16 to each pixel right of it.
inline void AddToColumn(int32_t* cover, int32_t* carry, uint64_t* touched, int32_t column, int32_t weight,
                        int32_t count, int32_t sum) {
  cover[column] += weight * (count * kSubPixels * (column + 1) - sum);
  carry[column] += weight * kSubPixels * count;
  touched[column >> 6] |= uint64_t(1) << (column & 63);
}

// A crossing at x (clipped to the picture's width in 1/16 pixel).
inline void AddCrossing(int32_t* cover, int32_t* carry, uint64_t* touched, int32_t clip, int32_t x,
                        int32_t weight) {
  if (x >= clip) return;
  x = std::max(x, 0);
  AddToColumn(cover, carry, touched, x / kSubPixels, weight, 1, x);
}

// Sixteen lanes of 32 bits, one per sub-row of a pixel row, in four vectors of four
// (plain SSE2 on x86-64, scalar code elsewhere).
using TLanes = int32_t __attribute__((vector_size(16)));
using TULanes = uint32_t __attribute__((vector_size(16)));

// Tail masks: the first n lanes of four.
constexpr TLanes kFirstLanes[4] = {{0, 0, 0, 0}, {-1, 0, 0, 0}, {-1, -1, 0, 0}, {-1, -1, -1, 0}};

// The four lanes of v added up.
inline int32_t LaneTotal(TLanes v) {
  v += __builtin_shufflevector(v, v, 2, 3, 0, 1);
  v += __builtin_shufflevector(v, v, 1, 0, 3, 2);
  return v[0];
}

// The sum of the whole moves of count sub-rows, (rest + i × step) >> shift for i = 0 …
// count - 1, and, when Split, the count and the sum of those at or above from. Count is
// Count when that is not 0 (a whole row, the common case, unrolled).
template <bool Split, int32_t Count>
inline void SumMoves(uint32_t rest, uint32_t step, int32_t shift, int32_t count, int32_t from, int32_t& sum,
                     int32_t& above, int32_t& sumAbove) {
  if constexpr (Count != 0) count = Count;
  TULanes moved = rest + TULanes{0, step, 2 * step, 3 * step};
  const TULanes step4 = TULanes{} + 4 * step;
  const TLanes below = TLanes{} + (from - 1);
  TLanes all = {}, upper = {}, n = {};
  int32_t k = 4;
  for (; k <= count; k += 4, moved += step4) {
    const TLanes t = TLanes(moved >> shift);
    all += t;
    if constexpr (Split) {
      const TLanes over = t > below;
      upper += t & over;
      n -= over;
    }
  }
  if (const int32_t tail = count - (k - 4); Count == 0 && tail != 0) {
    const TLanes t = TLanes(moved >> shift) & kFirstLanes[tail];
    all += t;
    if constexpr (Split) {
      const TLanes over = (t > below) & kFirstLanes[tail];
      upper += t & over;
      n -= over;
    }
  }
  if constexpr (Split) {
    // The three totals at once: lanes paired, then the pairs.
    const TLanes a = __builtin_shufflevector(all, n, 0, 4, 1, 5) + __builtin_shufflevector(all, n, 2, 6, 3, 7);
    const TLanes b = upper + __builtin_shufflevector(upper, upper, 2, 3, 0, 1);
    const TLanes c = __builtin_shufflevector(a, b, 0, 1, 4, 4) + __builtin_shufflevector(a, b, 2, 3, 5, 5);
    sum = c[0];
    above = c[1];
    sumAbove = c[2];
  } else {
    sum = LaneTotal(all);
  }
}

}  // namespace

// Where the active edge of slot crosses the row at rowTop: its sub-rows there, its least
// and greatest x; when it is stepped exactly, its crossings are added to the row's
// coverage too, each adding its direction to the sub-pixels right of it. False when it
// is not.
inline __attribute__((always_inline)) bool TRasterizer::AddSegment(const TStepEdge& edge, TActive& slot,
                                                                  int32_t rowTop) {
  const int32_t first = std::max(edge.Top - rowTop, 0);
  const int32_t last = std::min(edge.End - rowTop, kSubPixels) - 1;
  const int32_t count = last - first + 1;
  slot.Mask = ((2u << (last - first)) - 1) << first;
  slot.Direction = edge.Direction;
  if (!edge.Exact) {
    const int32_t x0 = XAt(edge, first), x1 = XAt(edge, last);
    slot.Lo = std::min(x0, x1);
    slot.Hi = std::max(x0, x1);
    return false;
  }
  const uint64_t at = edge.At + uint64_t(first) * edge.Step;
  const int32_t shift = edge.Shift, negative = edge.Negative;
  const int32_t m0 = int32_t(at >> shift), m1 = int32_t((at + uint64_t(count - 1) * edge.Step) >> shift);
  // x = X + m or X - m: the least and greatest x come from the first and last m.
  const int32_t lo = edge.X + (negative != 0 ? -m1 : m0), hi = edge.X + (negative != 0 ? -m0 : m1);
  slot.Lo = lo;
  slot.Hi = hi;

  int32_t* const cover = FCover.data();
  int32_t* const carry = FCarry.data();
  uint64_t* const touched = FTouched.data();
  const int32_t clip = FClipWidth, weight = edge.Direction;
  if (lo >= clip) return true;
  if (hi < 0) {
    // Left of the picture: all 16 sub-pixels of the first pixel, and on.
    AddToColumn(cover, carry, touched, 0, weight, count, 0);
    return true;
  }
  const int32_t c0 = lo / kSubPixels, c1 = hi / kSubPixels;
  if (m0 == m1 && lo >= 0) {
    // Upright over the row (the stems of letters): one x all the way.
    AddToColumn(cover, carry, touched, c0, weight, count, count * lo);
    return true;
  }
  if (lo < 0 || hi >= clip || c1 - c0 > 1 || shift > 31) {
    for (int32_t i = first; i <= last; ++i) AddCrossing(cover, carry, touched, clip, XAt(edge, i), weight);
    return true;
  }
  // In one or two pixel columns: only the count and sum of the x's in each matter. The
  // moves past m0 are those of what at has beyond its whole moves plus each further
  // step, in 32 bits (below 2^31 + 15 × 2^25).
  const uint32_t rest = uint32_t(at & ((uint64_t(1) << shift) - 1)), step = uint32_t(edge.Step);
  const int32_t base = edge.X + ((m0 ^ negative) - negative);
  int32_t sum = 0, above = 0, sumAbove = 0;
  if (c0 == c1) {
    if (count == kSubPixels)
      SumMoves<false, kSubPixels>(rest, step, shift, count, 0, sum, above, sumAbove);
    else
      SumMoves<false, 0>(rest, step, shift, count, 0, sum, above, sumAbove);
    AddToColumn(cover, carry, touched, c0, weight, count, count * base + ((sum ^ negative) - negative));
    return true;
  }
  // x = base ± t is in the right column from split on: t ≥ split - base going right,
  // t ≤ base - split going left.
  const int32_t split = c1 * kSubPixels;
  const int32_t from = negative != 0 ? base - split + 1 : split - base;
  if (count == kSubPixels)
    SumMoves<true, kSubPixels>(rest, step, shift, count, from, sum, above, sumAbove);
  else
    SumMoves<true, 0>(rest, step, shift, count, from, sum, above, sumAbove);
  int32_t right, sumRight;
  if (negative == 0) {
    right = above;
    sumRight = right * base + sumAbove;
  } else {
    right = count - above;
    sumRight = right * base - (sum - sumAbove);
  }
  const int32_t total = count * base + ((sum ^ negative) - negative);
  AddToColumn(cover, carry, touched, c0, weight, count - right, total - sumRight);
  AddToColumn(cover, carry, touched, c1, weight, right, sumRight);
  return true;
}

void TRasterizer::Fill(const TOutline& outline, TBitmap& picture, uint32_t colour, const TFillFunction* fill) {
  KIV_ASSERT(picture.Format() == TPixelFormat::Bgra32);
  const std::vector<TEdge>& edges = outline.Edges();
  if (edges.empty()) return;
  const int32_t width = picture.Width(), height = picture.Height();
  const int32_t bottom = height * kSubPixels;

  // The edges that cross the picture's rows, sorted by the pixel row they start in.
  FRowStart.assign(size_t(height) + 2, 0);
  for (const TEdge& edge : edges)
    if (edge.Y < bottom && edge.Y + edge.Height > 0) ++FRowStart[size_t(std::max(edge.Y, 0) / kSubPixels) + 2];
  for (size_t row = 2; row < FRowStart.size(); ++row) FRowStart[row] += FRowStart[row - 1];
  if (FRowStart.back() == 0) return;
  if (FEdges.size() < size_t(FRowStart.back())) FEdges.resize(size_t(FRowStart.back()));
  for (const TEdge& edge : edges) {
    if (edge.Y >= bottom || edge.Y + edge.Height <= 0) continue;
    const int32_t row = std::max(edge.Y, 0) / kSubPixels;
    TStepEdge& step = FEdges[size_t(FRowStart[size_t(row) + 1]++)];
    step.X = edge.X;
    step.Top = edge.Y;
    step.End = edge.Y + edge.Height;
    step.Direction = edge.Direction;
    step.At = step.Step = 0;
    step.Shift = step.Negative = 0;
    step.Slope = edge.Slope;
    step.Exact = true;
    // The slope as mantissa × 2^power; at sub-row k below the top the edge has moved
    // (2k + 1) × mantissa × 2^(power - 1), so rounding it is adding half of 2^shift and
    // shifting right by shift = 1 - power.
    const uint32_t bits = std::bit_cast<uint32_t>(edge.Slope);
    const int32_t exponent = int32_t(bits >> 23 & 0xFF);
    const uint64_t mantissa = (bits & 0x7FFFFF) | (exponent != 0 ? 0x800000u : 0);
    const int32_t shift = 1 - (exponent != 0 ? exponent - 150 : -149);
    if (exponent == 0xFF || edge.Height >= kExactHeight) {
      step.Exact = false;
    } else if (mantissa == 0 || shift >= 48) {
      // Flat or less than 2^-23 across the whole height: always rounds to the top x.
    } else if (shift < 1) {
      step.Exact = false;
    } else {
      const uint64_t start = mantissa + (uint64_t(1) << (shift - 1));
      step.Step = 2 * mantissa;
      step.Shift = shift;
      step.Negative = bits >> 31 != 0 ? -1 : 0;
      const uint64_t moved = (start + uint64_t(edge.Height - 1) * step.Step) >> shift;
      step.Exact = uint64_t(std::abs(int64_t(edge.X))) + moved <= uint64_t(kXLimit);
      step.At = start + uint64_t(int64_t(row * kSubPixels) - edge.Y) * step.Step;
    }
  }

  FClipWidth = width * kSubPixels;
  if (FCover.size() < size_t(width)) {
    FCover.resize(size_t(width), 0);
    FCarry.resize(size_t(width), 0);
    FTouched.resize((size_t(width) + 63) / 64, 0);
  }
  const size_t edgeCount = size_t(FRowStart.back());
  if (FActive.size() < edgeCount) FActive.resize(edgeCount);
  TActive* const slots = FActive.data();
  TStepEdge* const stepEdges = FEdges.data();
  const bool evenOdd = outline.EvenOdd();
  size_t active = 0;
  for (int32_t row = std::max(FEdges[0].Top, 0) / kSubPixels; row < height; ++row) {
    const int32_t rowTop = row * kSubPixels;
    FRowTop = rowTop;
    // The edges still crossing this row, in last row's order, then those starting here;
    // each edge's crossings are added up as it comes (undone if the row must be walked).
    size_t count = 0;
    bool exact = true;
    int32_t left = std::numeric_limits<int32_t>::max(), right = std::numeric_limits<int32_t>::min();
    for (size_t k = 0; k < active; ++k) {
      TStepEdge& edge = stepEdges[slots[k].Edge];
      if (edge.End <= rowTop) continue;
      edge.At += kSubPixels * edge.Step;
      TActive& slot = slots[count++];
      slot.Edge = slots[k].Edge;
      exact &= AddSegment(edge, slot, rowTop);
      left = std::min(left, slot.Lo);
      right = std::max(right, slot.Hi);
    }
    for (int32_t i = FRowStart[size_t(row)]; i < FRowStart[size_t(row) + 1]; ++i) {
      TActive& slot = slots[count++];
      slot.Edge = size_t(i);
      exact &= AddSegment(stepEdges[i], slot, rowTop);
      left = std::min(left, slot.Lo);
      right = std::max(right, slot.Hi);
    }
    active = count;
    if (count == 0) {
      if (size_t(FRowStart[size_t(row) + 1]) == edgeCount) break;
      continue;
    }
    FMinColumn = std::clamp(left, 0, FClipWidth - 1) / kSubPixels;
    FMaxColumn = std::clamp(right, 0, FClipWidth - 1) / kSubPixels;
    // From one row to the next the order barely changes: insertion sort.
    for (size_t i = 1; i < count; ++i) {
      const TActive moving = slots[i];
      size_t k = i;
      for (; k > 0 && slots[k - 1].Lo > moving.Lo; --k) slots[k] = slots[k - 1];
      slots[k] = moving;
    }
    int sign = slots[0].Direction;
    if (!exact || !SimpleRow(count)) {
      ClearRow();
      WalkRow(count, evenOdd);
      sign = 1;
    }
    BlendRow(picture, row, colour, fill, sign);
  }
}

// Whether, in every sub-row of the row, the edges come in the slots' order and the
// winding only steps between 0 and sign (the first edge's direction): then whatever the
// fill rule, a sub-pixel is covered exactly when its winding is sign.
bool TRasterizer::SimpleRow(size_t count) const {
  const TActive* const slots = FActive.data();
  const int32_t sign = slots[0].Direction;
  uint32_t inside = 0;  // the sub-rows where the winding is at sign
  int32_t rightmost = std::numeric_limits<int32_t>::min();
  for (size_t i = 0; i < count; ++i) {
    const TActive& slot = slots[i];
    // Sorted by their least x, two edges keep their order in the sub-rows both cross
    // unless the x's of the first reach past the second's least.
    if (slot.Lo < rightmost)
      for (size_t k = 0; k < i; ++k)
        if ((slots[k].Mask & slot.Mask) != 0 && slots[k].Hi > slot.Lo) return false;
    rightmost = std::max(rightmost, slot.Hi);
    if (slot.Direction == sign) {
      if ((inside & slot.Mask) != 0) return false;
      inside |= slot.Mask;
    } else {
      if ((inside & slot.Mask) != slot.Mask) return false;
      inside &= ~slot.Mask;
    }
  }
  return inside == 0;
}

// Drops what the row gathered so far.
void TRasterizer::ClearRow() {
  for (size_t word = size_t(FMinColumn) / 64; word <= size_t(FMaxColumn) / 64; ++word) {
    for (uint64_t bits = FTouched[word]; bits != 0; bits &= bits - 1) {
      const size_t x = word * 64 + size_t(std::countr_zero(bits));
      FCover[x] = FCarry[x] = 0;
    }
    FTouched[word] = 0;
  }
}

// The row sub-row by sub-row: the edges' x's in order, the spans between them where the
// fill rule says inside.
void TRasterizer::WalkRow(size_t active, bool evenOdd) {
  int32_t* const cover = FCover.data();
  int32_t* const carry = FCarry.data();
  uint64_t* const touched = FTouched.data();
  const int32_t clip = FClipWidth;
  for (int32_t i = 0; i < kSubPixels; ++i) {
    FCrossings.clear();
    for (size_t k = 0; k < active; ++k)
      if ((FActive[k].Mask >> i & 1) != 0) {
        FCrossings.push_back(XAt(FEdges[FActive[k].Edge], i));
        FCrossings.push_back(FActive[k].Direction);
      }
    const size_t count = FCrossings.size() / 2;
    int32_t* crossings = FCrossings.data();
    for (size_t n = 1; n < count; ++n) {
      const int32_t x = crossings[2 * n], direction = crossings[2 * n + 1];
      size_t k = n;
      for (; k > 0 && crossings[2 * k - 2] > x; --k) {
        crossings[2 * k] = crossings[2 * k - 2];
        crossings[2 * k + 1] = crossings[2 * k - 1];
      }
      crossings[2 * k] = x;
      crossings[2 * k + 1] = direction;
    }
    int winding = 0, sign = 1;
    int32_t left = 0;
    for (size_t n = 0; n < count; ++n) {
      const int32_t x = crossings[2 * n], direction = crossings[2 * n + 1];
      if (winding == 0) sign = direction;
      const int turns = winding * sign;
      if (evenOdd ? (turns & 1) != 0 : turns > 0) {
        const int32_t x0 = std::max(left, 0), x1 = std::min(x, clip);
        if (x0 < x1) {
          AddCrossing(cover, carry, touched, clip, x0, 1);
          AddCrossing(cover, carry, touched, clip, x1, -1);
        }
      }
      if (x >= clip) break;
      left = x;
      winding += direction;
    }
  }
}

void TRasterizer::BlendRow(TBitmap& picture, int y, uint32_t colour, const TFillFunction* fill, int sign) {
  uint8_t* pixels = picture.Row(y);
  int32_t* const cover = FCover.data();
  int32_t* const carry = FCarry.data();
  if (fill == nullptr) {
    // One colour: a pixel gets it at its coverage, a run between touched pixels at the
    // coverage carried into it.
    int32_t carried = 0, next = FMinColumn;
    for (size_t word = size_t(FMinColumn) / 64; word <= size_t(FMaxColumn) / 64; ++word) {
      for (uint64_t bits = FTouched[word]; bits != 0; bits &= bits - 1) {
        const int32_t x = int32_t(word * 64) + std::countr_zero(bits);
        if (carried > 0 && next < x) BlendRun(pixels, next, x, WithCoverage(colour, std::min(carried, 256)));
        const int32_t coverage = carried + sign * cover[x];
        carried += sign * carry[x];
        cover[x] = carry[x] = 0;
        if (coverage > 0) Blend(pixels + size_t(x) * 4, WithCoverage(colour, std::min(coverage, 256)));
        next = x + 1;
      }
      FTouched[word] = 0;
    }
    if (carried > 0 && next < picture.Width())
      BlendRun(pixels, next, picture.Width(), WithCoverage(colour, std::min(carried, 256)));
    return;
  }
  // Coverage from the pixels left of the current one.
  int32_t carried = 0, next = FMinColumn;
  auto paintRun = [&](int32_t first, int32_t last) {
    if (carried <= 0 || first >= last) return;
    if (fill == nullptr) return BlendRun(pixels, first, last, WithCoverage(colour, std::min(carried, 256)));
    for (int32_t x = first; x < last; ++x) Blend(pixels + size_t(x) * 4, WithCoverage((*fill)(x, y), std::min(carried, 256)));
  };
  for (size_t word = size_t(FMinColumn) / 64; word <= size_t(FMaxColumn) / 64; ++word) {
    for (uint64_t bits = FTouched[word]; bits != 0; bits &= bits - 1) {
      const int32_t x = int32_t(word * 64) + std::countr_zero(bits);
      paintRun(next, x);
      const int32_t coverage = carried + sign * FCover[size_t(x)];
      carried += sign * FCarry[size_t(x)];
      FCover[size_t(x)] = FCarry[size_t(x)] = 0;
      if (coverage > 0) {
        const uint32_t source = fill != nullptr ? (*fill)(x, y) : colour;
        Blend(pixels + size_t(x) * 4, WithCoverage(source, std::min(coverage, 256)));
      }
      next = x + 1;
    }
    FTouched[word] = 0;
  }
  paintRun(next, picture.Width());
}

}  // namespace kiv
