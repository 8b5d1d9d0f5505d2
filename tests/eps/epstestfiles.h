// Scratch files for the EPS tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "eps/epsoutput.h"
#include "geometry/settingsdefaults.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/symbol.h"

namespace vg::test {

// Factory state of a variation with its data and check characters, ready to encode.
inline void FactorySymbol(int family, int variation, const std::string& data, const std::string& addOn = "") {
    ResetSettingsRecord();
    SettingsRecord& s = SymbolSettings;
    s.Family = static_cast<int16_t>(family);
    s.Variation = variation;
    ProgrammaticInput = 0;
    ApplySymbolDefaults();
    SetText(s.MainText, data);
    SetText(s.OriginalMainText, data);
    SetText(s.AddOnText, addOn);
    ComputeCheckCharacters(data, 1);
}

// A fresh directory per test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("vgl_eps_") + info->test_suite_name() + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes write puts into a fresh EPS output.
template <class Write>
std::string WrittenBytes(Write write) {
    ScratchDir dir;
    EpsOutput out;
    out.Open(dir.File("w.txt").c_str());
    write(out);
    out.Close();
    return ReadBytes(dir.File("w.txt"));
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Lines of a CR LF text; the text must end with CR LF.
inline std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace vg::test

#include <clocale>
#include <cstdlib>

namespace vg::test {

// Switches the process to a locale with a decimal comma for the lifetime of the
// object; Active() is false when no such locale can be had.
class ScopedCommaLocale {
public:
    ScopedCommaLocale() {
        if (Try()) return;
        // Not installed: compile one into a scratch folder when the tools are there.
        std::string dir = (std::filesystem::temp_directory_path() / "vgl_eps_locale").string();
        if (!std::filesystem::exists(dir + "/de_DE.UTF-8")) {
            std::filesystem::create_directories(dir);
            std::string cmd = "localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
            if (std::system(cmd.c_str()) != 0) return;
        }
        setenv("LOCPATH", dir.c_str(), 1);
        Try();
    }
    ~ScopedCommaLocale() { std::setlocale(LC_ALL, "C"); }
    bool Active() const { return m_active; }

private:
    bool Try() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
                m_active = true;
                return true;
            }
        }
        std::setlocale(LC_ALL, "C");
        return false;
    }
    bool m_active = false;
};

}  // namespace vg::test
