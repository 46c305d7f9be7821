// The print action where the print system has no printer: it says so, opens no dialog,
// and the show goes on.
#include "app/slide_print_flow.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/recording_message_box.h"
#include "support/project_text.h"

namespace kiv {
namespace {

TEST(SlidePrintFlow, WithoutAPrinterThePrintActionSaysSoAndOpensNothing) {
  // A print server that is not there.
  const char* old = std::getenv("CUPS_SERVER");
  const std::string kept = old ? old : "";
  ::setenv("CUPS_SERVER", "/nonexistent/kiv-print.sock", 1);
  const TRecordingMessageBox messages;
  const std::unique_ptr<TIniStorage> project = ParseProject("[main]\nopt_slidescount=1\n");
  PrintOrSaveSlide({}, *project, TSlidePictures(nullptr, nullptr, 0), TPrintDialogStart::Print);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, kNoPrinterText);
  // Saving, when the show does not allow it, is not offered instead.
  PrintOrSaveSlide({}, *project, TSlidePictures(nullptr, nullptr, 0), TPrintDialogStart::Save);
  EXPECT_EQ(messages.Shown.size(), 2u);
  if (old)
    ::setenv("CUPS_SERVER", kept.c_str(), 1);
  else
    ::unsetenv("CUPS_SERVER");
}

}  // namespace
}  // namespace kiv
