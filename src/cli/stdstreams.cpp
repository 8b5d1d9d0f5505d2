#include "cli/stdstreams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/regularfile.h"

namespace vg::cli {
namespace {

// More than any data file needs; a runaway pipe stops here.
constexpr long long kMaxStandardInput = 1LL << 30;

std::string TemporaryBase() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

void SayCannot(const char* what, int error) {
    std::fprintf(stderr, "vglyph: cannot %s\n%s\n", what, SystemReason(error).c_str());
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool NamesStandardInput(const std::string& path) {
    if (path == "-") return true;
    if (path != "/dev/stdin" && path != "/dev/fd/0" && path != "/proc/self/fd/0") return false;
    struct stat st;
    return ::fstat(STDIN_FILENO, &st) == 0 && !S_ISREG(st.st_mode);
}

std::string StandardInputAsFile() {
    const std::string base = TemporaryBase();
    int fd = ::open(base.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A file system without O_TMPFILE: a named file, unlinked at once.
        std::string name = base + "/vglyph-stdin-XXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0) ::unlink(name.c_str());
    }
    if (fd < 0) {
        SayCannot(("keep standard input in " + base).c_str(), errno);
        return {};
    }
    char buffer[65536];
    long long total = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SayCannot("read standard input", errno);
            ::close(fd);
            return {};
        }
        if (n == 0) break;
        total += n;
        if (total > kMaxStandardInput) {
            std::fprintf(stderr, "vglyph: standard input is larger than %lld bytes\n", kMaxStandardInput);
            ::close(fd);
            return {};
        }
        if (!WriteAll(fd, buffer, static_cast<std::size_t>(n))) {
            SayCannot(("keep standard input in " + base).c_str(), errno ? errno : ENOSPC);
            ::close(fd);
            return {};
        }
    }
    // Stays open for the life of the process: the path below names it.
    return "/proc/self/fd/" + std::to_string(fd);
}

bool ReadStandardInputLine(std::string& line) {
    line.clear();
    for (;;) {
        const int c = std::getchar();
        if (c == EOF) break;
        if (c == '\n') return true;
        if (c == '\r') {
            const int next = std::getchar();
            if (next != '\n' && next != EOF) std::ungetc(next, stdin);
            return true;
        }
        line += static_cast<char>(c);
    }
    if (std::ferror(stdin)) {
        SayCannot("read standard input", errno ? errno : EIO);
        return false;
    }
    return true;
}

bool CopyToStandardOutput(const std::string& path) {
    RegularFile file;
    std::string reason;
    if (!file.Open(path, &reason)) {
        std::fprintf(stderr, "vglyph: cannot read %s\n%s\n", path.c_str(), reason.c_str());
        return false;
    }
    std::fflush(stdout);
    char buffer[65536];
    uint64_t offset = 0;
    for (;;) {
        const long long n = file.ReadAt(offset, buffer, sizeof buffer);
        if (n < 0) {
            std::fprintf(stderr, "vglyph: cannot read %s\n%s\n", path.c_str(), file.Reason().c_str());
            return false;
        }
        if (n == 0) return true;
        if (!WriteAll(STDOUT_FILENO, buffer, static_cast<std::size_t>(n))) {
            SayCannot("write standard output", errno ? errno : EIO);
            return false;
        }
        offset += static_cast<uint64_t>(n);
    }
}

ScratchFolder::ScratchFolder() {
    std::string name = TemporaryBase() + "/vglyph-XXXXXX";
    if (::mkdtemp(name.data()))
        m_path = name;
    else
        SayCannot(("make a folder in " + TemporaryBase()).c_str(), errno);
}

ScratchFolder::~ScratchFolder() {
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace vg::cli
