#include "eps/epsoutput.h"

#include <charconv>
#include <cstring>

namespace vg {
namespace {

constexpr std::size_t kFlushSize = 1 << 18;

}  // namespace

std::string FixedText(double value, int decimals) {
    // Large enough for DBL_MAX in fixed notation with a few decimals.
    char text[400];
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "0";
    return std::string(text, r.ptr);
}

std::string IntText(long long value) {
    char text[24];
    auto r = std::to_chars(text, text + sizeof text, value);
    return std::string(text, r.ptr);
}

EpsOutput::~EpsOutput() {
    if (file_) std::fclose(file_);
}

bool EpsOutput::Open(const char* path) {
    if (file_) Close();
    buffer_.clear();
    bufferStart_ = 0;
    total_ = 0;
    file_ = path ? std::fopen(path, "wb") : nullptr;
    ok_ = file_ != nullptr;
    return ok_;
}

bool EpsOutput::Close() {
    if (!file_) return false;
    Flush();
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok_ && closed;
}

void EpsOutput::Write(std::string_view bytes) {
    if (counting_) {
        total_ += static_cast<uint32_t>(bytes.size());
        return;
    }
    if (!file_) {
        ok_ = false;
        return;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushSize) Flush();
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

bool EpsOutput::Flush() {
    if (!file_) return false;
    if (!buffer_.empty()) {
        std::size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
        if (written != buffer_.size()) ok_ = false;
        bufferStart_ += buffer_.size();
        buffer_.clear();
    }
    return ok_;
}

bool EpsOutput::PatchU32(uint64_t offset, uint32_t value) {
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16),
                              static_cast<unsigned char>(value >> 24)};
    if (offset >= bufferStart_ && offset + 4 <= Position()) {
        std::memcpy(buffer_.data() + (offset - bufferStart_), bytes, 4);
        return true;
    }
    if (!file_ || offset + 4 > Position()) return false;
    Flush();
    long back = std::ftell(file_);
    if (back < 0 || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    if (std::fwrite(bytes, 1, 4, file_) != 4) ok_ = false;
    if (std::fseek(file_, back, SEEK_SET) != 0) ok_ = false;
    return ok_;
}

}  // namespace vg
