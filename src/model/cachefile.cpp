#include "model/cachefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vg {

std::string CacheFilePath(std::string_view name) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        base = std::string(home) + "/.cache";
    } else {
        return {};
    }
    return base + "/vornel-glyph/" + std::string(name);
}

bool ReplaceCacheFile(const std::string& path, const std::string& text) {
    const std::size_t slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos || slash == 0) return false;
    const std::string folder = path.substr(0, slash);
    ::mkdir(folder.substr(0, folder.rfind('/')).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    const std::string temp = path + '.' + std::to_string(::getpid()) + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return false;
    std::size_t put = 0;
    while (put < text.size()) {
        const ssize_t n = ::write(fd, text.data() + put, text.size() - put);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        put += static_cast<std::size_t>(n);
    }
    const bool whole = put == text.size();
    if (::close(fd) == 0 && whole && ::rename(temp.c_str(), path.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

}  // namespace vg
