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
        if (mkdtemp(pattern)) m_path = pattern;
    }
    ~TempFolder() {
        if (!m_path.empty()) std::system(("rm -rf " + Quote(m_path)).c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

}  // namespace vg::test
