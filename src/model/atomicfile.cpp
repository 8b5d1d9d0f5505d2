#include "model/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vg {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Six letters for a temporary name: seeded once from the process and the
// clock, then stepped, so names rarely collide and are not guessed from the pid.
void FillTempLetters(char* six) {
    static std::atomic<uint64_t> state{static_cast<uint64_t>(getpid()) * 0x9E3779B97F4A7C15ull ^
                                       static_cast<uint64_t>(
                                           std::chrono::steady_clock::now().time_since_epoch().count())};
    uint64_t x = state.fetch_add(0x9E3779B97F4A7C15ull, std::memory_order_relaxed);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int i = 0; i < 6; ++i, x /= 62) six[i] = kLetters[x % 62];
}

// Creates a new file of the pattern's form ("...XXXXXX") for writing, with
// the mode of any new file (0666 less the umask).
std::FILE* CreateTemp(std::string& pattern) {
    char* six = pattern.data() + pattern.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        FillTempLetters(six);
        if (std::FILE* f = std::fopen(pattern.c_str(), "wbxe")) return f;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

}  // namespace

std::FILE* AtomicFile::Open(const std::string& path) {
    Discard();
    target_ = path;
    struct stat st {};
    bool exists = lstat(path.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        // Replace the file the link points at, not the link.
        if (char* real = realpath(path.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
        exists = stat(target_.c_str(), &st) == 0;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        file_ = std::fopen(target_.c_str(), "wb");
        return file_;
    }
    std::string temp = FolderOf(target_) + "/.vgl-save-XXXXXX";
    file_ = CreateTemp(temp);
    if (!file_) return nullptr;
    // A replaced file keeps its mode.
    if (exists) fchmod(fileno(file_), st.st_mode & 07777);
    temp_ = temp;
    return file_;
}

bool AtomicFile::Commit() {
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (temp_.empty()) return ok;
    if (ok) ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) unlink(temp_.c_str());
    temp_.clear();
    return ok;
}

void AtomicFile::Discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) unlink(temp_.c_str());
    temp_.clear();
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size) {
    AtomicFile file;
    std::FILE* f = file.Open(path);
    if (!f) return false;
    if (size && std::fwrite(data, 1, size, f) != size) return false;
    return file.Commit();
}

}  // namespace vg
