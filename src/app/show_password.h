#pragma once
// A show's password: whether the show asks for one ("opt_usepass"), the texts of the
// prompt, and whether what the user entered opens the show.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ini/ini_storage.h"

namespace kiv {

struct TPasswordTexts {
  std::u16string Caption;  // "opt_lng_password_caption"
  std::u16string Label;    // "opt_lng_password_label"
  std::u16string Ok;       // "opt_lng_button_ok"
  std::u16string Cancel;   // "opt_lng_button_cancel"
};

class TShowPassword {
 public:
  // What a show with "opt_usepass" but without "opt_pass" takes.
  static constexpr std::u16string_view kWithoutPassword = u"rtpx83bnvqmzcyes41Ufkaw";

  explicit TShowPassword(const TIniStorage& project);

  bool Required() const { return FRequired; }
  const TPasswordTexts& Texts() const { return FTexts; }
  // OK was pressed (confirmed) and entered is the password exactly, case included.
  bool Admits(bool confirmed, std::u16string_view entered) const { return confirmed && entered == FExpected; }

 private:
  bool FRequired = false;
  std::u16string FExpected;
  TPasswordTexts FTexts;
};

// What the user entered at the prompt showing texts; none when the user cancelled.
using TPasswordAsker = std::function<std::optional<std::u16string>(const TPasswordTexts& texts)>;

// True when the show needs no password or the user entered it; anything that fails
// while asking counts as a refusal.
bool CheckShowPassword(const TIniStorage& project, const TPasswordAsker& ask);

}  // namespace kiv
