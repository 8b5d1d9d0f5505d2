#include "model/atomicfile.h"

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

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::FILE* AtomicFile::Open(const std::string& path) {
    Discard();
    target_ = path;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // Replace the file the link points at, not the link.
        if (char* real = realpath(path.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    const bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        file_ = std::fopen(target_.c_str(), "wb");
        return file_;
    }
    std::string temp = FolderOf(target_) + "/.vgl-save-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return nullptr;
    fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode());
    file_ = fdopen(fd, "w+b");
    if (!file_) {
        close(fd);
        unlink(temp.c_str());
        return nullptr;
    }
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
