#include "render/screen/mip_levels.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/errors.h"

namespace kiv {

namespace {

void HalveInto(const TBitmap& source, TBitmap& target) {
  for (int y = 0; y < target.Height(); ++y) {
    const uint8_t* top = source.Row(2 * y);
    const uint8_t* bottom = source.Row(2 * y + 1);
    uint8_t* out = target.Row(y);
    for (int x = 0; x < target.Width(); ++x)
      for (int channel = 0; channel < 4; ++channel) {
        const int a = 8 * x + channel;
        out[4 * x + channel] = uint8_t((top[a] + top[a + 4] + bottom[a] + bottom[a + 4] + 2) / 4);
      }
  }
}

// Coverage of source cells by the target cell [index * step, (index + 1) * step).
struct TSpan {
  int First;
  int Last;  // inclusive
  double Start;
  double End;
  double Weight(int cell) const { return std::min(End, cell + 1.0) - std::max(Start, double(cell)); }
};

TSpan SpanOf(int index, double step, int limit) {
  TSpan span{0, 0, index * step, (index + 1) * step};
  span.First = std::min(limit - 1, int(std::floor(span.Start)));
  span.Last = std::min(limit - 1, std::max(span.First, int(std::ceil(span.End)) - 1));
  return span;
}

void ResampleInto(const TBitmap& source, TBitmap& target) {
  const double stepX = double(source.Width()) / target.Width();
  const double stepY = double(source.Height()) / target.Height();
  for (int y = 0; y < target.Height(); ++y) {
    const TSpan rows = SpanOf(y, stepY, source.Height());
    uint8_t* out = target.Row(y);
    for (int x = 0; x < target.Width(); ++x) {
      const TSpan columns = SpanOf(x, stepX, source.Width());
      std::array<double, 4> sum{};
      double total = 0;
      for (int sy = rows.First; sy <= rows.Last; ++sy)
        for (int sx = columns.First; sx <= columns.Last; ++sx) {
          const double weight = rows.Weight(sy) * columns.Weight(sx);
          const uint8_t* pixel = source.Row(sy) + 4 * sx;
          for (int channel = 0; channel < 4; ++channel) sum[size_t(channel)] += weight * pixel[channel];
          total += weight;
        }
      for (int channel = 0; channel < 4; ++channel)
        out[4 * x + channel] = uint8_t(std::clamp(std::lround(sum[size_t(channel)] / total), 0L, 255L));
    }
  }
}

}  // namespace

void ReduceInto(const TBitmap& source, TBitmap& target) {
  KIV_ASSERT(source.Format() == TPixelFormat::Bgra32 && target.Format() == TPixelFormat::Bgra32);
  if (2 * target.Width() == source.Width() && 2 * target.Height() == source.Height())
    HalveInto(source, target);
  else
    ResampleInto(source, target);
}

}  // namespace kiv
