#include "platform/cups_printer.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <memory>

namespace duri {
namespace {

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using HttpConnection = std::unique_ptr<http_t, HttpCloser>;

// nullptr with an empty server: CUPS_HTTP_DEFAULT, the library's own connection.
HttpConnection Connect(const std::string& server, std::string* error) {
  if (server.empty()) return nullptr;
  http_t* http = httpConnect2(server.c_str(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                              30000, nullptr);
  if (http == nullptr && error) *error = "cannot reach the print scheduler " + server;
  return HttpConnection(http);
}

}  // namespace

std::vector<std::string> CupsPrinter::PrinterNames() {
  std::vector<std::string> names;
  std::string error;
  HttpConnection http = Connect(server_, &error);
  if (!server_.empty() && !http) return names;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(http.get(), &dests);
  for (int i = 0; i < count; ++i) {
    std::string name = dests[i].name;
    if (dests[i].instance) name += std::string("/") + dests[i].instance;
    names.push_back(name);
  }
  cupsFreeDests(count, dests);
  return names;
}

bool CupsPrinter::PrintPage(const std::string& printer, const std::string& title, const std::string& text,
                            std::string* error) {
  HttpConnection http = Connect(server_, error);
  if (!server_.empty() && !http) return false;
  cups_option_t* options = nullptr;
  int count = 0;
  count = cupsAddOption("cpi", "17", count, &options);
  count = cupsAddOption("lpi", "10", count, &options);
  count = cupsAddOption("page-top", "18", count, &options);
  count = cupsAddOption("page-bottom", "18", count, &options);
  std::string queue = printer.substr(0, printer.find('/'));
  int job = cupsCreateJob(http.get(), queue.c_str(), title.c_str(), count, options);
  bool ok = false;
  if (job > 0 &&
      cupsStartDocument(http.get(), queue.c_str(), job, title.c_str(), CUPS_FORMAT_TEXT, 1) == HTTP_STATUS_CONTINUE &&
      cupsWriteRequestData(http.get(), text.data(), text.size()) == HTTP_STATUS_CONTINUE) {
    ok = cupsFinishDocument(http.get(), queue.c_str()) <= IPP_STATUS_OK_CONFLICTING;
  }
  if (!ok && error) *error = cupsLastErrorString() ? cupsLastErrorString() : "print job refused";
  cupsFreeOptions(count, options);
  return ok;
}

}  // namespace duri
