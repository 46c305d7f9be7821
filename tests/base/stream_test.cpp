#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_stream.h"
#include "base/memory_stream.h"

namespace kiv {
namespace {

// A source whose size is unknown, as the inflater's is.
class UnsizedStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t GetSize() override { return -1; }
};

std::vector<uint8_t> Ramp(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 7);
  return bytes;
}

TEST(MemoryStream, ReadsStopAtTheEndAndWritesPastItFillWithZeros) {
  TMemoryStream s;
  s.WriteBuffer("abc", 3);
  s.SetPosition(6);
  s.WriteBuffer("z", 1);
  EXPECT_EQ(s.GetSize(), 7);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{'a', 'b', 'c', 0, 0, 0, 'z'}));
  s.SetPosition(5);
  char out[10];
  EXPECT_EQ(s.Read(out, 10), 2);
  EXPECT_EQ(s.Read(out, 10), 0);
  s.SetPosition(20);
  EXPECT_EQ(s.Read(out, 1), 0);
  s.SetSize(2);
  EXPECT_EQ(s.GetPosition(), 2);
}

TEST(MemoryStream, WholeBufferReadsRaiseWhenShort) {
  TMemoryStream s({1, 2, 3});
  EXPECT_EQ(s.ReadWord(), 0x0201);
  EXPECT_THROW(s.ReadWord(), EStreamReadError);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadByte(), 1);
  TMemoryStream le({0x78, 0x56, 0x34, 0x12});
  EXPECT_EQ(le.ReadDWord(), 0x12345678u);
}

TEST(StreamContract, LoadFromStreamCopiesAllAndRestoresTheSourcePosition) {
  TMemoryStream source(Ramp(100000));
  source.SetPosition(1234);
  TMemoryStream copy;
  copy.WriteBuffer("old", 3);
  copy.LoadFromStream(source);
  EXPECT_EQ(copy.Bytes(), source.Bytes());
  EXPECT_EQ(copy.GetPosition(), 0);
  EXPECT_EQ(source.GetPosition(), 1234);

  UnsizedStream unsized(Ramp(70000));
  copy.LoadFromStream(unsized);
  EXPECT_EQ(copy.Bytes(), Ramp(70000));
}

TEST(StreamContract, CopyFromStopsAtTheSourceEnd) {
  TMemoryStream source(Ramp(50000));
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 40000), 40000);
  EXPECT_EQ(target.CopyFrom(source, 40000), 10000);
  EXPECT_EQ(target.Bytes(), Ramp(50000));
}

TEST(FileStream, CreatesReadsResizesAndReportsMissingFiles) {
  auto path = (std::filesystem::temp_directory_path() / "kiv_file_stream_test.bin").string();
  {
    TFileStream f(path, TFileMode::Create);
    f.WriteBuffer("hello world", 11);
    EXPECT_EQ(f.GetSize(), 11);
    f.SetSize(5);
    EXPECT_EQ(f.GetPosition(), 5);
  }
  {
    TFileStream f(path, TFileMode::OpenRead);
    char out[16] = {};
    EXPECT_EQ(f.Read(out, 16), 5);
    EXPECT_STREQ(out, "hello");
    EXPECT_EQ(f.Write("x", 1), 0);  // read-only
  }
  std::remove(path.c_str());
  try {
    TFileStream f(path, TFileMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". No such file or directory");
  }
}

}  // namespace
}  // namespace kiv
