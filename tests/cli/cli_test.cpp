#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs vglyph with the given (shell-safe) arguments, capturing both streams.
Result RunTool(const std::string& args) {
    char errPath[] = "/tmp/vglyph-cli-XXXXXX";
    int fd = mkstemp(errPath);
    if (fd < 0) return {};
    close(fd);
    const std::string cmd = std::string("'") + VGLYPH_EXE + "' " + args + " 2>" + errPath;
    Result r;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        int raw = pclose(p);
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::ifstream in(errPath);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    std::remove(errPath);
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Cli, ListsEveryVariationInCodeOrder) {
    Result r = RunTool("list");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 137u);
    EXPECT_EQ(lines.front(), "1\t1\tCodabar General");
    EXPECT_EQ(lines[93], "94\t2\tCode 128 ISBT Manufacturer's Information");
    EXPECT_EQ(lines[111], "114\t6\tConvert UPC to EAN");
    EXPECT_EQ(lines.back(), "146\t8\tISBN-13 EAN Adjusted 979");
    int previous = 0;
    for (const std::string& line : lines) {
        int code = std::atoi(line.c_str());
        EXPECT_GT(code, previous) << line;
        previous = code;
    }
}

TEST(Cli, VersionAndHelp) {
    Result v = RunTool("--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "6.02\n");

    Result h = RunTool("--help");
    EXPECT_EQ(h.status, 0);
    EXPECT_NE(h.out.find("usage: vglyph"), std::string::npos);
    EXPECT_NE(h.out.find("list"), std::string::npos);
}

TEST(Cli, BadInvocationsExitWithUsage) {
    for (const char* args : {"bogus", "--bogus", "", "-x", "list extra", "--version now"}) {
        SCOPED_TRACE(args);
        Result r = RunTool(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: vglyph"), std::string::npos) << r.err;
    }
}

TEST(Cli, ListReportsAFailedWrite) {
    Result r = RunTool("list >/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

}  // namespace
