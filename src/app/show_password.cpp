#include "app/show_password.h"

#include "base/log.h"

namespace kiv {

namespace {

// The value of "main"'s key, none when the key is absent (an empty value is a value).
std::optional<std::u16string> MainValue(const TIniStorage& project, std::u16string_view key) {
  // No single default can tell an absent key from a key holding that default; two can.
  std::u16string value = project.ReadString(u"main", key, u"0");
  if (value == u"0" && project.ReadString(u"main", key, u"1") == u"1") return std::nullopt;
  return value;
}

}  // namespace

TShowPassword::TShowPassword(const TIniStorage& project)
    : FRequired(project.ReadBool(u"main", u"opt_usepass", false)),
      FExpected(MainValue(project, u"opt_pass").value_or(std::u16string(kWithoutPassword))),
      FTexts{project.ReadString(u"main", u"opt_lng_password_caption", u"Password required"),
             project.ReadString(u"main", u"opt_lng_password_label", u"Enter password:"),
             project.ReadString(u"main", u"opt_lng_button_ok", u"OK"),
             project.ReadString(u"main", u"opt_lng_button_cancel", u"Cancel")} {}

bool CheckShowPassword(const TIniStorage& project, const TPasswordAsker& ask) {
  try {
    const TShowPassword password(project);
    if (!password.Required()) return true;
    const std::optional<std::u16string> entered = ask ? ask(password.Texts()) : std::nullopt;
    const bool admitted = password.Admits(entered.has_value(), entered.value_or(u""));
    Log().WriteValue("Show password accepted: ", admitted);
    return admitted;
  } catch (...) {
    Log().Write("CheckShowPassword: asking for the password failed");
    return false;
  }
}

}  // namespace kiv
