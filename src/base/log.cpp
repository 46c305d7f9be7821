#include "base/log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "base/clock.h"
#include "base/text.h"
#include "platform/local_time.h"
#include "platform/thread_id.h"

namespace kiv {

namespace {

std::unique_ptr<TLog>& GlobalLog() {
  static std::unique_ptr<TLog> log = std::make_unique<TLog>();
  return log;
}

std::string Padded(int value, int width) {
  std::string digits = std::to_string(value);
  return std::string(size_t(std::max(0, width - int(digits.size()))), '0') + digits;
}

std::string ThreadTag() {
  char tag[8];
  std::snprintf(tag, sizeof tag, "#%04X ", unsigned(CurrentThreadId()) & 0xFFFF);
  return tag;
}

}  // namespace

TDateTime LocalDateTimeNow() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const std::tm local = LocalTimeOf(seconds);
  int ms = int(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, ms};
}

std::string FormatDateTime(const TDateTime& t) {
  return Padded(t.Day, 2) + "." + Padded(t.Month, 2) + "." + Padded(t.Year, 4) + " " + Padded(t.Hour, 2) + ":" +
         Padded(t.Minute, 2) + ":" + Padded(t.Second, 2) + "." + Padded(t.Millisecond, 3);
}

std::string StartBanner(std::string_view programPath, const TDateTime& started) {
  const std::string rule(64, '=');
  return "\n" + rule + "\nProgram : " + std::string(programPath) + "\nstarted : " + FormatDateTime(started) + "\n" +
         rule;
}

std::string StopBanner(const TDateTime& stopped, uint32_t workTimeMs, const TFrameTally& frames) {
  const std::string rule(64, '-');
  std::string banner = "\n" + rule + "\nProgram stoped : " + FormatDateTime(stopped) + " (work time : " +
                       std::to_string(workTimeMs) + " ms)\n";
  if (frames.Drawn > 0)
    banner += "Frames drawn : " + std::to_string(frames.Drawn) + " (dropped : " + std::to_string(frames.Dropped) +
              ")\n";
  return banner + rule;
}

TLog::TLog() : FStartTick(Clock().NowMs()) {}

void TLog::Write(std::string_view message) {
  if (!Enabled()) return;
  std::string line = ThreadTag() + "[" + std::to_string(Clock().NowMs() - FStartTick) + "] ";
  line += message;
  std::lock_guard lock(FLock);
  WriteRawLine(line);
}

void TLog::Write(std::u16string_view message) {
  if (Enabled()) Write(Utf16ToUtf8(message));
}

void TLog::WriteValue(std::string_view prefix, int64_t value, std::string_view suffix) {
  if (Enabled()) Write(std::string(prefix) + std::to_string(value) + std::string(suffix));
}

void TLog::WriteValue(std::string_view prefix, bool value, std::string_view suffix) {
  if (Enabled()) Write(std::string(prefix) + (value ? "True" : "False") + std::string(suffix));
}

void TLog::WritePair(std::string_view prefix, int64_t a, int64_t b, std::string_view suffix) {
  if (Enabled()) Write(std::string(prefix) + std::to_string(a) + ", " + std::to_string(b) + std::string(suffix));
}

void TLog::WriteRect(std::string_view prefix, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     std::string_view suffix) {
  if (Enabled())
    Write(std::string(prefix) + std::to_string(left) + ", " + std::to_string(top) + ", " + std::to_string(right) +
          ", " + std::to_string(bottom) + std::string(suffix));
}

void TLog::WriteLines(std::string_view text) {
  std::lock_guard lock(FLock);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
    WriteRawLine(text.substr(start, end - start));
  WriteRawLine(text.substr(start));
}

void TLog::WriteStartBanner(std::string_view programPath) {
  WriteLines(StartBanner(programPath, LocalDateTimeNow()));
}

void TLog::WriteStopBanner() {
  WriteLines(StopBanner(LocalDateTimeNow(), Clock().NowMs() - FStartTick, FrameTally()));
}

void TStdLog::WriteRawLine(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
}

TFileLog::TFileLog(const std::string& path) : FFile(path, TFileMode::Create) {
  FFile.WriteBuffer("\xEF\xBB\xBF", 3);
}

void TFileLog::WriteRawLine(std::string_view line) {
  // Each line goes straight to the file so that the log survives a crash.
  std::string bytes(line);
  bytes += "\r\n";
  FFile.Write(bytes.data(), int64_t(bytes.size()));
}

TLog& Log() { return *GlobalLog(); }

void SetLog(std::unique_ptr<TLog> log) { GlobalLog() = log ? std::move(log) : std::make_unique<TLog>(); }

}  // namespace kiv
