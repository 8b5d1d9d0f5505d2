#include "device/fontmatches.h"

#include <dirent.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <vector>

#include "model/cachefile.h"
#include "model/regularfile.h"

namespace vg {
namespace {

constexpr std::string_view kHeader = "vornel-glyph font matches 1";
constexpr std::size_t kMostFolders = 64;
constexpr std::size_t kMostEntries = 64;

// A file's size and modification time, separated by sep.
std::string SizeAndTime(const struct stat& st, char sep) {
    return std::to_string(st.st_size) + sep + std::to_string(st.st_mtim.tv_sec) + '.' +
           std::to_string(st.st_mtim.tv_nsec);
}

std::string StatText(const struct stat& st) { return SizeAndTime(st, ' ') + ' ' + std::to_string(st.st_ino); }

// A folder and every folder below it, each as name and times; false when one
// cannot be read or there are too many.
bool StampFolder(const std::string& folder, std::string& stamp, std::size_t& folders) {
    if (++folders > kMostFolders) return false;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    DIR* dir = ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        ::close(fd);
        return false;
    }
    stamp += '\t' + folder + ' ' + StatText(st);
    std::vector<std::string> below;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat child {};
            isFolder = ::fstatat(::dirfd(dir), entry->d_name, &child, 0) == 0 && S_ISDIR(child.st_mode);
        }
        if (isFolder) below.push_back(folder + '/' + entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& f : below)
        if (!StampFolder(f, stamp, folders)) return false;
    return true;
}

bool Unchanged(const std::string& file, std::string_view size, std::string_view time) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           SizeAndTime(st, '\t') == std::string(size) + '\t' + std::string(time);
}

std::vector<std::string_view> Split(std::string_view line, char by) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = line.find(by);
        parts.push_back(line.substr(0, at));
        if (at == std::string_view::npos) return parts;
        line.remove_prefix(at + 1);
    }
}

bool Plain(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    return !text.empty();
}

// The entries of text made under stamp, one line each.
std::vector<std::string_view> Entries(std::string_view text, std::string_view stamp) {
    std::vector<std::string_view> lines = Split(text, '\n');
    if (lines.empty() || lines.front() != stamp) return {};
    lines.erase(lines.begin());
    return lines;
}

}  // namespace

std::string FontMatchStamp(const std::string& aliasFile, std::string_view folders) {
    std::string stamp(kHeader);
    stamp += " fontconfig " + std::to_string(FcGetVersion());
    struct stat st {};
    if (!aliasFile.empty()) {
        if (::stat(aliasFile.c_str(), &st) != 0) return {};
        stamp += '\t' + aliasFile + ' ' + StatText(st);
    }
    std::size_t count = 0;
    bool any = false;
    while (!folders.empty()) {
        const std::size_t end = std::min(folders.find(':'), folders.size());
        if (end > 0) {
            if (!StampFolder(std::string(folders.substr(0, end)), stamp, count)) return {};
            any = true;
        }
        folders.remove_prefix(std::min(end + 1, folders.size()));
    }
    return any && stamp.find('\n') == std::string::npos ? stamp : std::string();
}

std::optional<FontChoice> FindFontChoice(std::string_view text, std::string_view stamp, std::string_view key) {
    if (stamp.empty() || key.empty()) return std::nullopt;
    for (std::string_view line : Entries(text, stamp)) {
        const std::vector<std::string_view> f = Split(line, '\t');
        if (f.size() != 5 || f[0] != key || !Plain(f[1]) || f[1].front() != '/') continue;
        int index = -1;
        const auto [end, ec] = std::from_chars(f[2].data(), f[2].data() + f[2].size(), index);
        if (ec != std::errc() || end != f[2].data() + f[2].size() || index < 0 || index > 0xFFFF) continue;
        FontChoice choice{std::string(f[1]), index};
        if (!Unchanged(choice.file, f[3], f[4])) return std::nullopt;
        return choice;
    }
    return std::nullopt;
}

std::string WithFontChoice(std::string_view text, std::string_view stamp, std::string_view key,
                           const FontChoice& choice) {
    struct stat st {};
    if (stamp.empty() || !Plain(key) || !Plain(choice.file) || choice.file.front() != '/' ||
        ::stat(choice.file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::string out = std::string(stamp) + '\n' + std::string(key) + '\t' + choice.file + '\t' +
                      std::to_string(choice.index) + '\t' + SizeAndTime(st, '\t');
    std::size_t kept = 1;
    for (std::string_view line : Entries(text, stamp)) {
        if (line.empty() || line.substr(0, line.find('\t')) == key || !Plain(line.substr(0, line.find('\t'))))
            continue;
        if (++kept > kMostEntries) break;
        out += '\n';
        out += line;
    }
    return out;
}

std::optional<FontChoice> RecallFontChoice(std::string_view stamp, std::string_view key) {
    const std::string path = CacheFilePath("font-matches");
    if (path.empty() || stamp.empty()) return std::nullopt;
    return FindFontChoice(ReadSmallFile(path), stamp, key);
}

void RememberFontChoice(std::string_view stamp, std::string_view key, const FontChoice& choice) {
    const std::string path = CacheFilePath("font-matches");
    if (path.empty() || stamp.empty()) return;
    const std::string text = WithFontChoice(ReadSmallFile(path), stamp, key, choice);
    if (!text.empty()) ReplaceCacheFile(path, text);
}

}  // namespace vg
