#include <gtest/gtest.h>

#include "ini/text_writer.h"
#include "text_test_support.h"

namespace kiv {
namespace {

// Accepts at most limit bytes in all, as a full disk would.
class ShortStream : public TMemoryStream {
 public:
  explicit ShortStream(int64_t limit) : FLimit(limit) {}
  int64_t Write(const void* buffer, int64_t count) override {
    int64_t accepted = std::min(count, FLimit - GetSize());
    return TMemoryStream::Write(buffer, accepted);
  }

 private:
  int64_t FLimit;
};

std::string Utf8Written(std::u16string_view text) {
  TMemoryStream stream;
  TUTF8Writer writer(stream);
  writer.Write(text);
  writer.Flush();
  return BytesOf(stream).substr(3);
}

TEST(TextWriter, Utf8WriterWritesTheMarkAndEveryKindOfLineEnd) {
  TMemoryStream stream;
  {
    TUTF8Writer writer(stream);
    writer.WriteLine(u"k=\u00E9\u20AC");
    writer.WriteEmptyLine();
    writer.WriteLineEnd(TLineEnd::LF);
    writer.WriteLineEnd(TLineEnd::CR);
    writer.WriteLineEnd(TLineEnd::LFCR);
    writer.WriteLineEnd(TLineEnd::None);
  }  // the destructor flushes
  EXPECT_EQ(BytesOf(stream), "\xEF\xBB\xBFk=\xC3\xA9\xE2\x82\xAC\r\n\r\n\n\r\n\r");
}

TEST(TextWriter, Utf8WriterJoinsPairsAndKeepsEveryLoneSurrogate) {
  EXPECT_EQ(Utf8Written(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8Written(std::u16string(1, char16_t(0xDC00))), "\xED\xB0\x80");
  EXPECT_EQ(Utf8Written(u"a\xD800"), "a\xED\xA0\x80");
  EXPECT_EQ(Utf8Written(u"\xD800" u"A"), "\xED\xA0\x80" "A");
  EXPECT_EQ(Utf8Written(u"\xDC00\xD800"), "\xED\xB0\x80\xED\xA0\x80");
}

TEST(TextWriter, UnicodeWriterWritesLittleEndianUnitsAfterFFFE) {
  TMemoryStream stream;
  {
    TUnicodeWriter writer(stream);
    writer.WriteLine(u"A\u20AC\xD83D\xDE00");
  }
  EXPECT_EQ(BytesOf(stream),
            std::string("\xFF\xFE" "A\0\xAC\x20\x3D\xD8\x00\xDE\r\0\n\0", 14));
}

TEST(TextWriter, BufferGoesOutWhenFullAndTheRestOnFlush) {
  TMemoryStream stream;
  TUTF8Writer writer(stream);
  std::u16string text(40000, u'x');
  text[20000] = u'\u00E9';
  writer.Write(text);
  EXPECT_EQ(stream.GetSize(), 32767);  // one full buffer, the rest still held
  writer.Flush();
  std::string expected = "\xEF\xBB\xBF" + std::string(20000, 'x') + "\xC3\xA9" + std::string(19999, 'x');
  EXPECT_EQ(BytesOf(stream), expected);
  writer.Flush();  // nothing left to write twice
  EXPECT_EQ(BytesOf(stream), expected);
}

TEST(TextWriter, ShortWriteRaisesOnFlushAndIsSwallowedByTheDestructor) {
  ShortStream stream(5);
  {
    TUTF8Writer writer(stream);
    writer.WriteLine(u"abcdef");
    EXPECT_THROW(writer.Flush(), EStreamWriteError);
    writer.WriteLine(u"more");
  }  // fails again while flushing, silently
  EXPECT_EQ(BytesOf(stream), "\xEF\xBB\xBF" "ab");

  ShortStream full(100);
  TUTF8Writer writer(full);
  EXPECT_THROW(writer.Write(std::u16string(40000, u'x')), EStreamWriteError);
}

}  // namespace
}  // namespace kiv
