#include "tools/ReadReportLine.h"

#include <cstdio>

#include "settings/AccuracySettings.h"

namespace korvalin::cli {

std::string ReadReportLine(const TrackReadReport& report) {
  if (!report.secure) return {};
  std::string line = "secure reading: " + std::to_string(report.retries) + (report.retries == 1 ? " re-read, " : " re-reads, ");
  if (!report.Suspicious()) return line + "no suspicious frames";
  line += std::to_string(report.suspiciousFrames.size()) +
          (report.suspiciousFrames.size() == 1 ? " suspicious frame:" : " suspicious frames:");
  for (std::size_t i = 0; i < report.suspiciousFrames.size(); ++i) {
    line += (i == 0 ? " " : ", ") + std::to_string(report.suspiciousFrames[i]);
  }
  return line;
}

void PrintReadReport(const TrackReadReport& report) {
  const std::string line = ReadReportLine(report);
  if (!line.empty()) std::printf("%s\n", line.c_str());
}

void PrintReadOffset(int32_t samples) {
  if (samples != 0) std::printf("read offset correction: %s samples\n", ReadOffsetText(samples).c_str());
}

}  // namespace korvalin::cli
