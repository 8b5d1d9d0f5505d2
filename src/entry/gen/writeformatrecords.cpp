// Writes the records of the input format table as C++ initialisers:
//   writeformatrecords OUTPUT.inc
// Each record is built from its row's pattern as the program would build it.
#include <cstdio>
#include <string>

#include "entry/formatengine.h"
#include "model/atomicfile.h"

namespace {

std::string Record(const vg::FormatRecord& f) {
    auto n = [](int v) { return std::to_string(v); };
    std::string out = "    {" + n(f.maxLength) + ", " + n(f.symbolCount) + ",\n     {";
    for (int s = 0; s < f.symbolCount; ++s)
        out += "{CharClass(" + n(static_cast<int>(f.symbols[s].cls)) + "), " + n(f.symbols[s].literal) + "}, ";
    out += "},\n     " + n(f.stateCount) + ",\n     {";
    for (int s = 0; s < f.symbolCount; ++s) {
        out += "{";
        for (int k = 0; k < f.stateCount; ++k) out += n(f.next[s][k]) + ",";
        out += "},\n      ";
    }
    out += "},\n     " + n(f.acceptingState) + ", " + n(f.groupCount) + ",\n     {";
    for (int g = 0; g < f.groupCount; ++g) {
        const vg::AcceptGroup& a = f.groups[g];
        out += "{" + n(a.state) + ", " + n(a.count) + ", {";
        for (int m = 0; m < a.count; ++m) out += n(a.members[m]) + ",";
        out += "}}, ";
    }
    return out + "}},\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: writeformatrecords OUTPUT.inc\n");
        return 2;
    }
    std::string out =
        "// Written by the build from the input format table. Do not edit.\n"
        "const FormatRecord kBuiltRecords[] = {\n";
    for (std::size_t r = 0; r < vg::FormatRowCount(); ++r) {
        const vg::FormatRecord* f = vg::FormatRowRecord(r);
        if (f == nullptr) return 1;
        out += Record(*f);
    }
    out += "};\n";
    if (!vg::WriteWholeFile(argv[1], out.data(), out.size())) {
        std::fprintf(stderr, "writeformatrecords: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
