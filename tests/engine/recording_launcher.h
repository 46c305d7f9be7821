#pragma once
// A launcher that records what it is asked to start and answers as told.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/program_launcher.h"

namespace kiv {

class TRecordingLauncher : public IProgramLauncher {
 public:
  TLaunchResult Launch(const TLaunchRequest& request) override {
    Requests.push_back(request);
    if (During) During();
    const auto answer = Answers.find(request.Program);
    return answer == Answers.end() ? TLaunchResult{} : answer->second;
  }

  std::vector<TLaunchRequest> Requests;
  std::map<std::string, TLaunchResult> Answers;  // by program; others start
  std::function<void()> During;                  // runs inside each launch
};

inline bool operator==(const TLaunchRequest& a, const TLaunchRequest& b) {
  return a.Program == b.Program && a.Arguments == b.Arguments && a.Folder == b.Folder;
}

inline void PrintTo(const TLaunchRequest& request, std::ostream* out) {
  *out << request.Program << " [";
  for (const std::string& argument : request.Arguments) *out << "<" << argument << ">";
  *out << "] in " << request.Folder;
}

}  // namespace kiv
