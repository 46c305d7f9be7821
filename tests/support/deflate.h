#pragma once
// Raw deflate (no zlib header or check value), as show containers and graphics
// containers carry their data.
#include <zlib.h>

#include <cstdint>
#include <vector>

namespace kiv {

inline std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& plain) {
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&z, uLong(plain.size())));
  z.next_in = const_cast<Bytef*>(plain.data());
  z.avail_in = uInt(plain.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace kiv
