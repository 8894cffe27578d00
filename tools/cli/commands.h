// The subcommands of duriduvaze-cli. Each lives in its own <name>_command.cc and adds itself to the app.
#ifndef DURIDUVAZE_TOOLS_CLI_COMMANDS_H_
#define DURIDUVAZE_TOOLS_CLI_COMMANDS_H_

#include <CLI/CLI.hpp>

namespace duri::cli {

// Registration functions, one per command file. A command's callback sets the exit code through
// *exit_code.
void RegisterCommands(CLI::App& app, int* exit_code);
void RegisterDecodeCommand(CLI::App& app, int* exit_code);
void RegisterHistoryDumpCommand(CLI::App& app, int* exit_code);
void RegisterSettingsCommand(CLI::App& app, int* exit_code);
void RegisterLoadCommand(CLI::App& app, int* exit_code);
void RegisterDumpCommand(CLI::App& app, int* exit_code);
void RegisterPostCommand(CLI::App& app, int* exit_code);
void RegisterRunCommand(CLI::App& app, int* exit_code);
void RegisterReceiversCommand(CLI::App& app, int* exit_code);
void RegisterStatusCommand(CLI::App& app, int* exit_code);

}  // namespace duri::cli

#endif  // DURIDUVAZE_TOOLS_CLI_COMMANDS_H_
