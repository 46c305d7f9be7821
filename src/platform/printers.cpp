#include "platform/printers.h"

#include <cups/cups.h>

#include <algorithm>

namespace kiv {

namespace {

// The destinations of the print server; freed with the object.
class TDestinations {
 public:
  TDestinations() : FCount(cupsGetDests2(CUPS_HTTP_DEFAULT, &FDests)) {}
  ~TDestinations() { cupsFreeDests(FCount, FDests); }
  TDestinations(const TDestinations&) = delete;
  TDestinations& operator=(const TDestinations&) = delete;
  std::span<cups_dest_t> All() const { return {FDests, size_t(std::max(FCount, 0))}; }
  cups_dest_t* Find(const std::string& name) const { return cupsGetDest(name.c_str(), nullptr, FCount, FDests); }

 private:
  cups_dest_t* FDests = nullptr;
  int FCount;
};

}  // namespace

TPrinterList InstalledPrinters() {
  TPrinterList list;
  const TDestinations destinations;
  for (const cups_dest_t& dest : destinations.All()) {
    if (dest.instance) continue;  // instances are option sets of a printer listed already
    list.Names.emplace_back(dest.name);
    if (dest.is_default) list.Default = dest.name;
  }
  return list;
}

TPaperSize PrinterPaper(const std::string& printer) {
  TPaperSize paper;
  const TDestinations destinations;
  cups_dest_t* dest = destinations.Find(printer);
  if (!dest) return paper;
  cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
  if (!info) return paper;
  cups_size_t size{};
  // Sizes come in hundredths of millimetres.
  if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size) && size.width > 0 && size.length > 0) {
    const auto points = [](int hundredths) { return int32_t((int64_t(hundredths) * 72 + 1270) / 2540); };
    paper.Width = std::min(points(size.width), points(size.length));
    paper.Height = std::max(points(size.width), points(size.length));
  }
  cupsFreeDestInfo(info);
  return paper;
}

bool TPrintJob::Start() {
  if (FId) return true;
  cups_option_t* options = nullptr;
  int count = cupsAddOption("copies", std::to_string(std::max(FSettings.Copies, 1)).c_str(), 0, &options);
  count = cupsAddOption("orientation-requested", FSettings.Landscape ? "4" : "3", count, &options);
  FId = cupsCreateJob(CUPS_HTTP_DEFAULT, FSettings.Printer.c_str(), FSettings.Title.c_str(), count, options);
  cupsFreeOptions(count, options);
  if (!FId) FError = cupsLastErrorString();
  return FId != 0;
}

bool TPrintJob::Send(const std::string& format, std::span<const uint8_t> document) {
  if (!FId) return false;
  bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, FSettings.Printer.c_str(), FId, FSettings.Title.c_str(),
                                format.c_str(), 1) == HTTP_STATUS_CONTINUE;
  if (sent)
    sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, reinterpret_cast<const char*>(document.data()), document.size()) ==
           HTTP_STATUS_CONTINUE;
  // The request is closed either way, so that the connection can carry the cancel.
  const bool finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, FSettings.Printer.c_str()) <= IPP_STATUS_OK_CONFLICTING;
  if (sent && finished) {
    FId = 0;  // the print system has it now
    return true;
  }
  FError = cupsLastErrorString();
  Cancel();
  return false;
}

void TPrintJob::Cancel() {
  if (!FId) return;
  cupsCancelJob2(CUPS_HTTP_DEFAULT, FSettings.Printer.c_str(), FId, 0);
  FId = 0;
}

}  // namespace kiv
