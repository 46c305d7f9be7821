#pragma once
// The trace the sound output leaves in the program log: one line before and one after
// each call into the output, naming the call and the file it is made from, so a machine
// whose sound hangs or fails shows where. "-> AudioOutput.Start [wave_out_device]" and
// "<- AudioOutput.Start [wave_out_device]"; a call that failed ends with "<- !!! ...".
#include <string_view>

namespace kiv {

class TOutputTrace {
 public:
  TOutputTrace(std::string_view call, std::string_view file);
  ~TOutputTrace();
  TOutputTrace(const TOutputTrace&) = delete;
  TOutputTrace& operator=(const TOutputTrace&) = delete;

  // The call failed: the closing line says so.
  void Failed() { FFailed = true; }
  // A single line for what is missing instead of a call: "!!! what [file]".
  static void Missing(std::string_view what, std::string_view file);

 private:
  std::string_view FCall;
  std::string_view FFile;
  bool FFailed = false;
};

}  // namespace kiv
