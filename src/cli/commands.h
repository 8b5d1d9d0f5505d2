// Commands of the vglyph tool.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace vg::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    const char* name;
    const char* arguments;  // argument synopsis for the help text; "" for none
    const char* summary;
    // Runs with the arguments after the command name; returns the exit status.
    int (*run)(const std::vector<std::string>& args);
};

// All commands, in the order the help text lists them.
std::span<const Command> Commands();
const Command* FindCommand(const std::string& name);

// Writes the usage line to standard error and returns kExitUsage.
int UsageError(const std::string& problem);

// Flushes standard output; on failure says so on standard error, naming what
// was being written and the system's reason, and returns false.
bool FlushOutput(const char* what);

int RunList(const std::vector<std::string>& args);
int RunFields(const std::vector<std::string>& args);
int RunMake(const std::vector<std::string>& args);
int RunPattern(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunOpen(const std::vector<std::string>& args);
int RunKitlet(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);
int RunSeries(const std::vector<std::string>& args);
int RunBatch(const std::vector<std::string>& args);
int RunHelpPages(const std::vector<std::string>& args);
int RunHelp(const std::vector<std::string>& args);

// The whole help text; one command's usage and options (false: no such command).
void PrintHelp();
bool PrintCommandHelp(const std::string& name);
// Whether a command's arguments hold --help or -h (not as an option's value).
bool AsksForHelp(const std::vector<std::string>& args);

// A data text of the command line as the record holds it (Windows-1252, byte
// escapes expanded when asked); false after the reason was reported.
bool CommandLineText(const char* what, std::string& text, bool escapes);
// Whether a settings field holds typed text (converted like the data texts).
bool IsTypedTextField(const std::string& field);

}  // namespace vg::cli
