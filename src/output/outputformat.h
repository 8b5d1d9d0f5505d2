// Output formats: their names, file name extensions and record codes.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vg {

// Values of the record's Format field.
enum class OutputFormat { Wmf = 0, Eps = 1, Emf = 2 };

struct OutputFormatInfo {
    const char* name;  // as a request or -f names it, lower case; also the extension
    int recordFormat;  // the record's Format; -1 for the exports (PNG, SVG, PDF)
    const char* note;  // one line for the help text
};

// Every format a file can be written in: the three of the record, then the exports.
std::span<const OutputFormatInfo> OutputFormats();
// By name, exactly; nullptr when unknown.
const OutputFormatInfo* FindOutputFormat(std::string_view name);
// By the extension of a path's last component, in any case; nullptr when the
// name has none or an unknown one.
const OutputFormatInfo* OutputFormatOfPath(std::string_view path);
// The names, comma separated.
std::string OutputFormatNames();

}  // namespace vg
