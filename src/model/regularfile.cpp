#include "model/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vg {
namespace {

const char* KindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "an unknown kind of file";
}

}  // namespace

std::string SystemReason(int errorNumber) {
    const char* text = std::strerror(errorNumber);
    return text ? text : "Unknown error " + std::to_string(errorNumber);
}

RegularFile::~RegularFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool RegularFile::Open(const std::string& path, std::string* reason) {
    auto fail = [&](std::string why) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
        m_reason = std::move(why);
        if (reason) *reason = m_reason;
        return false;
    };
    if (m_fd >= 0) ::close(m_fd);
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0) return fail(SystemReason(errno));
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) return fail(SystemReason(errno));
    if (S_ISDIR(st.st_mode)) return fail(SystemReason(EISDIR));
    if (!S_ISREG(st.st_mode)) return fail(std::string("Is ") + KindOf(st.st_mode) + ", not a regular file");
    m_size = static_cast<uint64_t>(st.st_size);
    m_reason.clear();
    return true;
}

long long RegularFile::ReadAt(uint64_t offset, void* data, std::size_t size) {
    if (m_fd < 0) {
        m_reason = SystemReason(EBADF);
        return -1;
    }
    for (;;) {
        ssize_t n = ::pread(m_fd, data, size, static_cast<off_t>(offset));
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        m_reason = SystemReason(errno);
        return -1;
    }
}

std::string ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    std::string text;
    RegularFile file;
    if (!file.Open(path) || file.Size() > maxBytes) return text;
    text.resize(static_cast<std::size_t>(file.Size()));
    if (file.ReadAt(0, text.data(), text.size()) != static_cast<long long>(text.size())) text.clear();
    return text;
}

}  // namespace vg
