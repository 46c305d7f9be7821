#pragma once
// Turns text parameters into pictures: finds the text's vector form (stored in the show,
// else built from the installed fonts), lays it out and fills its outlines with
// anti-aliased edges into a Bgra32 picture.
//
//   TTextProducer producer(open);  // open: the show's entries by name
//   std::shared_ptr<TBitmapStore> picture = producer.Render(*ParseTextPictureName(name));
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "graphics/bitmap_store.h"
#include "graphics/font_cache.h"
#include "graphics/text_layout.h"
#include "graphics/text_params.h"
#include "graphics/vector_text.h"

namespace kiv {

class TTextProducer {
 public:
  // An empty opener: texts come from the installed fonts only.
  explicit TTextProducer(TShowFileOpener open);

  // The text stored under its exact StoredVectorTextName, with the glyph caches its
  // glyphs name (through the font cache); else, and when one of those caches is missing
  // (logged once: "Font " + spec + " not found"), the text built from the installed
  // fonts. Null only when no font can be opened at all. The last few texts are kept.
  std::shared_ptr<const TVectorText> VectorText(const TTextParams& params);

  TTextLayout Layout(const TVectorText& text, double scale, double lineSpacing, uint8_t style = 0) const {
    return LayoutText(text, scale, lineSpacing, style);
  }

  // The text drawn at its size, offset, alignment and colour over background (by default
  // the text colour with alpha 0), with the line rectangles attached. Null when there is
  // no text, when the size gives no picture (0, negative, not a number, or beyond the
  // largest picture or 2^26 pixels), or when cancel answers true after a line.
  std::shared_ptr<TBitmapStore> Render(const TTextParams& params, std::optional<uint32_t> background = {},
                                       const std::function<bool()>& cancel = {});

 private:
  std::shared_ptr<const TVectorText> StoredText(const std::u16string& name);

  TShowFileOpener FOpen;
  std::mutex FLock;
  std::deque<std::pair<std::u16string, std::shared_ptr<const TVectorText>>> FRecent;  // by stored name
};

// Render's drawing of a text already found.
std::shared_ptr<TBitmapStore> RenderVectorText(const TVectorText& text, const TTextParams& params,
                                               std::optional<uint32_t> background = {},
                                               const std::function<bool()>& cancel = {});

}  // namespace kiv
