// Shell commands, Ghostscript rendering and the two bar code decoders.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace vg::test {

struct ShellResult {
    int status = -1;
    std::string out;
};

// Quotes one argument for the shell.
inline std::string Quote(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command, capturing its standard output and exit status.
inline ShellResult RunShell(const std::string& command) {
    ShellResult r;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        int raw = pclose(p);
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return r;
}

inline std::string TrimLineEnds(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline bool HaveTool(const char* name) {
    return RunShell(std::string("command -v ") + name + " >/dev/null 2>&1").status == 0;
}

// The first of the tools that is not installed, or null.
inline const char* MissingTool(std::initializer_list<const char*> tools) {
    for (const char* tool : tools)
        if (!HaveTool(tool)) return tool;
    return nullptr;
}

// The first of Ghostscript and the two decoders that is not installed, or null.
inline const char* MissingScanTool() { return MissingTool({"gs", "ZXingReader", "zbarimg"}); }

// Set on the CI machine, where every tool must be there.
inline bool InCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

// In a test body: skips when one of the tools is missing, fails instead with CI=true.
#define VG_REQUIRE_TOOLS(...)                                                                        \
    if (const char* vg_missing = ::vg::test::MissingTool({__VA_ARGS__})) {                           \
        if (::vg::test::InCi()) FAIL() << vg_missing << " is not installed (required with CI=true)"; \
        GTEST_SKIP() << vg_missing << " is not installed";                                           \
    }
#define VG_REQUIRE_SCAN_TOOLS() VG_REQUIRE_TOOLS("gs", "ZXingReader", "zbarimg")
// Render-and-decode tests start with VG_REQUIRE_SCAN_TOOLS(), not a skip on MissingScanTool().

// Renders an EPS file to a grey PNG; out holds what Ghostscript said.
inline ShellResult RenderEps(const std::string& eps, const std::string& png, int dpi) {
    return RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r" + std::to_string(dpi) +
                    " -sDEVICE=pnggray -sOutputFile=" + Quote(png) + " " + Quote(eps) + " 2>&1");
}

// ZXingReader with the given options; its messages are kept in out.
inline ShellResult ReadZxing(const std::string& png, const std::string& options) {
    return RunShell("ZXingReader " + options + " " + Quote(png) + " 2>&1");
}

// zbarimg with the given options; only what it read is kept.
inline ShellResult ReadZbar(const std::string& png, const std::string& options) {
    return RunShell("zbarimg " + options + " " + Quote(png) + " 2>/dev/null");
}

}  // namespace vg::test
