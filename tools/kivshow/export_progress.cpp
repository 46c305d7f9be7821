#include "kivshow/export_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <utility>

#include "platform/terminal.h"

namespace kiv {

namespace {

// A terminal line is redrawn at most this often (seconds).
constexpr double kRedrawEvery = 0.1;
constexpr int kPlainSteps = 20;  // a plain line every 5 per cent

std::string Clock(double seconds) {
  const auto whole = int64_t(std::lround(std::max(0.0, seconds)));
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(whole / 3600), int(whole / 60 % 60),
                  int(whole % 60));
  else
    std::snprintf(text, sizeof text, "%d:%02d", int(whole / 60), int(whole % 60));
  return text;
}

}  // namespace

TExportProgress::TExportProgress(std::ostream& stream, bool terminal, int64_t totalFrames, double framesPerSecond,
                                 int columns, std::string label)
    : FStream(stream), FTerminal(terminal), FTotal(std::max<int64_t>(totalFrames, 1)), FRate(framesPerSecond),
      FColumns(columns), FLabel(std::move(label)) {}

std::string TExportProgress::Words(int64_t frames, double realSeconds) const {
  const int percent = int(frames * 100 / FTotal);
  std::string words = std::to_string(percent) + "%  " + std::to_string(frames) + "/" + std::to_string(FTotal) +
                      " frames  ";
  if (frames == 0 || realSeconds <= 0) return words + "--x real time  --:-- left";
  char speed[32];
  std::snprintf(speed, sizeof speed, "%.1fx", double(frames) / FRate / realSeconds);
  const double left = realSeconds / double(frames) * double(FTotal - frames);
  return words + speed + " real time  " + Clock(left) + " left";
}

void TExportProgress::Update(int64_t frames, double realSeconds) {
  const bool done = frames >= FTotal;
  if (FTerminal) {
    if (!done && FDrawnAt >= 0 && realSeconds - FDrawnAt < kRedrawEvery) return;
    FDrawnAt = realSeconds;
    const std::string words = Words(frames, realSeconds);
    // The bar takes what the words leave of the line, between 10 and 40 columns.
    const int width = std::clamp(FColumns - int(words.size()) - 4, 10, 40);
    const auto filled = int(frames * width / FTotal);
    std::string line = "\r[" + std::string(size_t(filled), '#') + std::string(size_t(width - filled), '-') + "] " + words;
    FStream << line << "\x1b[K" << std::flush;  // clears what a longer line left
    FLineOpen = true;
  } else {
    const int64_t step = frames * kPlainSteps / FTotal;
    if (step == FReported) return;
    FReported = step;
    FStream << FLabel << ": " << Words(frames, realSeconds) << "\n" << std::flush;
  }
}

void TExportProgress::Close() {
  if (FLineOpen) FStream << "\n" << std::flush;
  FLineOpen = false;
}

TExportProgress ProgressOn(std::ostream& err, int64_t totalFrames, double framesPerSecond, std::string label) {
  const bool terminal = &err == &std::cerr && StandardErrorIsTerminal();
  return TExportProgress(err, terminal, totalFrames, framesPerSecond, terminal ? StandardErrorColumns() : 80,
                         std::move(label));
}

}  // namespace kiv
