#pragma once
// Starting a program, or opening a document, a folder or a link in the program the
// desktop has for it, as a show asks. Paths are UTF-8 and may use either separator.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

struct TLaunchRequest {
  // A file name or path, or a link ("https://…", "mailto:…"). No quotes: a name with
  // blanks is one name.
  std::string Program;
  std::vector<std::string> Arguments;  // for a program; documents, folders and links take none
  // Where relative names are looked up first and the program runs; empty: the
  // current folder.
  std::string Folder;
};

enum class TLaunchStatus : uint8_t {
  Started,
  NotFound,  // nothing of that name: the caller may look elsewhere
  Refused,   // found, but it cannot or must not be run here
  Failed,    // the system could not start it
};

struct TLaunchResult {
  TLaunchStatus Status = TLaunchStatus::Started;
  std::string Reason;  // why it did not start, in words for the user
};

class IProgramLauncher {
 public:
  virtual ~IProgramLauncher() = default;
  virtual TLaunchResult Launch(const TLaunchRequest& request) = 0;
};

// The desktop's launcher. A program (an executable file; a bare name is looked for in
// the folder, then along PATH; a Windows name like "tool.exe" also finds "tool") is
// started with its arguments as they are, never through a shell; documents, folders
// and links ("http", "https", "ftp", "mailto") are handed whole to xdg-open. Started
// processes run in a session of their own with nothing open but /dev/null, and are
// reaped when they end. Windows programs, desktop entries and scripts that are not
// marked executable are refused.
IProgramLauncher& SystemLauncher();

}  // namespace kiv
