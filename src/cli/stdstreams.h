// Standard input and output where the command line names "-".
#pragma once

#include <string>

namespace vg::cli {

// Whether a data-file path names standard input: "-", or /dev/stdin when
// standard input is no regular file (a pipe or a terminal).
bool NamesStandardInput(const std::string& path);

// Standard input saved whole in an unlinked temporary file; the path that
// opens it (/proc/self/fd/N), or empty after the reason was reported.
std::string StandardInputAsFile();

// One line of standard input without its line end (LF, CR LF or CR); false
// after the reason was reported.
bool ReadStandardInputLine(std::string& line);

// Copies a file to standard output; false after the reason was reported.
bool CopyToStandardOutput(const std::string& path);

// A private folder in $TMPDIR (or /tmp), removed with its files at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Empty when the folder could not be made (the reason is then reported).
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace vg::cli
