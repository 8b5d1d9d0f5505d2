// Options of make and info that go through the dialogs' models: symbol
// options, text and additional text.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vg::cli {

struct DialogOptions {
    std::vector<std::pair<std::string, std::string>> given;  // option, value ("" for a flag)
    bool Empty() const { return given.empty(); }
};

enum class OptionTake { NotMine, Taken, Error };

// Takes args[i] (and its value) when it is a dialog option; on Error the usage
// message was written.
OptionTake TakeDialogOption(const std::string& command, const std::vector<std::string>& args, std::size_t& i,
                            DialogOptions& options);

// Runs the options through the dialogs' models on the current symbol, in the
// dialogs' order, as if each dialog was confirmed. False after a refusal was
// reported (the dialog's message).
bool ApplyDialogOptions(const DialogOptions& options);

// The readouts of the symbol options dialog for the current record.
void PrintDialogReadouts();

// Help text lines of these options.
void PrintDialogOptionsHelp();

}  // namespace vg::cli
