#include "output/datafile.h"

namespace vg {

bool DataFileReader::Open(const std::string& path, std::string* reason) {
    offset_ = 0;
    have_ = at_ = 0;
    number_ = 0;
    failed_ = false;
    return file_.Open(path, reason);
}

bool DataFileReader::Next(DataRecord& record) {
    record.text.clear();
    record.overLong = false;
    for (;;) {
        if (at_ == have_) {
            const long long n = file_.ReadAt(offset_, piece_, sizeof piece_);
            if (n < 0) failed_ = true;
            if (n <= 0) return false;
            offset_ += static_cast<uint64_t>(n);
            have_ = static_cast<std::size_t>(n);
            at_ = 0;
        }
        const char c = piece_[at_++];
        if (c == '\r') {
            record.number = ++number_;
            return true;
        }
        if (c == '\n') continue;
        if (record.text.size() < kMaxRecord) record.text += c;
        else record.overLong = true;
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
    std::size_t end = 0;
    while (end < static_cast<std::size_t>(n) && head[end] != '\r' && head[end] != '\0') ++end;
    record->assign(head, end);
    return end == 0 || end > kMaxFirstRecord ? FirstRecordTest::BadFormat : FirstRecordTest::Ok;
}

}  // namespace vg
