#include "eps/epsoutput.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace vg {
namespace {

constexpr std::size_t kFlushSize = 1 << 18;
constexpr std::size_t kTypicalFile = 1 << 16;

__extension__ typedef unsigned __int128 Wide;

constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// "%.Nf" of a finite value, exact and ties to even like printf: the value is
// m * 2^e, so m * 10^N * 2^e is rounded in integer arithmetic. Returns the end
// of the text, or nullptr when the value is too large for this path.
char* FormatFixedFast(char* text, double value, int decimals) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0x7FF || decimals < 0 || decimals > 9) return nullptr;
    uint64_t m = bits & ((uint64_t{1} << 52) - 1);
    int e = biased - 1075;
    if (biased)
        m |= uint64_t{1} << 52;
    else
        e = -1074;
    const Wide scaled = static_cast<Wide>(m) * kPowersOfTen[decimals];
    Wide n;
    if (e >= 0) {
        if (e > 11) return nullptr;
        n = scaled << e;
    } else if (-e >= 128) {
        n = 0;
    } else {
        const int k = -e;
        n = scaled >> k;
        const Wide rest = scaled & ((Wide{1} << k) - 1);
        const Wide half = Wide{1} << (k - 1);
        if (rest > half || (rest == half && (n & 1))) ++n;
    }
    if (n >> 64) return nullptr;

    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(n));
    auto length = static_cast<int>(r.ptr - digits);
    char* p = text;
    if (bits >> 63) *p++ = '-';
    const int whole = length - decimals;
    if (whole <= 0) {
        *p++ = '0';
        if (decimals) *p++ = '.';
        for (int i = whole; i < 0; ++i) *p++ = '0';
        std::memcpy(p, digits, static_cast<std::size_t>(length));
        return p + length;
    }
    std::memcpy(p, digits, static_cast<std::size_t>(whole));
    p += whole;
    if (decimals) {
        *p++ = '.';
        std::memcpy(p, digits + whole, static_cast<std::size_t>(decimals));
        p += decimals;
    }
    return p;
}

// Large enough for DBL_MAX in fixed notation with a few decimals.
constexpr std::size_t kFixedRoom = 400;

std::string_view FormatFixed(char (&text)[kFixedRoom], double value, int decimals) {
    if (char* end = FormatFixedFast(text, value, decimals)) return std::string_view(text, end - text);
    auto r = std::to_chars(text, text + kFixedRoom, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "0";
    return std::string_view(text, r.ptr - text);
}

}  // namespace

std::string FixedText(double value, int decimals) {
    char text[kFixedRoom];
    return std::string(FormatFixed(text, value, decimals));
}

std::string IntText(long long value) {
    char text[24];
    auto r = std::to_chars(text, text + sizeof text, value);
    return std::string(text, r.ptr);
}

void AppendFixed(std::string& out, double value, int decimals) {
    char text[kFixedRoom];
    out.append(FormatFixed(text, value, decimals));
}

void AppendInt(std::string& out, long long value) {
    char text[24];
    auto r = std::to_chars(text, text + sizeof text, value);
    out.append(text, r.ptr);
}

// The buffer of the thread's last closed channel, taken by its next one: the
// files of a series need no fresh buffer each.
thread_local std::string spareBuffer;

EpsOutput::~EpsOutput() {
    const std::size_t room = m_buffer.capacity();
    if (room >= kTypicalFile && room <= 2 * kFlushSize && room > spareBuffer.capacity()) {
        m_buffer.clear();
        spareBuffer.swap(m_buffer);
    }
}

bool EpsOutput::Open(const char* path) {
    if (m_file) Close();
    if (m_buffer.capacity() < kTypicalFile) m_buffer.swap(spareBuffer);
    m_buffer.clear();
    m_buffer.reserve(kTypicalFile);
    m_bufferStart = 0;
    m_total = 0;
    m_error = 0;
    errno = 0;
    // Written beside the target and put in its place only when complete.
    m_file = path ? m_target.Open(path) : nullptr;
    if (!m_file) m_error = errno ? errno : EINVAL;
    // The channel buffers itself; one write per flush reaches the file.
    if (m_file) std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_ok = m_file != nullptr;
    return m_ok;
}

bool EpsOutput::Close() {
    if (!m_file) return false;
    Flush();
    m_file = nullptr;
    if (!m_ok) {
        m_target.Discard();
        return false;
    }
    errno = 0;
    if (m_target.Commit()) return true;
    Fail();
    return false;
}

void EpsOutput::Write(std::string_view bytes) {
    if (m_capture) {
        m_capture->append(bytes);
        return;
    }
    if (m_counting) {
        m_total += static_cast<uint32_t>(bytes.size());
        return;
    }
    if (!m_file) {
        Fail();
        return;
    }
    m_buffer.append(bytes);
    if (m_buffer.size() >= kFlushSize) Flush();
}

void EpsOutput::Put(std::string_view text) { Write(text); }

void EpsOutput::PutSpaced(std::string_view text) {
    Write(text);
    Write(" ");
}

void EpsOutput::PutLine(std::string_view text) {
    Write(text);
    Write("\r\n");
}

void EpsOutput::PutFixed(double value, int decimals) {
    char text[kFixedRoom];
    Write(FormatFixed(text, value, decimals));
}

bool EpsOutput::Flush() {
    if (!m_file) return false;
    if (!m_buffer.empty()) {
        std::size_t written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
        if (written != m_buffer.size()) Fail();
        m_bufferStart += m_buffer.size();
        m_buffer.clear();
    }
    return m_ok;
}

bool EpsOutput::PatchU32(uint64_t offset, uint32_t value) {
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    if (offset >= m_bufferStart && offset + 4 <= Position()) {
        std::memcpy(m_buffer.data() + (offset - m_bufferStart), bytes, 4);
        return true;
    }
    if (!m_file || offset + 4 > Position()) return false;
    Flush();
    long back = std::ftell(m_file);
    if (back < 0 || std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    if (std::fwrite(bytes, 1, 4, m_file) != 4) Fail();
    if (std::fseek(m_file, back, SEEK_SET) != 0) Fail();
    return m_ok;
}

void EpsOutput::Fail() {
    if (!m_error) m_error = errno ? errno : EIO;
    m_ok = false;
}

}  // namespace vg
