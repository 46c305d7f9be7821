#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "container/cache_stream.h"
#include "container/crypt_stream.h"
#include "container/inflate_stream.h"
#include "container/partial_stream.h"
#include "container_test_support.h"
#include "support/deflate.h"

namespace kiv {
namespace {

std::vector<uint8_t> Ramp(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 31 + (i >> 8));
  return bytes;
}

// A memory stream that counts the reads made on it.
class CountingStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t Read(void* buffer, int64_t count) override {
    ++reads;
    return TMemoryStream::Read(buffer, count);
  }
  int reads = 0;
};


std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EKivError& e) {
    return e.what();
  }
  return "";
}

TEST(PartialStream, ReadsOnlyItsWindowAndGuardsItsBounds) {
  TMemoryStream source(Ramp(1000));
  TPartialStream empty(&source, false, 0, 1000);
  char byte;
  EXPECT_EQ(empty.GetSize(), 0);
  EXPECT_EQ(empty.Read(&byte, 1), 0);

  TPartialStream window(&source, false, 100, 200);
  window.SetPosition(96);
  uint8_t out[10];
  EXPECT_EQ(window.Read(out, 10), 4);
  EXPECT_EQ(out[0], Ramp(1000)[296]);
  EXPECT_EQ(window.GetPosition(), 100);

  EXPECT_EQ(ErrorOf([&] { window.SetPosition(101); }), "Incorrect Position");
  EXPECT_EQ(ErrorOf([&] { window.SetPosition(-1); }), "Incorrect Position");
  EXPECT_EQ(ErrorOf([&] { window.SetSize(5); }), "Stream Cannot be resized");
  EXPECT_EQ(ErrorOf([&] { TPartialStream(&source, false, 901, 100); }), "Insufficient Source Size");
}

TEST(PartialStream, ProgressComesEvery256BytesWithoutASourceCallEach) {
  CountingStream source(Ramp(300000));
  TPartialStream window(&source, false, 250000, 10000);
  int calls = 0;
  window.SetProgress(4096, [&](TPartialStream& w) {
    ++calls;
    EXPECT_EQ(&w, &window);
  });
  std::vector<uint8_t> all(250000);
  EXPECT_EQ(window.Read(all.data(), 250000), 250000);
  EXPECT_EQ(calls, (250000 + 255) / 256);
  EXPECT_LE(source.reads, 4);  // 64 KiB read-ahead beneath the 256-byte pieces
  auto expected = Ramp(300000);
  EXPECT_TRUE(std::equal(all.begin(), all.end(), expected.begin() + 10000));

  // Seeking back re-reads the right bytes.
  window.SetPosition(5);
  uint8_t b;
  window.Read(&b, 1);
  EXPECT_EQ(b, expected[10005]);
}

TEST(PartialStream, WritesStayInsideTheWindow) {
  TMemoryStream target(std::vector<uint8_t>(20, 0));
  TPartialStream window(&target, false, 5, 10);
  window.SetPosition(3);
  EXPECT_EQ(window.Write("abcdef", 6), 2);
  EXPECT_EQ(target.Bytes()[13], 'a');
  EXPECT_EQ(target.Bytes()[14], 'b');
  EXPECT_EQ(target.Bytes()[15], 0);
}

TEST(CryptStream, DeciphersFromAnyPositionAndIsItsOwnInverse) {
  const std::string key = "5E0C7A93D1B24F68A0E3C5917B2D846F";
  auto plain = Ramp(5000);
  TMemoryStream stored;
  {
    TCryptStream writer(&stored, key, false);
    writer.WriteBuffer(plain.data(), int64_t(plain.size()));
  }
  EXPECT_NE(stored.Bytes(), plain);
  EXPECT_EQ(stored.Bytes()[5], plain[5] ^ uint8_t(key[5]));

  TPartialStream window(&stored, false, 5000, 0);
  TCryptStream reader(&window, key, false);
  std::vector<uint8_t> whole(5000);
  reader.ReadBuffer(whole.data(), 5000);
  EXPECT_EQ(whole, plain);

  reader.SetPosition(5);
  std::vector<uint8_t> tail(4995);
  reader.ReadBuffer(tail.data(), 4995);
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), plain.begin() + 5));

  EXPECT_THROW(TCryptStream(&stored, "", false), EAssertionFailed);
  EXPECT_THROW(TCryptStream(nullptr, key, false), EAssertionFailed);
}

TEST(InflateStream, InflatesSkipsForwardAndRestartsOnlyAtZero) {
  auto plain = Ramp(300000);
  auto packed = RawDeflate(plain);
  TMemoryStream source(packed);
  TInflateStream inflater(source, int64_t(plain.size()));
  EXPECT_EQ(inflater.GetSize(), 300000);

  inflater.SetPosition(100);
  uint8_t b;
  inflater.ReadBuffer(&b, 1);
  EXPECT_EQ(b, plain[100]);
  EXPECT_EQ(inflater.GetPosition(), 100);  // reading does not move the reported position
  EXPECT_EQ(ErrorOf([&] { inflater.SetPosition(40); }), "Invalid ZStream operation!");

  inflater.SetPosition(0);
  source.SetPosition(17);  // someone moved the source: the inflater puts it back
  std::vector<uint8_t> all(plain.size() + 10);
  EXPECT_EQ(inflater.Read(all.data(), int64_t(all.size())), int64_t(plain.size()));
  all.resize(plain.size());
  EXPECT_EQ(all, plain);

  EXPECT_EQ(ErrorOf([&] { inflater.SetSize(1); }), "Invalid ZStream operation!");
  EXPECT_EQ(ErrorOf([&] { inflater.Write("x", 1); }), "Invalid ZStream operation!");
}

TEST(InflateStream, CorruptOrCutDataNeverCrashes) {
  auto plain = Ramp(50000);
  auto packed = RawDeflate(plain);
  std::vector<uint8_t> out(60000);

  TMemoryStream garbage(std::vector<uint8_t>(1000, 0xFF));
  TInflateStream bad(garbage, -1);
  EXPECT_EQ(ErrorOf([&] { bad.Read(out.data(), 60000); }), "data error");

  packed.resize(packed.size() / 2);
  TMemoryStream cut(packed);
  TInflateStream shortened(cut, -1);
  EXPECT_LT(shortened.Read(out.data(), 60000), 50000);

  // A memory copy through LoadFromStream runs until the inflater gives nothing more.
  TMemoryStream whole(RawDeflate(plain));
  TInflateStream inflater(whole, -1);
  TMemoryStream copy;
  copy.LoadFromStream(inflater);
  EXPECT_EQ(copy.Bytes(), plain);
}

TEST(CacheStream, FetchesBlocksOnDemandOnceAndStopsAtTheWindowEnd) {
  CountingStream window(Ramp(10000));
  TCacheStream cache(window);
  EXPECT_EQ(cache.GetSize(), 10000);
  uint8_t b[8];
  cache.SetPosition(5000);
  EXPECT_EQ(window.reads, 2);  // two 4096-byte blocks cover position 5000
  cache.ReadBuffer(b, 8);
  EXPECT_EQ(b[0], Ramp(10000)[5000]);
  cache.SetPosition(10);
  cache.ReadBuffer(b, 8);
  EXPECT_EQ(window.reads, 2);  // nothing fetched twice
  cache.SetPosition(9996);
  EXPECT_EQ(cache.Read(b, 8), 4);
  EXPECT_THROW(cache.SetPosition(10001), EAbort);
}

}  // namespace
}  // namespace kiv
