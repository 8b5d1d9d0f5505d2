#include "output/datafile.h"

#include <cstring>

namespace vg {

namespace {
constexpr char kUtf8Bom[3] = {'\xEF', '\xBB', '\xBF'};
}  // namespace

bool DataFileReader::Open(const std::string& path, std::string* reason) {
    offset_ = 0;
    have_ = at_ = 0;
    number_ = 0;
    failed_ = false;
    afterCr_ = false;
    if (!file_.Open(path, reason)) return false;
    // A UTF-8 byte-order mark is no data.
    char head[sizeof kUtf8Bom];
    if (file_.ReadAt(0, head, sizeof head) == static_cast<long long>(sizeof head) &&
        std::memcmp(head, kUtf8Bom, sizeof head) == 0)
        offset_ = sizeof head;
    return true;
}

bool DataFileReader::Next(DataRecord& record) {
    record.text.clear();
    record.overLong = false;
    bool any = false;  // bytes since the last line end
    for (;;) {
        if (at_ == have_) {
            const long long n = file_.ReadAt(offset_, piece_, sizeof piece_);
            if (n < 0) failed_ = true;
            if (n <= 0) {
                // A last record without a line end is a record too.
                if (n < 0 || !any) return false;
                record.number = ++number_;
                return true;
            }
            offset_ += static_cast<uint64_t>(n);
            have_ = static_cast<std::size_t>(n);
            at_ = 0;
        }
        const char c = piece_[at_++];
        const bool lfOfCrLf = c == '\n' && afterCr_;
        afterCr_ = c == '\r';
        if (lfOfCrLf) continue;
        if (c == '\r' || c == '\n') {
            record.number = ++number_;
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
