#include "model/atomicfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>

namespace vg {
namespace {

constexpr char kTempPrefix[] = ".vgl-save-";

SaveRulesScope* currentRules = nullptr;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Temporary files being written, for a signal handler to remove.
struct LiveTemp {
    volatile std::sig_atomic_t used = 0;
    char path[PATH_MAX] = {};
};
LiveTemp liveTemps[4];

LiveTemp* Remember(const std::string& path) {
    if (path.size() >= PATH_MAX) return nullptr;
    for (LiveTemp& t : liveTemps) {
        if (t.used) continue;
        std::memcpy(t.path, path.c_str(), path.size() + 1);
        t.used = 1;
        return &t;
    }
    return nullptr;
}

void Forget(const std::string& path) {
    for (LiveTemp& t : liveTemps)
        if (t.used && path == t.path) t.used = 0;
}

// Six letters for a temporary name: seeded once from the process and the
// clock, then stepped, so names rarely collide and are not guessed from the pid.
void FillTempLetters(char* six) {
    static std::atomic<uint64_t> state{
        static_cast<uint64_t>(getpid()) * 0x9E3779B97F4A7C15ull ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
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

// The path a chain of links ends at, whether that exists or not.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        char to[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), to, sizeof to - 1);
        if (n <= 0) break;
        to[n] = '\0';
        path = to[0] == '/' ? std::string(to) : FolderOf(path) + "/" + to;
    }
    return path;
}

// A regular file the user may not write: no write permission, or none at all
// in its mode (which the superuser would otherwise pass).
bool Unwritable(const std::string& path, const struct stat& st) {
    return S_ISREG(st.st_mode) && (access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0);
}

// Puts from in place of a name that must not exist.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    // The file system cannot rename so: a hard link fails on an existing name too.
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return false;
    // Neither: the last look before the rename is all there is.
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// The process's number, asked once (again in a forked child): a series saves
// thousands of files.
std::atomic<pid_t> knownPid{0};
pid_t ProcessId() {
    static const bool forks = pthread_atfork(nullptr, nullptr, [] { knownPid = 0; }) == 0;
    (void)forks;
    pid_t pid = knownPid.load(std::memory_order_relaxed);
    if (pid == 0) knownPid.store(pid = getpid(), std::memory_order_relaxed);
    return pid;
}

}  // namespace

SaveRulesScope::SaveRulesScope(const SaveRules& rules) : m_rules(rules), m_previous(currentRules) {
    currentRules = this;
}

SaveRulesScope::~SaveRulesScope() { currentRules = m_previous; }

bool SaveNameTaken() { return currentRules && currentRules->NameTaken(); }

std::FILE* AtomicFile::Open(const std::string& path) {
    Discard();
    const SaveRules rules = currentRules ? currentRules->m_rules : SaveRules{};
    m_noReplace = rules.noReplace;
    m_target = rules.ownName ? path : FollowLinks(path);
    // A file that must not replace another needs no look: its commit fails on
    // an existing name.
    struct stat st {};
    const bool exists = !rules.noReplace && lstat(m_target.c_str(), &st) == 0;
    if (exists && Unwritable(m_target, st)) {
        errno = EACCES;
        return nullptr;
    }
    if (exists && !rules.ownName && !S_ISREG(st.st_mode)) {
        m_file = std::fopen(m_target.c_str(), "wb");
        return m_file;
    }
    const std::string folder = FolderOf(m_target);
    RemoveStaleTemporaries(folder);
    std::string temp = folder + "/" + kTempPrefix + std::to_string(ProcessId()) + "-XXXXXX";
    m_file = CreateTemp(temp);
    if (!m_file) return nullptr;
    Remember(temp);
    // A replaced file keeps its owner where the user may keep it, and its mode.
    if (exists && S_ISREG(st.st_mode)) {
        if (fchown(fileno(m_file), st.st_uid, st.st_gid) != 0)
            (void)!fchown(fileno(m_file), static_cast<uid_t>(-1), st.st_gid);
        fchmod(fileno(m_file), st.st_mode & 07777);
    }
    m_temp = temp;
    return m_file;
}

bool AtomicFile::Commit() {
    if (!m_file) return false;
    bool ok = std::fflush(m_file) == 0 && !std::ferror(m_file);
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    if (m_temp.empty()) return ok;
    if (ok) {
        ok = m_noReplace ? RenameNoReplace(m_temp, m_target) : std::rename(m_temp.c_str(), m_target.c_str()) == 0;
        if (!ok && m_noReplace && errno == EEXIST && currentRules) currentRules->m_nameTaken = true;
    }
    const int error = errno;
    if (!ok) unlink(m_temp.c_str());
    Forget(m_temp);
    m_temp.clear();
    errno = error;
    return ok;
}

void AtomicFile::Discard() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    if (!m_temp.empty()) {
        unlink(m_temp.c_str());
        Forget(m_temp);
    }
    m_temp.clear();
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size) {
    AtomicFile file;
    std::FILE* f = file.Open(path);
    if (!f) return false;
    if (size && std::fwrite(data, 1, size, f) != size) return false;
    return file.Commit();
}

void RemoveStaleTemporaries(const std::string& folder) {
    static std::set<std::string> looked;
    if (!looked.insert(folder).second) return;
    const int error = errno;
    if (DIR* dir = opendir(folder.c_str())) {
        const std::size_t prefix = sizeof kTempPrefix - 1;
        while (const dirent* e = readdir(dir)) {
            const char* name = e->d_name;
            if (std::strncmp(name, kTempPrefix, prefix) != 0) continue;
            char* end = nullptr;
            const long pid = std::strtol(name + prefix, &end, 10);
            if (pid <= 0 || end == name + prefix || *end != '-' || std::strlen(end + 1) != 6) continue;
            if (pid == ProcessId() || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
            const std::string path = folder + "/" + name;
            struct stat st {};
            if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(path.c_str());
        }
        closedir(dir);
    }
    errno = error;
}

void RemoveLiveTemporaries() {
    for (LiveTemp& t : liveTemps)
        if (t.used) unlink(t.path);
}

namespace {

void RemoveTemporariesAndEnd(int signal) {
    RemoveLiveTemporaries();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

void RemoveTemporariesOnSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction sa {
        }, previous{};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) continue;
        sa.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&sa.sa_mask);
        sigaction(signal, &sa, nullptr);
    }
}

}  // namespace vg
