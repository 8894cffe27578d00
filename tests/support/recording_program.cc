#include "support/recording_program.h"

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace duri::testing {

void WriteRecordingProgram(const std::string& program_path, const std::string& record_path) {
  std::ofstream out(program_path, std::ios::binary | std::ios::trunc);
  // The standard streams are read before anything is redirected; $$ is the script's own process.
  out << "#!/bin/sh\n"
      << "in=$(readlink /proc/$$/fd/0); o=$(readlink /proc/$$/fd/1); e=$(readlink /proc/$$/fd/2)\n"
      << "rec='" << record_path << "'\n"
      << "{\n"
      << "  for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
      << "  echo \"stdin=$in\"; echo \"stdout=$o\"; echo \"stderr=$e\"\n"
      << "} > \"$rec.tmp\"\n"
      << "mv \"$rec.tmp\" \"$rec\"\n";
  out.close();
  chmod(program_path.c_str(), 0755);
}

std::vector<std::string> WaitForRecord(const std::string& record_path, int limit_ms) {
  auto start = std::chrono::steady_clock::now();
  struct stat st;
  while (stat(record_path.c_str(), &st) != 0) {
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limit_ms)) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::vector<std::string> lines;
  std::ifstream in(record_path);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace duri::testing
