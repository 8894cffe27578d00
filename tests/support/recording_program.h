// A real program for launcher tests: a shell script that writes each argument it gets on a line of its
// own into a record file (whole, by renaming), followed by where its standard input, output and error
// lead.
#ifndef DURIDUVAZE_TESTS_SUPPORT_RECORDING_PROGRAM_H_
#define DURIDUVAZE_TESTS_SUPPORT_RECORDING_PROGRAM_H_

#include <string>
#include <vector>

namespace duri::testing {

// Writes the script at program_path (executable) recording into record_path.
void WriteRecordingProgram(const std::string& program_path, const std::string& record_path);

// The record, once the program has written it: the arguments, then "stdin=", "stdout=", "stderr="
// lines. Empty when nothing came within limit_ms (the launcher does not wait, so the test does).
std::vector<std::string> WaitForRecord(const std::string& record_path, int limit_ms = 10000);

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_RECORDING_PROGRAM_H_
