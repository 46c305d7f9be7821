#include "graphics/graphics_container_payload.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <new>

namespace kiv {

namespace {

constexpr int kWindowBits = 15;  // 32 KiB
constexpr size_t kInputPiece = 32768;
// Deflate never expands data more than this (zlib's technical details), so room for the
// whole output can be taken at once without trusting the stream.
constexpr int64_t kDeflateMostExpansion = 1032;

struct TInput {
  std::span<const uint8_t> Rest;
};

struct TOutput {
  std::vector<uint8_t> Bytes;
  int64_t Limit;
};

// Hands zlib the next piece of the packed bytes (0 when none are left).
unsigned NextInput(void* state, z_const unsigned char** piece) {
  TInput& input = *static_cast<TInput*>(state);
  const size_t n = std::min(input.Rest.size(), kInputPiece);
  *piece = const_cast<unsigned char*>(input.Rest.data());
  input.Rest = input.Rest.subspan(n);
  return unsigned(n);
}

// Takes a piece of output; nonzero stops inflating when the limit would be passed.
int TakeOutput(void* state, unsigned char* piece, unsigned length) {
  TOutput& output = *static_cast<TOutput*>(state);
  if (int64_t(output.Bytes.size()) + length > output.Limit) return 1;
  try {
    output.Bytes.insert(output.Bytes.end(), piece, piece + length);
  } catch (const std::bad_alloc&) {
    return 1;  // no exception may cross zlib's frames
  }
  return 0;
}

}  // namespace

std::optional<std::vector<uint8_t>> InflatePayload(std::span<const uint8_t> packed, int64_t limit) {
  const auto window = std::make_unique<unsigned char[]>(size_t(1) << kWindowBits);
  z_stream z{};
  if (inflateBackInit(&z, kWindowBits, window.get()) != Z_OK) return std::nullopt;
  TInput input{packed};
  TOutput output{{}, limit};
  output.Bytes.reserve(size_t(std::min(limit, int64_t(packed.size()) * kDeflateMostExpansion)));
  const int result = inflateBack(&z, NextInput, &input, TakeOutput, &output);
  inflateBackEnd(&z);
  if (result != Z_STREAM_END) return std::nullopt;
  return std::move(output.Bytes);
}

}  // namespace kiv
