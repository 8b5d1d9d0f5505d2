#include "output/datafile.h"

#include <cstring>

namespace vg {

namespace {
constexpr char kUtf8Bom[3] = {'\xEF', '\xBB', '\xBF'};
}  // namespace

bool DataFileReader::Open(const std::string& path, std::string* reason) {
    m_offset = 0;
    m_have = m_at = 0;
    m_number = 0;
    m_failed = false;
    m_afterCr = false;
    if (!m_file.Open(path, reason)) return false;
    // A UTF-8 byte-order mark is no data.
    char head[sizeof kUtf8Bom];
    if (m_file.ReadAt(0, head, sizeof head) == static_cast<long long>(sizeof head) &&
        std::memcmp(head, kUtf8Bom, sizeof head) == 0)
        m_offset = sizeof head;
    return true;
}

bool DataFileReader::Next(DataRecord& record) {
    record.text.clear();
    record.overLong = false;
    bool any = false;  // bytes since the last line end
    for (;;) {
        if (m_at == m_have) {
            const long long n = m_file.ReadAt(m_offset, m_piece, sizeof m_piece);
            if (n < 0) m_failed = true;
            if (n <= 0) {
                // A last record without a line end is a record too.
                if (n < 0 || !any) return false;
                record.number = ++m_number;
                return true;
            }
            m_offset += static_cast<uint64_t>(n);
            m_have = static_cast<std::size_t>(n);
            m_at = 0;
        }
        const char c = m_piece[m_at++];
        const bool lfOfCrLf = c == '\n' && m_afterCr;
        m_afterCr = c == '\r';
        if (lfOfCrLf) continue;
        if (c == '\r' || c == '\n') {
            record.number = ++m_number;
            return true;
        }
        any = true;
        if (record.text.size() < kMaxRecord)
            record.text += c;
        else
            record.overLong = true;
    }
}

FirstRecordTest ReadFirstRecord(const std::string& path, std::string* record, std::string* reason) {
    record->clear();
    RegularFile file;
    if (!file.Open(path, reason)) return FirstRecordTest::Unreadable;
    char head[kDataFilePiece];
    const long long n = file.ReadAt(0, head, sizeof head);
    if (n < 0) {
        if (reason) *reason = file.Reason();
        return FirstRecordTest::Unreadable;
    }
    const std::size_t size = static_cast<std::size_t>(n);
    const std::size_t begin =
        size >= sizeof kUtf8Bom && std::memcmp(head, kUtf8Bom, sizeof kUtf8Bom) == 0 ? sizeof kUtf8Bom : 0;
    std::size_t end = begin;
    while (end < size && head[end] != '\r' && head[end] != '\n' && head[end] != '\0') ++end;
    record->assign(head + begin, end - begin);
    return end == begin || end - begin > kMaxFirstRecord ? FirstRecordTest::BadFormat : FirstRecordTest::Ok;
}

}  // namespace vg
