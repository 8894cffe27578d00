#include "commands.h"

namespace duri::cli {

// Each command file adds one line here.
void RegisterCommands(CLI::App& app, int* exit_code) {
  RegisterDecodeCommand(app, exit_code);
  RegisterHistoryDumpCommand(app, exit_code);
  RegisterSettingsCommand(app, exit_code);
  RegisterLoadCommand(app, exit_code);
  RegisterDumpCommand(app, exit_code);
  RegisterPostCommand(app, exit_code);
  RegisterRunCommand(app, exit_code);
  RegisterReceiversCommand(app, exit_code);
  RegisterStatusCommand(app, exit_code);
}

}  // namespace duri::cli
