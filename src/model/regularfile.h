// Input files that readers of saved graphics accept: regular files only, so a
// device, FIFO or folder is refused at once instead of being read forever.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vg {

// The system's text for an error number ("No such file or directory").
std::string SystemReason(int errorNumber);

// The whole of a small regular file (at most maxBytes); empty when it is
// missing, no regular file, larger or unreadable.
std::string ReadSmallFile(const std::string& path, std::size_t maxBytes = 64 << 10);

class RegularFile {
public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Opens for reading without blocking on a FIFO; false with the reason when
    // the path cannot be opened or is not a regular file.
    bool Open(const std::string& path, std::string* reason = nullptr);
    bool IsOpen() const { return m_fd >= 0; }
    uint64_t Size() const { return m_size; }

    // Reads up to size bytes at offset; the count read, 0 at the end of the
    // file, or -1 on an error (the reason then in Reason()).
    long long ReadAt(uint64_t offset, void* data, std::size_t size);
    const std::string& Reason() const { return m_reason; }

private:
    int m_fd = -1;
    uint64_t m_size = 0;
    std::string m_reason;
};

}  // namespace vg
