#pragma once
// The program log. A message line is "#" + thread id (4 hex digits) + " ",
// "[" + ms since start + "] ", then the message; banners are written bare.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "base/file_stream.h"
#include "base/frame_tally.h"

namespace kiv {

struct TDateTime {
  int Year, Month, Day, Hour, Minute, Second, Millisecond;
};
TDateTime LocalDateTimeNow();
// DD.MM.YYYY HH:MM:SS.mmm
std::string FormatDateTime(const TDateTime& t);

std::string StartBanner(std::string_view programPath, const TDateTime& started);
// With frames presented, a line under the work time tells how many, and how many of
// them missed their time.
std::string StopBanner(const TDateTime& stopped, uint32_t workTimeMs, const TFrameTally& frames = {});

// The silent log: every line is discarded.
class TLog {
 public:
  TLog();
  virtual ~TLog() = default;

  void Write(std::string_view message);
  void Write(std::u16string_view message);
  // Helpers that write prefix, value and suffix as one message.
  void WriteValue(std::string_view prefix, int64_t value, std::string_view suffix = {});
  void WriteValue(std::string_view prefix, bool value, std::string_view suffix = {});
  void WritePair(std::string_view prefix, int64_t a, int64_t b, std::string_view suffix = {});
  void WriteRect(std::string_view prefix, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 std::string_view suffix = {});

  void WriteStartBanner(std::string_view programPath);
  void WriteStopBanner();

  // False for the silent log, so callers can skip building expensive messages.
  virtual bool Enabled() const { return false; }

 protected:
  // Writes one finished line (without line end); called under the log's lock.
  virtual void WriteRawLine(std::string_view) {}

 private:
  void WriteLines(std::string_view text);
  std::mutex FLock;
  uint32_t FStartTick;
};

// Lines go to standard error, the stand-in for a debugger's output.
class TStdLog : public TLog {
 public:
  bool Enabled() const override { return true; }

 protected:
  void WriteRawLine(std::string_view line) override;
};

// Lines go to a file created empty, UTF-8 with a byte-order mark, CR LF after each line.
class TFileLog : public TLog {
 public:
  explicit TFileLog(const std::string& path);  // raises EFOpenError
  bool Enabled() const override { return true; }
  const std::string& Path() const { return FFile.Path(); }

 protected:
  void WriteRawLine(std::string_view line) override;

 private:
  TFileStream FFile;
};

// The process-wide log; silent until one is installed.
TLog& Log();
void SetLog(std::unique_ptr<TLog> log);

}  // namespace kiv
