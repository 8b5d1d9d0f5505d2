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
    bool IsOpen() const { return m_file != nullptr; }

    // Counting mode: nothing reaches the file, lengths go to the running total.
    void SetCounting(bool on) { m_counting = on; }
    bool Counting() const { return m_counting; }
    uint32_t BytesCounted() const { return m_total; }
    void ResetCount() { m_total = 0; }

    // Capture mode: what is put is appended to text (nullptr ends it) and
    // nothing reaches the file or the count.
    void SetCapture(std::string* text) { m_capture = text; }

    // Cleared whenever the file accepts fewer bytes than offered.
    bool Ok() const { return m_ok; }
    // The system's error number of the first failure (open, write, seek or
    // close); 0 while none.
    int Error() const { return m_error; }

    void Put(std::string_view text);
    void PutSpaced(std::string_view text);      // text and one blank
    void PutLine(std::string_view text);        // text and CR LF
    void PutFixed(double value, int decimals);  // a number as FixedText, no blank

    // File offset of the next byte written in writing mode.
    uint64_t Position() const { return m_bufferStart + m_buffer.size(); }
    // Writes a 32-bit little-endian value at an earlier offset and comes back.
    // False (nothing written) when the offset cannot be reached.
    bool PatchU32(uint64_t offset, uint32_t value);
    // Hands every pending byte to the file; the file is then positioned at Position().
    bool Flush();
    // The open file, for steps that append after Flush (the preview). It is
    // unbuffered: the channel hands it whole blocks.
    std::FILE* File() const { return m_file; }

private:
    void Write(std::string_view bytes);
    void Fail();  // clears the success flag, keeping the first error number

    AtomicFile m_target;
    std::FILE* m_file = nullptr;
    bool m_counting = false;
    std::string* m_capture = nullptr;
    bool m_ok = false;
    int m_error = 0;
    uint32_t m_total = 0;
    std::string m_buffer;        // bytes not yet handed to the file
    uint64_t m_bufferStart = 0;  // file offset of m_buffer[0]
};

}  // namespace vg
