#pragma once
// How far kivshow export has come, on standard error. On a terminal one line is redrawn
// in place: a bar, the share done, the frames, the speed as a multiple of real time and
// the time left. Into a file or a pipe a plain line goes every 5 per cent instead.
#include <cstdint>
#include <ostream>
#include <string>

namespace kiv {

class TExportProgress {
 public:
  // totalFrames at framesPerSecond; columns: the terminal's width; label: the word plain
  // lines start with.
  TExportProgress(std::ostream& stream, bool terminal, int64_t totalFrames, double framesPerSecond, int columns = 80,
                  std::string label = "export");

  // frames are done after realSeconds of work.
  void Update(int64_t frames, double realSeconds);
  // Ends the redrawn line, so that what follows starts on a line of its own.
  void Close();

  // The words of one report: "45%  225/500 frames  3.1x real time  0:12 left".
  std::string Words(int64_t frames, double realSeconds) const;

 private:
  std::ostream& FStream;
  bool FTerminal;
  int64_t FTotal;
  double FRate;
  int FColumns;
  std::string FLabel;
  double FDrawnAt = -1;    // real time of the last redraw (terminal)
  int64_t FReported = -1;  // the last 5 per cent step written (plain)
  bool FLineOpen = false;
};

// The report of a command writing totalFrames to err: redrawn in place when err is this
// process's standard error on a terminal, plain lines otherwise.
TExportProgress ProgressOn(std::ostream& err, int64_t totalFrames, double framesPerSecond, std::string label);

}  // namespace kiv
