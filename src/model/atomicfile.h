// A file that replaces its target only once it has been written completely.
#pragma once

#include <cstdio>
#include <string>

namespace vg {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile() { Discard(); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Opens a temporary file in the target's folder for binary writing. A target
    // that exists and is no regular file (a device, a pipe) is written directly.
    // nullptr when nothing could be opened.
    std::FILE* Open(const std::string& path);
    std::FILE* File() const { return file_; }

    // Closes the file and renames it over the target. False when a write, the
    // close or the rename failed; then neither the temporary file nor a partial
    // target is left and an earlier target is untouched.
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();

private:
    std::FILE* file_ = nullptr;
    std::string temp_;    // empty when writing the target directly
    std::string target_;
};

// Writes bytes as the whole content of a file through an AtomicFile.
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size);

}  // namespace vg
