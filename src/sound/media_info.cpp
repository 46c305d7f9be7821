#include "sound/media_info.h"

namespace kiv {

TWaveFormat PcmFormat(uint32_t rate, uint16_t channels, uint16_t bits) {
  TWaveFormat format;
  format.Tag = 1;
  format.Channels = channels;
  format.Rate = rate;
  format.BlockAlign = uint16_t(channels * (bits / 8));
  format.BytesPerSecond = rate * format.BlockAlign;
  format.Bits = bits;
  return format;
}

TWaveFormat MixFormat() { return PcmFormat(44100, 2, 16); }

}  // namespace kiv
