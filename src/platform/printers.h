#pragma once
// The printers of the print system (CUPS) and jobs sent to them. Printer names are
// UTF-8; the print server is the one the environment names (CUPS_SERVER), else the
// local one.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kiv {

struct TPrinterList {
  std::vector<std::string> Names;
  std::string Default;  // empty: the print system names none
};

// What the print system offers; empty when it has no printer or does not answer.
TPrinterList InstalledPrinters();

// A sheet in points (1/72 inch), upright: Width <= Height.
struct TPaperSize {
  int32_t Width = 595;  // A4
  int32_t Height = 842;
};

// The paper printer takes by default; A4 when the printer does not tell.
TPaperSize PrinterPaper(const std::string& printer);

// One print job. Start makes the job; Send hands it its one document and ends it; a job
// that was started and not sent is cancelled when the object goes (or by Cancel).
class TPrintJob {
 public:
  struct TSettings {
    std::string Printer;
    std::string Title;
    int Copies = 1;
    bool Landscape = false;
  };

  explicit TPrintJob(TSettings settings) : FSettings(std::move(settings)) {}
  ~TPrintJob() { Cancel(); }
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // False (with Error telling why) when the print system refused the job.
  bool Start();
  // The document as bytes of the MIME type format ("image/png"); false when it could not
  // be sent, and the job is cancelled then.
  bool Send(const std::string& format, std::span<const uint8_t> document);
  void Cancel();
  int Id() const { return FId; }
  const std::string& Error() const { return FError; }

 private:
  TSettings FSettings;
  int FId = 0;  // 0: no job is open
  std::string FError;
};

}  // namespace kiv
