#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "model/atomicfile.h"
#include "tempfolder.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

// Names in a folder, hidden ones included.
std::vector<std::string> Names(const test::TempFolder& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// What a write leaves behind: the target's content and mode, what the name
// is, and no temporary file beside it.
TEST(AtomicFile, WritesNewAndReplacedFilesWhole) {
    struct Case {
        const char* name;
        const char* earlier;  // nullptr: no earlier file
        mode_t earlierMode;
        bool throughLink;  // the name is a link to the earlier file
    };
    const Case cases[] = {
        {"new file", nullptr, 0, false},
        {"replaced file keeps its mode", "old text that is longer", 0640, false},
        {"link: the file it points at is replaced", "old", 0600, true},
        {"dangling link: the file it points at is made", nullptr, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        const std::string target = dir.File("f.eps"), named = c.throughLink ? dir.File("link.eps") : target;
        if (c.earlier) {
            std::ofstream(target) << c.earlier;
            chmod(target.c_str(), c.earlierMode);
        }
        if (c.throughLink) {
            ASSERT_EQ(symlink("f.eps", named.c_str()), 0);
        }

        ASSERT_TRUE(WriteWholeFile(named, "new", 3));
        EXPECT_EQ(test::ReadWholeFile(target), "new");
        EXPECT_EQ(ModeOf(target), c.earlier ? c.earlierMode : 0666 & ~CurrentUmask());
        if (c.throughLink) {
            EXPECT_TRUE(fs::is_symlink(named));
            EXPECT_EQ(Names(dir), (std::vector<std::string>{"f.eps", "link.eps"}));
        } else {
            EXPECT_EQ(Names(dir), std::vector<std::string>{"f.eps"});
        }
    }
}

TEST(AtomicFile, DiscardKeepsTheEarlierFileAndFailedCommitLeavesNoTemporary) {
    test::TempFolder dir;
    const std::string target = dir.File("f.eps");
    std::ofstream(target) << "good";
    {
        AtomicFile file;
        std::FILE* f = file.Open(target);
        ASSERT_NE(f, nullptr);
        std::fputs("half", f);
        // Destroyed without Commit.
    }
    EXPECT_EQ(test::ReadWholeFile(target), "good");
    {
        AtomicFile file;
        std::FILE* f = file.Open(target);
        ASSERT_NE(f, nullptr);
        std::fputs("half", f);
        // A folder takes the name while the file is written: the rename fails
        // and the temporary file goes.
        fs::remove(target);
        fs::create_directories(target + "/inside");
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(Names(dir), std::vector<std::string>{"f.eps"});
}

// A no-replace save loses to a file or link that took the name meanwhile.
TEST(AtomicFile, NoReplaceKeepsWhatTookTheName) {
    test::TempFolder dir;
    std::ofstream(dir.File("other.txt")) << "other";
    for (const bool link : {false, true}) {
        const std::string name = dir.File(link ? "link.eps" : "file.eps");
        const SaveRulesScope rules({true, true});
        AtomicFile file;
        ASSERT_NE(file.Open(name), nullptr);
        if (link)
            ASSERT_EQ(symlink("other.txt", name.c_str()), 0);
        else
            std::ofstream(name) << "other";
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(errno, EEXIST);
        EXPECT_TRUE(rules.NameTaken());
        EXPECT_EQ(test::ReadWholeFile(name), "other");
    }
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"file.eps", "link.eps", "other.txt"}));
}

TEST(AtomicFile, DeviceIsWrittenDirectlyAndMissingFolderFails) {
    ASSERT_TRUE(WriteWholeFile("/dev/null", "x", 1));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    test::TempFolder dir;
    AtomicFile file;
    errno = 0;
    EXPECT_EQ(file.Open(dir.File("missing/f.eps")), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace vg
