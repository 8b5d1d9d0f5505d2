#include "output/pagescript.h"

#include <cstring>

#include "model/atomicfile.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "output/batchstate.h"
#include "output/datafile.h"
#include "output/filenaming.h"
#include "output/series.h"

namespace vg {
namespace {

// The data text a name is made of, put into the record for the moment and
// put back when the script is done.
class DataTextStand {
public:
    explicit DataTextStand(bool addOnPart) {
        SettingsRecord& s = SymbolSettings;
        const bool coupon = IsCouponClass(s.Variation);
        if (addOnPart) {
            m_field = coupon ? s.CouponFormat128partText : s.AddOnText;
            m_size = coupon ? sizeof s.CouponFormat128partText : sizeof s.AddOnText;
        } else {
            m_field = coupon ? s.CouponFormatUPCpartText : s.OriginalMainText;
            m_size = coupon ? sizeof s.CouponFormatUPCpartText : sizeof s.OriginalMainText;
        }
        m_saved.assign(m_field, m_size);
    }
    ~DataTextStand() { std::memcpy(m_field, m_saved.data(), m_size); }
    DataTextStand(const DataTextStand&) = delete;
    DataTextStand& operator=(const DataTextStand&) = delete;

    // The proposed name of a data text, safe for a file name.
    std::string NameOf(const std::string& text) {
        const std::size_t n = text.size() < m_size - 1 ? text.size() : m_size - 1;
        std::memcpy(m_field, text.data(), n);
        m_field[n] = '\0';
        return SafeFileName(ProposeFileName(RunExtension()));
    }

private:
    char* m_field;
    std::size_t m_size;
    std::string m_saved;
};

bool Put(std::FILE* f, const std::string& lines) {
    return std::fwrite(lines.data(), 1, lines.size(), f) == lines.size();
}

}  // namespace

void ScriptPosition::Advance() {
    if (m_y < 11.0f) {
        m_y += 0.25f;
    } else {
        m_y = 0.25f;
        if (m_x < 8.5f) m_x += 0.25f;
    }
}

std::string ScriptLines(const std::string& name, const ScriptPosition& position) {
    char place[96];
    std::snprintf(place, sizeof place, "place %fi, %fi\r\n", static_cast<double>(position.x()),
                  static_cast<double>(position.y()));
    return "import \"" + name + "\"\r\n" + place;
}

std::string DefaultScriptName() {
    const SettingsRecord& s = SymbolSettings;
    std::string text(IsCouponClass(s.Variation) ? TextOf(s.CouponFormatUPCpartText) : TextOf(s.OriginalMainText));
    if (text.size() > 16) text = text.substr(0, 13) + "...";
    std::string name = "VGL{";
    for (char c : text)
        if (c != '(' && c != ')') name += c;
    return SafeFileName(name + "}.txt");
}

bool WriteSeriesScript(const std::string& path, const SeriesScript& series) {
    AtomicFile file;
    std::FILE* f = file.Open(path);
    if (!f) return false;
    const int scheme = SymbolSettings.FileName;
    DataTextStand stand(SymbolSettings.SerialAddOn == 1);
    ScriptPosition position;
    std::string name = series.firstFile;
    int64_t lines = 0;
    const int64_t step = series.step >= 1 ? series.step : 1;
    for (int64_t v = series.start; v <= series.stop && lines < series.files; v += step) {
        if (!Put(f, ScriptLines(name, position))) return false;
        ++lines;
        position.Advance();
        const std::string next = stand.NameOf(SeriesDataText(v + step));
        name = scheme == 0 || scheme == 1 ? SafeFileName(NumberedName(series.firstName, scheme, lines + 1)) : next;
    }
    return file.Commit();
}

bool WriteDataFileScript(const std::string& path, const std::string& firstFile) {
    DataFileReader reader;
    if (!reader.Open(DataFilePath)) return false;
    AtomicFile file;
    std::FILE* f = file.Open(path);
    if (!f) return false;
    const int scheme = SymbolSettings.FileName;
    DataTextStand stand(false);
    ScriptPosition position;
    std::string firstName;
    int64_t lines = 0;
    DataRecord record;
    while (reader.Next(record)) {
        const std::string own = stand.NameOf(record.text);
        if (lines == 0) firstName = own;
        const std::string name = lines == 0                   ? firstFile
                                 : scheme == 0 || scheme == 1 ? SafeFileName(NumberedName(firstName, scheme, lines + 1))
                                                              : own;
        if (!Put(f, ScriptLines(name, position))) return false;
        ++lines;
        position.Advance();
    }
    return !reader.Failed() && file.Commit();
}

}  // namespace vg
