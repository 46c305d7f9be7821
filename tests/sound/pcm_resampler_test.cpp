// The format converter on made-up samples whose converted values are known.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "sound/pcm_resampler.h"

namespace kiv {
namespace {

std::vector<int16_t> ConvertAll(TPcmResampler& resampler, const std::vector<uint8_t>& input, size_t piece) {
  TLocalBuffer out;
  for (size_t at = 0; at < input.size();) {
    const size_t n = std::min(piece, input.size() - at);
    const size_t taken = resampler.Convert(input.data() + at, n, out);
    at += taken;
    if (taken == 0) break;
  }
  std::vector<int16_t> samples(out.Size() / 2);
  std::memcpy(samples.data(), out.Data(), samples.size() * 2);
  return samples;
}

std::vector<uint8_t> Bytes16(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes(samples.size() * 2);
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

struct TSampleCase {
  const char* Name;
  TWaveFormat Input;
  std::vector<uint8_t> Frame;
  int16_t Left, Right;
};

TWaveFormat FloatFormat(uint16_t channels, uint16_t bits) {
  TWaveFormat format = PcmFormat(8000, channels, bits);
  format.Tag = 3;
  return format;
}

std::vector<uint8_t> FloatBytes(std::vector<float> values) {
  std::vector<uint8_t> bytes(values.size() * 4);
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

TEST(PcmResamplerTest, SampleWidthsAndChannels) {
  const TSampleCase cases[] = {
      {"8-bit mono", PcmFormat(8000, 1, 8), {0x00}, -32768, -32768},
      {"8-bit stereo", PcmFormat(8000, 2, 8), {0xFF, 0x81}, 32512, 256},
      {"24-bit takes the top bits", PcmFormat(8000, 2, 24), {0xFF, 0x34, 0x12, 0x00, 0x00, 0x80}, 0x1234, -32768},
      {"32-bit takes the top bits", PcmFormat(8000, 1, 32), {0xFF, 0xFF, 0xFF, 0xFF}, -1, -1},
      {"float scales by 32767", FloatFormat(2, 32), FloatBytes({0.5f, -1.5f}), 16384, -32768},
      {"float NaN is silence", FloatFormat(1, 32), FloatBytes({std::nanf("")}), 0, 0},
      {"six channels mix in WAV order", PcmFormat(8000, 6, 16), Bytes16({100, 1000, 10, 1, -5000, 3000}), -4889, 4011},
      {"six channels clip", PcmFormat(8000, 6, 16), Bytes16({20000, -20000, 10000, 10000, 0, -30000}), 32767, -30000},
  };
  for (const TSampleCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPcmResampler resampler;
    ASSERT_TRUE(resampler.Setup(c.Input, PcmFormat(8000, 2, 16)));
    EXPECT_EQ(ConvertAll(resampler, c.Frame, 64), (std::vector<int16_t>{c.Left, c.Right}));
  }
}

TEST(PcmResamplerTest, NarrowAndMonoOutput) {
  TPcmResampler resampler;
  ASSERT_TRUE(resampler.Setup(PcmFormat(8000, 2, 16), PcmFormat(8000, 1, 8)));
  TLocalBuffer out;
  const std::vector<uint8_t> input = Bytes16({1000, 3000, -32768, -32768, 255, 0});
  EXPECT_EQ(resampler.Convert(input.data(), input.size(), out), input.size());
  EXPECT_EQ(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()), (std::vector<uint8_t>{128 + 7, 0, 128}));
}

TEST(PcmResamplerTest, RefusesWhatItCannotRead) {
  TPcmResampler resampler;
  EXPECT_FALSE(resampler.Setup(PcmFormat(8000, 3, 16), PcmFormat(8000, 2, 16)));
  EXPECT_FALSE(resampler.Setup(PcmFormat(8000, 2, 12), PcmFormat(8000, 2, 16)));
  EXPECT_FALSE(resampler.Setup(PcmFormat(0, 2, 16), PcmFormat(8000, 2, 16)));
  EXPECT_FALSE(resampler.Setup(PcmFormat(8000, 2, 16), PcmFormat(8000, 6, 16)));
  TWaveFormat wrongAlign = PcmFormat(8000, 2, 16);
  wrongAlign.BlockAlign = 6;
  EXPECT_FALSE(resampler.Setup(wrongAlign, PcmFormat(8000, 2, 16)));
}

// Three-point interpolation reproduces a quadratic exactly at any rate, one input frame
// late; converting in pieces of any size gives the same samples as at once.
TEST(PcmResamplerTest, RateChangeFollowsAQuadraticSeamlessly) {
  std::vector<int16_t> input;
  for (int i = 0; i < 250; ++i) input.push_back(int16_t(i * (i - 1) / 2 - 9000));
  const std::vector<uint8_t> bytes = Bytes16(input);
  for (uint32_t rate : {44100u, 22050u, 11025u, 6000u}) {
    SCOPED_TRACE(rate);
    TPcmResampler whole;
    ASSERT_TRUE(whole.Setup(PcmFormat(8000, 1, 16), PcmFormat(rate, 1, 16)));
    const std::vector<int16_t> out = ConvertAll(whole, bytes, bytes.size());
    const double step = 8000.0 / rate;
    ASSERT_NEAR(double(out.size()), 249 / step, 1.5);
    // (Before the second input frame the curve runs through the silence before the start.)
    for (size_t k = size_t(std::ceil(1 / step)); k < out.size(); ++k) {
      const double x = k * step;
      ASSERT_NEAR(out[k], x * (x - 1) / 2 - 9000, 0.5) << k;
    }
    for (size_t piece : {2u, 6u, 98u}) {
      TPcmResampler pieces;
      ASSERT_TRUE(pieces.Setup(PcmFormat(8000, 1, 16), PcmFormat(rate, 1, 16)));
      EXPECT_EQ(ConvertAll(pieces, bytes, piece), out) << piece;
    }
  }
}

}  // namespace
}  // namespace kiv
