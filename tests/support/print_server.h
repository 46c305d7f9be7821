#pragma once
// A print server of the test's own: cupsd run on a configuration, spool and socket in a
// folder of the test, with one queue, "kivtest", whose device is a file in that folder.
// Each job goes through a filter of the test's that notes the job's title and options
// beside the file and passes the document on unchanged, so what arrives is what was
// sent. Programs reach it through CUPS_SERVER = Address().
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "support/x_display.h"

namespace kiv {

class TPrintServer {
 public:
  static constexpr const char* kQueue = "kivtest";

  // Sets CUPS_SERVER for this process while it runs (and puts the old value back after).
  explicit TPrintServer(const std::filesystem::path& folder);
  ~TPrintServer();
  TPrintServer(const TPrintServer&) = delete;
  TPrintServer& operator=(const TPrintServer&) = delete;

  // Empty when the server runs with its queue; otherwise why not (for a skip).
  const std::string& Failure() const { return FFailure; }
  const std::string& Address() const { return FSocket; }

  struct TJob {
    std::string Title;
    std::string Options;   // as the filter was given them
    std::string Document;  // the bytes the device received
  };
  // Job number n (1 for the first) once it is complete; none when it does not complete
  // within limit.
  std::optional<TJob> WaitForJob(int n, std::chrono::seconds limit) const;
  // The jobs the server has completed.
  int CompletedJobs() const;

 private:
  std::string Command(const std::string& tool) const;

  std::filesystem::path FFolder;
  std::string FSocket;
  std::string FFailure;
  std::optional<std::string> FOldServer;
  std::unique_ptr<TChild> FDaemon;
};

}  // namespace kiv
