#include "app/dialog_painter.h"

#include "base/log.h"
#include "base/text.h"
#include "graphics/bitmap.h"

namespace kiv {

namespace {

constexpr int kTextHeight = 16;  // pixels from the top of the tallest letter to the lowest

// The window an event is for; 0 for events of no window.
uint32_t WindowOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_TEXTEDITING: return event.edit.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    default: return 0;
  }
}

bool IsInput(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL: return true;
    default: return false;
  }
}

}  // namespace

TDialogPainter::TTexture TDialogPainter::Text(std::u16string_view text) {
  if (text.empty()) return nullptr;
  TTextParams params;
  params.Lines = {std::u16string(text)};
  params.Red = params.Green = params.Blue = 0;
  params.Align = kAlignLeft;
  const std::shared_ptr<const TVectorText> vector = FProducer.VectorText(params);
  if (!vector) return nullptr;
  const int units = vector->Metrics().Ascent + vector->Metrics().Descent;
  if (units <= 0) return nullptr;
  params.Size = double(kTextHeight) / units;
  const std::shared_ptr<TBitmapStore> picture = FProducer.Render(params);
  if (!picture) return nullptr;
  const std::shared_ptr<const TBitmap> pixels = picture->GetMipLevel(0, TPixelFormat::Bgra32);
  SDL_Texture* texture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                           pixels->Width(), pixels->Height());
  if (!texture) return nullptr;
  SDL_UpdateTexture(texture, nullptr, pixels->Row(0), pixels->Stride());
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return TTexture(texture);
}

void TDialogPainter::Put(SDL_Texture* texture, const SDL_Rect& box, bool centre) {
  if (!texture) return;
  int width = 0, height = 0;
  SDL_QueryTexture(texture, nullptr, nullptr, &width, &height);
  const SDL_Rect at{centre ? box.x + (box.w - width) / 2 : box.x, box.y + (box.h - height) / 2, width, height};
  SDL_RenderCopy(FRenderer, texture, nullptr, &at);
}

void TDialogPainter::PutText(std::u16string_view text, const SDL_Rect& box, bool centre) {
  const TTexture texture = Text(text);
  Put(texture.get(), box, centre);
}

void TDialogPainter::Frame(const SDL_Rect& box, uint8_t fill) {
  SDL_SetRenderDrawColor(FRenderer, fill, fill, fill, 255);
  SDL_RenderFillRect(FRenderer, &box);
  SDL_SetRenderDrawColor(FRenderer, 96, 96, 96, 255);
  SDL_RenderDrawRect(FRenderer, &box);
}

void TDialogPainter::Button(const SDL_Rect& box, std::u16string_view text) {
  Frame(box, 220);
  PutText(text, box, true);
}

void TDialogPainter::Clear() {
  SDL_SetRenderDrawColor(FRenderer, 236, 236, 236, 255);
  SDL_RenderClear(FRenderer);
}

bool Inside(const SDL_Rect& box, int x, int y) {
  const SDL_Point point{x, y};
  return SDL_PointInRect(&point, &box);
}

TDialogWindow::TDialogWindow(const TDialogOwner& owner, std::u16string_view caption, int width, int height)
    : FOwner(owner) {
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  if (owner.Window) {
    int left = 0, top = 0, ownerWidth = 0, ownerHeight = 0;
    SDL_GetWindowPosition(owner.Window, &left, &top);
    SDL_GetWindowSize(owner.Window, &ownerWidth, &ownerHeight);
    x = left + (ownerWidth - width) / 2;
    y = top + (ownerHeight - height) / 2;
  }
  FWindow = SDL_CreateWindow(Utf16ToUtf8(caption).c_str(), x, y, width, height, SDL_WINDOW_SHOWN);
  if (!FWindow) {
    Log().Write(std::string("TDialogWindow: no window: ") + SDL_GetError());
    return;
  }
  if (owner.Window) SDL_SetWindowModalFor(FWindow, owner.Window);
  FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_SOFTWARE);
  if (!FRenderer) Log().Write(std::string("TDialogWindow: no renderer: ") + SDL_GetError());
  SDL_RaiseWindow(FWindow);
  SDL_SetWindowInputFocus(FWindow);
  SDL_StartTextInput();
}

TDialogWindow::~TDialogWindow() {
  SDL_StopTextInput();
  if (FRenderer) SDL_DestroyRenderer(FRenderer);
  if (FWindow) SDL_DestroyWindow(FWindow);
  for (SDL_Event& event : FKept) SDL_PushEvent(&event);
  // The show's window takes the focus back (an inactive window may hold the show).
  if (FOwner.Window) {
    SDL_RaiseWindow(FOwner.Window);
    SDL_SetWindowInputFocus(FOwner.Window);
  }
}

bool TDialogWindow::NextEvent(SDL_Event& event, int timeoutMs) {
  if (!SDL_WaitEventTimeout(&event, timeoutMs)) return false;
  if (event.type == SDL_QUIT) {
    FKept.push_back(event);  // the show's to act on once the dialog is closed
    return true;
  }
  if (WindowOf(event) == SDL_GetWindowID(FWindow)) return true;
  // The show's window takes no input while the dialog is open.
  if (IsInput(event)) return false;
  if (!FOwner.Serve || !FOwner.Serve(event)) FKept.push_back(event);
  return false;
}

}  // namespace kiv
