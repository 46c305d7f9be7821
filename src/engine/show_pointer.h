#pragma once
// The mouse pointer over the show's window, as the window system shows it.
#include <cstdint>

namespace kiv {

enum class TCursorShape : uint8_t { Arrow, Hand, Hidden };

struct TPointerState {
  int32_t X = 0;  // client pixels
  int32_t Y = 0;
  bool Inside = false;  // over the window's client area
};

class IShowPointer {
 public:
  virtual ~IShowPointer() = default;
  virtual TPointerState Read() const = 0;
  virtual void SetShape(TCursorShape shape) = 0;
};

}  // namespace kiv
