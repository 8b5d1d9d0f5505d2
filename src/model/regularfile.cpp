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
    if (fd_ >= 0) ::close(fd_);
}

bool RegularFile::Open(const std::string& path, std::string* reason) {
    auto fail = [&](std::string why) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        reason_ = std::move(why);
        if (reason) *reason = reason_;
        return false;
    };
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) return fail(SystemReason(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return fail(SystemReason(errno));
    if (S_ISDIR(st.st_mode)) return fail(SystemReason(EISDIR));
    if (!S_ISREG(st.st_mode)) return fail(std::string("Is ") + KindOf(st.st_mode) + ", not a regular file");
    size_ = static_cast<uint64_t>(st.st_size);
    reason_.clear();
    return true;
}

long long RegularFile::ReadAt(uint64_t offset, void* data, std::size_t size) {
    if (fd_ < 0) {
        reason_ = SystemReason(EBADF);
        return -1;
    }
    for (;;) {
        ssize_t n = ::pread(fd_, data, size, static_cast<off_t>(offset));
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        reason_ = SystemReason(errno);
        return -1;
    }
}

}  // namespace vg
