// A file that replaces its target only once it has been written completely.
#pragma once

#include <cstdio>
#include <string>

namespace vg {

// How saves treat a name that exists, for a stretch of code (see SaveRulesScope).
struct SaveRules {
    // The program made the name itself: a symbolic link is never followed
    // (replacing replaces the link), and every target goes through a temporary.
    bool ownName = false;
    // The name must not exist when the file is put in place: a file that
    // appeared meanwhile is kept, and the save fails with EEXIST.
    bool noReplace = false;
};

// Sets the rules of the saves made while it lives; NameTaken tells whether a
// no-replace save found its name taken.
class SaveRulesScope {
public:
    explicit SaveRulesScope(const SaveRules& rules);
    ~SaveRulesScope();
    SaveRulesScope(const SaveRulesScope&) = delete;
    SaveRulesScope& operator=(const SaveRulesScope&) = delete;
    bool NameTaken() const { return m_nameTaken; }

private:
    friend class AtomicFile;
    SaveRules m_rules;
    bool m_nameTaken = false;
    SaveRulesScope* m_previous;
};

// Whether a save under the current rules found its name taken.
bool SaveNameTaken();

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile() { Discard(); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Opens a temporary file in the target's folder for binary writing. A link
    // is followed to its target, even a dangling one, unless the name is the
    // program's own. A target that exists and is no regular file (a device, a
    // pipe) is written directly. A file the user may not write is not replaced
    // (EACCES). nullptr when nothing could be opened; errno tells why.
    std::FILE* Open(const std::string& path);
    std::FILE* File() const { return m_file; }

    // Closes the file and puts it in place of the target. False when a write,
    // the close or the rename failed; then neither the temporary file nor a
    // partial target is left and an earlier target is untouched.
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();

private:
    std::FILE* m_file = nullptr;
    std::string m_temp;  // empty when writing the target directly
    std::string m_target;
    bool m_noReplace = false;
};

// Writes bytes as the whole content of a file through an AtomicFile.
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size);

// Removes the temporary files of this program's naming in a folder whose
// process no longer runs. Each folder is looked at once per process.
void RemoveStaleTemporaries(const std::string& folder);

// Removes the temporary files now being written; safe in a signal handler.
void RemoveLiveTemporaries();

// SIGINT, SIGTERM and SIGHUP (where not ignored) remove the temporaries being
// written and then end the process as the signal would.
void RemoveTemporariesOnSignals();

}  // namespace vg
