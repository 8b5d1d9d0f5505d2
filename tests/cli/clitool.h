// Runs the real vglyph tool and captures what it says.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scantools.h"
#include "tempfolder.h"

namespace vg::test {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs vglyph with the given shell text as its arguments, capturing both streams;
// in the folder cwd when one is given. The messages are the stored texts (a
// Chinese locale) unless env names another, e.g. "LANG=C".
inline ToolResult RunTool(const std::string& args, const std::string& cwd = "",
                          const std::string& env = "LC_ALL= LC_MESSAGES= LANG=zh_CN.UTF-8") {
    char errPath[] = "/tmp/vglyph-cli-XXXXXX";
    int fd = mkstemp(errPath);
    if (fd < 0) return {};
    close(fd);
    const std::string cmd =
        (cwd.empty() ? "" : "cd " + Quote(cwd) + " && ") + env + " " + Quote(VGLYPH_EXE) + " " + args + " 2>" + errPath;
    const ShellResult run = RunShell(cmd);
    ToolResult r;
    r.status = run.status;
    r.out = run.out;
    std::ifstream in(errPath);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    std::remove(errPath);
    return r;
}

}  // namespace vg::test
