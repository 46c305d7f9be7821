#include "model/action_text.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "ini/ini_values.h"

namespace kiv {

namespace {

struct TPlainWord {
  std::u16string_view Word;
  TKivActionType Type;
};

constexpr std::array<TPlainWord, 11> kPlainWords{{
    {u"exit", kActionExit},
    {u"nextslide", kActionNextSlide},
    {u"prevslide", kActionPrevSlide},
    {u"help", kActionHelp},
    {u"gotofirstslide", kActionGoToSlide},  // number 0: the first slide
    {u"pause", kActionPause},
    {u"print", kActionPrint},
    {u"stop", kActionStop},
    {u"closedialog", kActionCloseDialog},
    {u"saveslide", kActionSaveSlide},
    {u"changeprinter", kActionChangePrinter},
}};

// Forms whose argument is written in quotes and closed by ")": the argument runs from one
// character past the prefix to two characters before the end.
struct TQuotedForm {
  std::u16string_view Prefix;
  TKivActionType Type;
};

constexpr std::array<TQuotedForm, 7> kQuotedForms{{
    {u"openwebsite(", kActionOpenWebSite},
    {u"writeemail(", kActionWriteEmail},
    {u"runapp(", kActionRunApp},
    {u"runappandexit(", kActionRunAppAndExit},
    {u"runpresentation(", kActionRunPresentation},
    {u"runpresentationandreturn(", kActionRunPresentationAndReturn},
    {u"opendialog(", kActionOpenDialog},
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
  if (IsSlideNumber(argument) && ParseIniInteger(argument, number)) return {kActionGoToSlide, number, {}};
  return {kActionGoToSlide, -1, std::u16string(argument)};
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
  if (action.Type != kActionGoToSlide || action.Number != -1) return action;
  const int index = resolver ? resolver(action.Text) : -1;
  if (index < 0) return {};
  return {kActionGoToSlide, index + 1, std::move(action.Text)};
}

int SlideIndexByName(std::span<const TSlideInfo> slides, std::u16string_view name) {
  for (size_t i = 0; i < slides.size(); ++i)
    if (slides[i].SlideId == name) return int(i);
  return -1;
}

}  // namespace kiv
