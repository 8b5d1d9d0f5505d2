// The placement script: "import" and "place" lines that lay a batch's
// graphics out on a page in quarter-inch steps.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vg {

// Page position of the next graphic, in inches (single precision, as stored).
class ScriptPosition {
public:
    float x() const { return m_x; }
    float y() const { return m_y; }
    // Down a column of 44; then the next column, up to the one at 8.5 inches.
    void Advance();

private:
    float m_x = 0.25f, m_y = 0.25f;
};

// "import \"NAME\"\r\nplace X.XXXXXXi, Y.YYYYYYi\r\n"
std::string ScriptLines(const std::string& name, const ScriptPosition& position);

// "VGL{text}.txt" with the coupon UPC part or the main text, cut to 13
// characters and "..." when longer than 16, made safe like a graphic's name.
std::string DefaultScriptName();

// Series kind: one entry per file made, from the first default name on.
struct SeriesScript {
    std::string firstName;  // default name of the first file
    std::string firstFile;  // the first default name made safe, as the first file is proposed
    int64_t start = 0, step = 1, stop = 0;
    int64_t files = 0;  // files the run made
};
// Writes the script to path (UTF-8) as raw bytes; false when it could not be
// written whole (no partial script is left).
bool WriteSeriesScript(const std::string& path, const SeriesScript& series);
// Data-file kind: one entry per record of DataFilePath; the first names firstFile
// (the first record's safe default name).
bool WriteDataFileScript(const std::string& path, const std::string& firstFile);

}  // namespace vg
