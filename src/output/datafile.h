// Data files: any bytes, one record per line (ended by CR LF, LF or CR; the
// last line may lack its end; a UTF-8 byte-order mark is skipped), read in
// 128-byte pieces so that a file of any size takes the same memory.
#pragma once

#include <cstdint>
#include <string>

#include "model/regularfile.h"

namespace vg {

inline constexpr std::size_t kDataFilePiece = 128;
// Longest record kept; a longer one is refused whole, never cut.
inline constexpr std::size_t kMaxRecord = 131;
// Longest first record the open-time test accepts.
inline constexpr std::size_t kMaxFirstRecord = 60;

struct DataRecord {
    std::string text;       // without line feeds; at most kMaxRecord bytes
    bool overLong = false;  // the record had more bytes than kept
    int64_t number = 0;     // from 1, every record counted
};

class DataFileReader {
public:
    // False with the system's reason when the path is no readable regular file.
    bool Open(const std::string& path, std::string* reason = nullptr);
    uint64_t Size() const { return m_file.Size(); }
    uint64_t BytesRead() const { return m_offset; }

    // The next record; false at the end or on a read error (Failed()).
    bool Next(DataRecord& record);
    bool Failed() const { return m_failed; }

private:
    RegularFile m_file;
    uint64_t m_offset = 0;
    char m_piece[kDataFilePiece];
    std::size_t m_have = 0, m_at = 0;
    int64_t m_number = 0;
    bool m_failed = false;
    bool m_afterCr = false;
};

// The open-time test of the first record: within the first 128 bytes, the
// text before the first line end or 0 byte must be 1 to kMaxFirstRecord
// bytes long.
enum class FirstRecordTest { Ok, BadFormat, Unreadable };
FirstRecordTest ReadFirstRecord(const std::string& path, std::string* record, std::string* reason = nullptr);

}  // namespace vg
