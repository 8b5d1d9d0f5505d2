// A throw-away folder and whole-file reads for tests that write real files.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "scantools.h"

namespace vg::test {

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder under /tmp, removed with everything in it at the end of scope.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vglyph-test-XXXXXX";
        if (mkdtemp(pattern)) path_ = pattern;
    }
    ~TempFolder() {
        if (!path_.empty()) std::system(("rm -rf " + Quote(path_)).c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace vg::test
