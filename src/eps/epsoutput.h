// Output channel of the EPS writer: counts or writes, CR LF lines, C-locale numbers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "model/atomicfile.h"

namespace vg {

// Fixed-point text with the given number of decimals ("%.Nf"), always with a
// decimal point whatever the process locale.
std::string FixedText(double value, int decimals);
// Plain decimal integer ("%d").
std::string IntText(long long value);
// The same texts appended to a buffer.
void AppendFixed(std::string& out, double value, int decimals);
void AppendInt(std::string& out, long long value);

class EpsOutput {
public:
    EpsOutput() = default;
    ~EpsOutput();
    EpsOutput(const EpsOutput&) = delete;
    EpsOutput& operator=(const EpsOutput&) = delete;

    // Creates the file for binary writing; it replaces an earlier file of the
    // name only when Close succeeds. Sets the success flag.
    bool Open(const char* path);
    // Flushes and closes; true when every write and the close succeeded.
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Counting mode: nothing reaches the file, lengths go to the running total.
    void SetCounting(bool on) { counting_ = on; }
    bool Counting() const { return counting_; }
    uint32_t BytesCounted() const { return total_; }
    void ResetCount() { total_ = 0; }

    // Capture mode: what is put is appended to text (nullptr ends it) and
    // nothing reaches the file or the count.
    void SetCapture(std::string* text) { capture_ = text; }

    // Cleared whenever the file accepts fewer bytes than offered.
    bool Ok() const { return ok_; }
    // The system's error number of the first failure (open, write, seek or
    // close); 0 while none.
    int Error() const { return error_; }

    void Put(std::string_view text);
    void PutSpaced(std::string_view text);      // text and one blank
    void PutLine(std::string_view text);        // text and CR LF
    void PutFixed(double value, int decimals);  // a number as FixedText, no blank

    // File offset of the next byte written in writing mode.
    uint64_t Position() const { return bufferStart_ + buffer_.size(); }
    // Writes a 32-bit little-endian value at an earlier offset and comes back.
    // False (nothing written) when the offset cannot be reached.
    bool PatchU32(uint64_t offset, uint32_t value);
    // Hands every pending byte to the file; the file is then positioned at Position().
    bool Flush();
    // The open file, for steps that append after Flush (the preview). It is
    // unbuffered: the channel hands it whole blocks.
    std::FILE* File() const { return file_; }

private:
    void Write(std::string_view bytes);
    void Fail();  // clears the success flag, keeping the first error number

    AtomicFile target_;
    std::FILE* file_ = nullptr;
    bool counting_ = false;
    std::string* capture_ = nullptr;
    bool ok_ = false;
    int error_ = 0;
    uint32_t total_ = 0;
    std::string buffer_;        // bytes not yet handed to the file
    uint64_t bufferStart_ = 0;  // file offset of buffer_[0]
};

}  // namespace vg
