// Texts in scripts the requested font lacks come from installed fonts that have them:
// no line of Greek, Cyrillic or Chinese is drawn as boxes.
#include <gtest/gtest.h>

#include <set>

#include "base/text.h"

#include "graphics/simple_vector_text.h"
#include "graphics/text_producer.h"
#include "support/pixels.h"

namespace kiv {
namespace {

TEST(TextScripts, EveryCharacterFindsAGlyph) {
  const std::vector<std::u16string> lines{u"Καλημέρα κόσμε", u"Съешь же ещё", u"你好，世界", u"Mixed: Ωmega 世"};
  const std::shared_ptr<TSimpleVectorText> text = TSimpleVectorText::Build(u"DejaVu Sans", 0, lines);
  ASSERT_TRUE(text);
  ASSERT_EQ(text->LineCount(), 4);
  std::set<std::u16string> fonts;
  for (int line = 0; line < text->LineCount(); ++line) {
    ASSERT_GT(text->GlyphCount(line), 0) << line;
    for (int glyph = 0; glyph < text->GlyphCount(line); ++glyph) {
      const TGlyphPointer& pointer = text->Pointer(line, glyph);
      EXPECT_NE(pointer.Index, 0) << "line " << line << " glyph " << glyph << " in " << Utf16ToUtf8(pointer.FontSpec);
      EXPECT_TRUE(text->Placement(line, glyph)) << line << " " << glyph;
      fonts.insert(pointer.FontSpec);
    }
  }
  // Chinese comes from another font, named by its own family.
  EXPECT_GE(fonts.size(), 2u);
  EXPECT_TRUE(fonts.count(u"DejaVu Sans:"));

  TTextParams params;
  params.FontName = u"DejaVu Sans";
  params.Size = 0.02;
  params.Lines = lines;
  const std::shared_ptr<TBitmapStore> picture = TTextProducer(TShowFileOpener()).Render(params);
  ASSERT_TRUE(picture);
  const std::shared_ptr<const TBitmap> pixels = picture->GetMipLevel(0, TPixelFormat::Bgra32);
  int inked = 0;
  for (int y = 0; y < pixels->Height(); ++y)
    for (int x = 0; x < pixels->Width(); ++x) inked += AlphaAt(*pixels, x, y) > 128;
  EXPECT_GT(inked, 500);
}

}  // namespace
}  // namespace kiv
