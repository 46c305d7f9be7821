#include "model/action_text.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "ini/ini_values.h"

namespace kiv {

namespace {

struct TPlainWord {
  std::u16string_view Word;
  TActionType Type;
};

constexpr std::array<TPlainWord, 11> kPlainWords{{
    {u"exit", TActionType::Exit},
    {u"nextslide", TActionType::NextSlide},
    {u"prevslide", TActionType::PrevSlide},
    {u"help", TActionType::Help},
    {u"gotofirstslide", TActionType::GoToSlide},  // number 0: the first slide
    {u"pause", TActionType::Pause},
    {u"print", TActionType::Print},
    {u"stop", TActionType::Stop},
    {u"closedialog", TActionType::CloseDialog},
    {u"saveslide", TActionType::SaveSlide},
    {u"changeprinter", TActionType::ChangePrinter},
}};

// Forms whose argument is written in quotes and closed by ")": the argument runs from one
// character past the prefix to two characters before the end.
struct TQuotedForm {
  std::u16string_view Prefix;
  TActionType Type;
};

constexpr std::array<TQuotedForm, 7> kQuotedForms{{
    {u"openwebsite(", TActionType::OpenWebSite},
    {u"writeemail(", TActionType::WriteEmail},
    {u"runapp(", TActionType::RunApp},
    {u"runappandexit(", TActionType::RunAppAndExit},
    {u"runpresentation(", TActionType::RunPresentation},
    {u"runpresentationandreturn(", TActionType::RunPresentationAndReturn},
    {u"opendialog(", TActionType::OpenDialog},
}};

constexpr std::u16string_view kGoToSlidePrefix = u"gotoslide(";

// text[from, size - cutAtEnd), empty when the text is too short for it.
std::u16string_view Between(std::u16string_view text, size_t from, size_t cutAtEnd) {
  if (text.size() < from + cutAtEnd) return {};
  return text.substr(from, text.size() - from - cutAtEnd);
}

// Decimal digits with an optional sign. Hexadecimal forms are names here: a slide may
// well be called "x1".
bool IsSlideNumber(std::u16string_view argument) {
  if (!argument.empty() && (argument.front() == u'-' || argument.front() == u'+')) argument.remove_prefix(1);
  return !argument.empty() &&
         std::all_of(argument.begin(), argument.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

TKivActionInfo GoToSlideAction(std::u16string_view argument) {
  int32_t number = 0;
  if (IsSlideNumber(argument) && ParseIniInteger(argument, number)) return {TActionType::GoToSlide, number, {}};
  return {TActionType::GoToSlide, -1, std::u16string(argument)};
}

}  // namespace

TKivActionInfo ParseActionText(std::u16string_view text) {
  const std::u16string lower = LowerCase(text);
  for (const TPlainWord& plain : kPlainWords)
    if (lower == plain.Word) return {plain.Type, 0, {}};
  if (lower.starts_with(kGoToSlidePrefix)) return GoToSlideAction(Between(text, kGoToSlidePrefix.size(), 1));
  for (const TQuotedForm& form : kQuotedForms)
    if (lower.starts_with(form.Prefix)) return {form.Type, 0, std::u16string(Between(text, form.Prefix.size() + 1, 2))};
  return {};
}

TKivActionInfo ResolveSlideName(TKivActionInfo action, const TSlideNameResolver& resolver) {
  if (action.Type != TActionType::GoToSlide || action.Number != -1) return action;
  const int index = resolver ? resolver(action.Text) : -1;
  if (index < 0) return {};
  return {TActionType::GoToSlide, index + 1, std::move(action.Text)};
}

int SlideIndexByName(std::span<const TSlideInfo> slides, std::u16string_view name) {
  for (size_t i = 0; i < slides.size(); ++i)
    if (slides[i].SlideId == name) return int(i);
  return -1;
}

}  // namespace kiv
