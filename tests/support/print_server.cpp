#include "support/print_server.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "support/bytes.h"

namespace kiv {

namespace fs = std::filesystem;

namespace {

// A page description of one A4 sheet that takes PNG documents through the filter.
std::string Ppd(const fs::path& filter) {
  return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
         "*LanguageEncoding: ISOLatin1\n*PCFileName: \"KIVTEST.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n"
         "*ModelName: \"Test File Printer\"\n*ShortNickName: \"Test File Printer\"\n*NickName: \"Test File Printer\"\n"
         "*PSVersion: \"(3010.000) 0\"\n*ColorDevice: True\n*cupsFilter2: \"image/png image/png 0 " +
         filter.string() +
         "\"\n*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n*PageSize A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
         "*CloseUI: *PageSize\n*DefaultImageableArea: A4\n*ImageableArea A4: \"0 0 595 842\"\n"
         "*DefaultPaperDimension: A4\n*PaperDimension A4: \"595 842\"\n";
}

}  // namespace

TPrintServer::TPrintServer(const fs::path& folder) : FFolder(folder / "cups") {
  if (std::system("command -v cupsd lpadmin lpstat >/dev/null 2>&1") != 0) {
    FFailure = "cupsd, lpadmin or lpstat is not installed";
    return;
  }
  // Socket paths are short: the test's folder may not be.
  static std::atomic<int> count{0};
  FSocket = "/tmp/kivcups-" + std::to_string(::getpid()) + "-" + std::to_string(count++) + ".sock";
  for (const char* sub : {"spool", "cache", "state", "log", "bin", "out"}) fs::create_directories(FFolder / sub);
  // The filter runs as the server's user, which may be another than the test's: it
  // passes through the folders to write beside the device's file.
  const fs::perms pass = fs::perms::group_exec | fs::perms::others_exec;
  fs::permissions(folder, pass, fs::perm_options::add);
  fs::permissions(FFolder, pass, fs::perm_options::add);
  fs::permissions(FFolder / "out", fs::perms::all);
  const fs::path filter = FFolder / "bin" / "note-and-pass";
  // Filters take: job id, user, title, copies, options, file (none: standard input).
  std::ofstream(filter) << "#!/bin/sh\nout='" << (FFolder / "out").string() << "'\nprintf '%s' \"$3\" > \"$out/job-$1.title\"\n"
                        << "printf 'copies=%s %s' \"$4\" \"$5\" > \"$out/job-$1.options\"\n"
                        << "if [ -n \"$6\" ]; then exec cat \"$6\"; else exec cat; fi\n";
  fs::permissions(filter, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  std::ofstream(FFolder / "kivtest.ppd") << Ppd(filter);
  std::ofstream(FFolder / "cupsd.conf") << "Listen " << FSocket << "\nLogLevel warn\n<Location />\n  Order allow,deny\n"
                                        << "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                                        << "    Order deny,allow\n  </Limit>\n</Policy>\n";
  const std::string root = FFolder.string();
  std::ofstream(FFolder / "cups-files.conf")
      << "ServerRoot " << root << "\nRequestRoot " << root << "/spool\nCacheDir " << root << "/cache\nStateDir "
      << root << "/state\nTempDir " << root << "/spool\nErrorLog " << root << "/log/error_log\nAccessLog " << root
      << "/log/access_log\nPageLog " << root << "/log/page_log\nDataDir /usr/share/cups\nServerBin /usr/lib/cups\n"
      << "FileDevice Yes\nSandboxing relaxed\n";
  FDaemon = std::make_unique<TChild>("cupsd -f -c '" + root + "/cupsd.conf' -s '" + root +
                                     "/cups-files.conf' 2>'" + root + "/log/start'");
  if (const char* old = std::getenv("CUPS_SERVER")) FOldServer = old;
  ::setenv("CUPS_SERVER", FSocket.c_str(), 1);
  if (!WaitUntil([&] { return fs::exists(FSocket) || !FDaemon->Running(); }, std::chrono::seconds(20)) ||
      !FDaemon->Running()) {
    FFailure = "cupsd does not run here: " + ReadAll(FFolder / "log" / "start") + ReadAll(FFolder / "log" / "error_log");
    return;
  }
  const std::string added = Output(Command("lpadmin") + " -p " + kQueue + " -E -v 'file://" + root +
                                   "/out/device' -P '" + root + "/kivtest.ppd' 2>&1; echo status=$?");
  if (added.find("status=0") == std::string::npos) FFailure = "the test queue could not be made: " + added;
}

TPrintServer::~TPrintServer() {
  FDaemon.reset();
  if (FOldServer)
    ::setenv("CUPS_SERVER", FOldServer->c_str(), 1);
  else
    ::unsetenv("CUPS_SERVER");
  std::error_code ignored;
  fs::remove(FSocket, ignored);
}

std::string TPrintServer::Command(const std::string& tool) const { return "CUPS_SERVER='" + FSocket + "' " + tool; }

int TPrintServer::CompletedJobs() const {
  const std::string listed = Output(Command("lpstat") + " -W completed -o " + kQueue + " 2>/dev/null");
  return int(std::count(listed.begin(), listed.end(), '\n'));
}

std::optional<TPrintServer::TJob> TPrintServer::WaitForJob(int n, std::chrono::seconds limit) const {
  const std::string id = std::string(kQueue) + "-" + std::to_string(n) + " ";
  const bool done = WaitUntil(
      [&] { return Output(Command("lpstat") + " -W completed -o " + kQueue + " 2>/dev/null").find(id) != std::string::npos; },
      limit);
  if (!done) return std::nullopt;
  const fs::path out = FFolder / "out";
  return TJob{ReadAll(out / ("job-" + std::to_string(n) + ".title")),
              ReadAll(out / ("job-" + std::to_string(n) + ".options")), ReadAll(out / "device")};
}

}  // namespace kiv
