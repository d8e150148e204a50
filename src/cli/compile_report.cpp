#include "cli/compile_report.h"

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "core/image/image_header.h"
#include "platform/text_codec.h"
#include "resources/string_table.h"

namespace tsy::cli {

std::string MessageTextUtf8(const std::string& cp932) {
  size_t whole = 0;  // bytes that form whole characters
  while (whole < cp932.size()) {
    size_t width = IsCp932LeadByte(static_cast<unsigned char>(cp932[whole])) ? 2 : 1;
    if (whole + width > cp932.size()) break;
    whole += width;
  }
  return Cp932ToUtf8(std::string_view(cp932).substr(0, whole));
}

void PrintDiagnostics(const std::string& source, const CompileResult& result) {
  for (const DiagnosticRecord& d : result.diagnostics)
    std::fprintf(stderr, "%s:%u:%u: %s\n", source.c_str(), d.at.line, d.at.column, Cp932ToUtf8(d.text).c_str());
}

namespace {

constexpr uint32_t kTicksPerBar = 192;  // one 4/4 bar, as the compile summary counts

// "3.048": bars and ticks of `ticks`, as the compile summary writes them.
std::string BarsAndTicks(uint32_t ticks) {
  char text[24];
  std::snprintf(text, sizeof text, "%u.%03u", ticks / kTicksPerBar, ticks % kTicksPerBar);
  return text;
}

nlohmann::ordered_json TracksJson(const std::vector<uint8_t>& image) {
  nlohmann::ordered_json tracks = nlohmann::ordered_json::array();
  ImageHeader header;
  int badTrack = 0;
  if (ReadImageHeader(image, header, badTrack) != ImageFault::kNone) return tracks;
  for (int track = 1; track <= kTrackCount; ++track) {
    if (header.trackOffset[track - 1] == 0) continue;
    const uint32_t ticks = header.trackTicks[track - 1];
    tracks.push_back({{"track", track}, {"ticks", ticks}, {"position", BarsAndTicks(ticks)}});
  }
  return tracks;
}

}  // namespace

std::string CompileReportJson(const std::string& source, const CompileResult& result) {
  nlohmann::ordered_json diagnostics = nlohmann::ordered_json::array();
  for (const DiagnosticRecord& d : result.diagnostics)
    diagnostics.push_back({{"file", source},
                           {"line", d.at.line},
                           {"column", d.at.column},
                           {"track", d.track},
                           {"code", static_cast<int>(d.id)},
                           {"message", Cp932ToUtf8(d.text)}});
  const nlohmann::ordered_json report = {{"file", source},
                                         {"imageLength", result.imageLength()},
                                         {"tracks", TracksJson(result.image)},
                                         {"diagnostics", diagnostics}};
  // A path that is no UTF-8 is shown with replacement characters rather than refused.
  return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

void PrintCannotOpen(const std::string& source, int error) {
  std::fprintf(stderr, "%s: %s (%s)\n", LoadText(TextId::kCannotOpen), source.c_str(), std::strerror(error));
}

}  // namespace tsy::cli
