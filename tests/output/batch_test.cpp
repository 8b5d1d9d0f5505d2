// Series and data-file batches through the batch core: the files a run writes, its prompts and messages, and the
// placement script.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/symbolsettings.h"
#include "output/batch.h"
#include "output/datafile.h"
#include "output/generate.h"
#include "output/pagescript.h"
#include "output/series.h"
#include "preparesymbol.h"
#include "recordingsink.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using test::Prepare;
using test::ScopedRecordingSink;

struct Folder {
    Folder() {
        char pattern[] = "/tmp/vglyph-batch-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return path + "/" + name; }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(path)) names.insert(e.path().filename().string());
        return names;
    }
    std::string path;
};

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The user of the dialogs and prompts, answering from a script.
class FakeHost : public BatchHost {
public:
    explicit FakeHost(std::string folder) : m_folder(std::move(folder)) {}
    std::optional<SaveChoice> ChooseSavePath(const std::string& proposal, const SaveDialogOptions& o) override {
        proposals.push_back(proposal);
        offered = o;
        if (cancelSave) return std::nullopt;
        SaveChoice c;
        c.path = m_folder + "/" + (typedName.empty() ? proposal : typedName);
        c.withPreview = false;
        c.pageScript = pageScript;
        return c;
    }
    std::optional<std::string> ChooseScriptPath(const std::string& proposal) override {
        scriptProposal = proposal;
        return m_folder + "/script.txt";
    }
    bool AbortRequested() override { return abortAfter >= 0 && progressCalls >= abortAfter; }
    void Progress(const BatchProgress&) override {
        ++progressCalls;
        EXPECT_EQ(BatchRunning, 1);
    }
    bool ConfirmReplace(const std::string& name) override {
        replacePrompts.push_back(name);
        return replace;
    }
    bool SkipInvalidRecord(const std::string& record, int64_t number) override {
        invalid.push_back(record + "#" + std::to_string(number));
        return skip;
    }
    void Completed(int64_t files) override { completed.push_back(files); }
    void ReturnToKeyboardInput() override { ++keyboard; }

    std::string typedName;
    bool cancelSave = false, pageScript = true, replace = true, skip = true;
    int abortAfter = -1, progressCalls = 0, keyboard = 0;
    std::vector<std::string> proposals, replacePrompts, invalid;
    std::vector<int64_t> completed;
    std::string scriptProposal;
    SaveDialogOptions offered;

private:
    std::string m_folder;
};

// Arms a series of the current data as the dialog's OK does: the counter
// must reproduce the reference text.
void Arm(const char* before, const char* start, const char* stop, const char* step = "1", bool addOn = false) {
    SettingsRecord& s = SymbolSettings;
    ASSERT_EQ(std::string(before) + start, SeriesReferenceText(addOn));
    s.SerialBefore = before;
    s.SerialStart = start;
    s.SerialAfter.clear();
    s.SerialStop = stop;
    s.SerialIncrement = std::atoi(step) > 0 ? std::atoi(step) : 1;
    s.SerialMain = addOn ? 0 : 1;
    s.SerialAddOn = addOn ? 1 : 0;
    SeriesArmed = std::string(start) != stop ? 1 : 0;
}

// Every file the placement script in the folder imports is in the folder.
void ExpectScriptNamesWrittenFiles(const std::string& folder, const std::set<std::string>& names) {
    const std::string script = Read(folder + "/script.txt");
    std::size_t lines = 0;
    for (std::size_t at = script.find("import \""); at != std::string::npos; at = script.find("import \"", at + 1)) {
        const std::size_t from = at + 8;
        EXPECT_TRUE(names.count(script.substr(from, script.find('"', from) - from))) << script;
        ++lines;
    }
    EXPECT_EQ(lines + 1, names.size() - names.count("d.txt")) << script;
}

TEST(Series, RunsWriteTheNamedFilesAndSayHowMany) {
    struct Case {
        const char* name;
        const char* variation;
        const char* data;
        int scheme;
        const char* before;
        const char* start;
        const char* stop;
        const char* step;
        std::set<std::string> files;
        std::vector<int64_t> completed;
    } cases[] = {
        {"scheme 0 in the chosen folder",
         "6",
         "ABC00017",
         0,
         "ABC",
         "00017",
         "00020",
         "1",
         {"typed.EPS", "Untitled-0002.EPS", "Untitled-0003.EPS", "Untitled-0004.EPS", "script.txt"},
         {4}},
        {"width one",
         "6",
         "ABC7",
         2,
         "ABC",
         "7",
         "12",
         "1",
         {"typed.EPS", "ABC8.EPS", "ABC9.EPS", "ABC10.EPS", "ABC11.EPS", "ABC12.EPS", "script.txt"},
         {6}},
        {"zero padded",
         "6",
         "ABC007",
         2,
         "ABC",
         "007",
         "012",
         "2",
         {"typed.EPS", "ABC009.EPS", "ABC011.EPS", "script.txt"},
         {3}},
        {"scheme 1",
         "6",
         "X98",
         1,
         "X",
         "98",
         "99",
         "1",
         {"typed.EPS", "Vornel Glyph Graphic 0002.EPS", "script.txt"},
         {2}},
        {"0001 to 1 is one file", "6", "ABC0001", 0, "ABC", "0001", "1", "1", {"typed.EPS"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        Prepare(c.variation, c.data, {"FileName=" + std::to_string(c.scheme), "Format=1"});
        Arm(c.before, c.start, c.stop, c.step);
        EXPECT_EQ(SeriesArmed, 1);
        FakeHost host(dir.path);
        host.typedName = "typed.EPS";
        const BatchResult r = SaveCommand(host);
        EXPECT_TRUE(host.offered.pageScript && host.offered.noPreview && host.offered.levelOne);
        EXPECT_EQ(dir.Names(), c.files);
        if (c.files.count("script.txt")) ExpectScriptNamesWrittenFiles(dir.path, c.files);
        EXPECT_EQ(host.completed, c.completed);
        EXPECT_EQ(SeriesArmed, 0);
        EXPECT_EQ(BatchRunning, 0);
        EXPECT_EQ(r.end, BatchEnd::Finished);
    }
}

TEST(Series, StopsAtTheEndKeyAReplaceCancelAndAVariationWithoutAField) {
    Folder dir;
    // End key after the second further file: the count still shows, no script.
    Prepare("6", "ABC00017", {"FileName=0", "Format=1"});
    Arm("ABC", "00017", "00030");
    FakeHost host(dir.path);
    host.abortAfter = 2;
    BatchResult r = SaveCommand(host);
    EXPECT_EQ(r.end, BatchEnd::Aborted);
    EXPECT_EQ(host.completed, std::vector<int64_t>{3});
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"Untitled-0001.EPS", "Untitled-0002.EPS", "Untitled-0003.EPS"}));

    // The same names again: Cancel in the replace prompt ends the run at once.
    Prepare("6", "ABC00017", {"FileName=0", "Format=1"});
    Arm("ABC", "00017", "00030");
    FakeHost cancel(dir.path);
    cancel.replace = false;
    r = SaveCommand(cancel);
    EXPECT_EQ(r.end, BatchEnd::Aborted);
    EXPECT_EQ(cancel.replacePrompts, std::vector<std::string>{"Untitled-0002.EPS"});
    EXPECT_EQ(SeriesArmed, 0);
    EXPECT_FALSE(fs::exists(dir.File("script.txt")));

    // FIM and SPCN take no series text: no file after the first, no message.
    for (int variation : {30, 57}) {
        SCOPED_TRACE(variation);
        SymbolSettings.Variation = static_cast<int16_t>(variation);
        SymbolSettings.Family = variation == 30 ? 7 : 14;
        SymbolSettings.SerialStart = "1";
        SymbolSettings.SerialStop = "5";
        SymbolSettings.SerialIncrement = 1;
        SeriesArmed = 1;
        FakeHost none(dir.path);
        r = RunSeries("FIM.A.EPS", "FIM.A.EPS", dir.path, SaveChoice{}, none);
        EXPECT_EQ(r.end, BatchEnd::Stopped);
        EXPECT_EQ(r.filesMade, 1);
        EXPECT_TRUE(none.completed.empty());
        EXPECT_EQ(SeriesArmed, 0);
    }
}

TEST(Series, AddOnPartCountsInTheAddOn) {
    Folder dir;
    Prepare("26", "400638133393", {"FileName=2", "Format=1"}, "07");
    Arm("", "07", "10", "1", true);
    FakeHost host(dir.path);
    SaveCommand(host);
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"40063813339307.EPS", "40063813339308.EPS", "40063813339309.EPS",
                                                  "40063813339310.EPS", "script.txt"}));
    // The script names the files the run wrote.
    const std::string script = Read(dir.File("script.txt"));
    EXPECT_NE(script.find("import \"40063813339310.EPS\"\r\nplace 0.250000i, 1.000000i\r\n"), std::string::npos)
        << script;
}

TEST(PlacementScript, PositionsFillColumnsOf44UpTo8AndAHalfInches) {
    ScriptPosition p;
    std::vector<std::pair<float, float>> at;
    for (int i = 0; i < 44 * 36; ++i) {
        at.emplace_back(p.x(), p.y());
        p.Advance();
    }
    EXPECT_EQ(at[0], std::make_pair(0.25f, 0.25f));
    EXPECT_EQ(at[43], std::make_pair(0.25f, 11.0f));
    EXPECT_EQ(at[44], std::make_pair(0.5f, 0.25f));       // the 45th graphic
    EXPECT_EQ(at[44 * 33], std::make_pair(8.5f, 0.25f));  // the 34th column
    EXPECT_EQ(at[44 * 35 + 3], std::make_pair(8.5f, 1.0f));
    EXPECT_EQ(ScriptLines("A.EPS", ScriptPosition()), "import \"A.EPS\"\r\nplace 0.250000i, 0.250000i\r\n");

    const std::pair<const char*, const char*> names[] = {
        {"12345678901234567890", "VGL{1234567890123...}.txt"},
        {"1234567890123456", "VGL{1234567890123456}.txt"},
        {"(12)345678901234567", "VGL{12345678901...}.txt"},
        {"AB(C)", "VGL{ABC}.txt"},
    };
    for (const auto& [text, name] : names) {
        SetText(SymbolSettings.OriginalMainText, text);
        SymbolSettings.Variation = 6;
        EXPECT_EQ(DefaultScriptName(), name);
    }
}

// Opens a data file of the current variation; the boxes it showed.
std::vector<test::RecordedMessage> Open(const std::string& path, FakeHost& host, bool* opened) {
    ScopedRecordingSink sink;
    *opened = OpenDataFile(path, host);
    return sink.sink.messages;
}

TEST(DataFile, OpenTestsTheFirstRecord) {
    Folder dir;
    const std::string sixty(60, '7'), sixtyOne(61, '7');
    struct Case {
        const char* name;
        std::string bytes;
        bool opened;
        const char* caption;  // of the one message; null: none
    } cases[] = {
        {"CR LF", "03600029145\r\n01234567890\r\n", true, nullptr},
        {"CR", "03600029145\r01234567890\r", true, nullptr},
        {"empty", "", false, "Vornel Glyph"},
        {"first byte 0",
         std::string("\0"
                     "03600029145\r",
                     13),
         false, "Vornel Glyph"},
        {"61 characters", sixtyOne + "\r\n", false, "Vornel Glyph"},
        {"no CR in 128 bytes", std::string(130, '1'), false, "Vornel Glyph"},
        {"LF", "03600029145\n01234567890\n", true, nullptr},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "03600029145\n",
         true, nullptr},
        {"no line end", "03600029145", true, nullptr},
        {"60 characters, refused by the variation", sixty + "\r", false, "Data File"},
        {"empty first line", "\n03600029145\r\n", false, "Vornel Glyph"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare("72", "03600029145", {"FileName=0", "Format=1"});
        const std::string path = dir.File("d.txt");
        Write(path, c.bytes);
        FakeHost host(dir.path);
        bool opened = false;
        const auto messages = Open(path, host, &opened);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(DataFilePending, c.opened ? 1 : 0);
        if (!c.caption) continue;
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back().text, "File's format is not correct");
        EXPECT_EQ(messages.back().caption, c.caption);
    }
    FakeHost host(dir.path);
    bool opened = true;
    const auto missing = Open(dir.File("none.txt"), host, &opened);
    EXPECT_FALSE(opened);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].text, "Unable to open " + dir.File("none.txt"));
}

TEST(DataFile, BatchesWriteOneFilePerRecordAndTheScript) {
    struct Case {
        const char* name;
        std::string bytes;
        bool skip;
        std::set<std::string> files;
        std::vector<std::string> invalid;
        int64_t made;
        BatchEnd end;
    } cases[] = {
        {"CR LF",
         "03600029145\r\n01234567890\r\n12345678901\r\n",
         true,
         {"Untitled-0001.EPS", "Untitled-0002.EPS", "Untitled-0003.EPS", "script.txt", "d.txt"},
         {},
         3,
         BatchEnd::Finished},
        {"CR and a last line without one",
         "03600029145\r01234567890\r12345678901",
         true,
         {"Untitled-0001.EPS", "Untitled-0002.EPS", "Untitled-0003.EPS", "script.txt", "d.txt"},
         {},
         3,
         BatchEnd::Finished},
        {"LF, CR LF split by a byte-order mark",
         "\xEF\xBB\xBF"
         "03600029145\n01234567890\r\n12345678901\n",
         true,
         {"Untitled-0001.EPS", "Untitled-0002.EPS", "Untitled-0003.EPS", "script.txt", "d.txt"},
         {},
         3,
         BatchEnd::Finished},
        {"rejected record skipped",
         "03600029145\r\nXYZ\r\n12345678901\r\n",
         true,
         {"Untitled-0001.EPS", "Untitled-0002.EPS", "d.txt"},
         {"XYZ#2"},
         2,
         BatchEnd::Finished},
        {"rejected record aborts",
         "03600029145\r\nX\x01YZ\r\n12345678901\r\n",
         false,
         {"Untitled-0001.EPS", "d.txt"},
         {"X\\x01YZ#2"},
         1,
         BatchEnd::Aborted},
        {"long record refused whole",
         "03600029145\r\n" + std::string(500, '1') + "\r\n",
         true,
         {"Untitled-0001.EPS", "d.txt"},
         {std::string(131, '1') + "...#2"},
         1,
         BatchEnd::Finished},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        Prepare("72", "03600029145", {"FileName=0", "Format=1"});
        Write(dir.File("d.txt"), c.bytes);
        FakeHost host(dir.path);
        host.skip = c.skip;
        bool opened = false;
        Open(dir.File("d.txt"), host, &opened);
        ASSERT_TRUE(opened);
        ScopedRecordingSink quiet;
        const BatchResult r = SaveCommand(host);
        EXPECT_EQ(DataFilePending, 0);
        EXPECT_TRUE(host.offered.pageScript);
        EXPECT_EQ(dir.Names(), c.files);
        EXPECT_EQ(host.invalid, c.invalid);
        EXPECT_EQ(host.completed, std::vector<int64_t>{c.made});
        EXPECT_EQ(r.end, c.end);
        EXPECT_EQ(host.keyboard, 1);
        if (c.files.count("script.txt")) {
            std::string expected;
            ScriptPosition p;
            for (int64_t i = 1; i <= c.made; ++i, p.Advance())
                expected += ScriptLines(NumberedName("Untitled-0001.EPS", 0, i), p);
            EXPECT_EQ(Read(dir.File("script.txt")), expected);
            EXPECT_EQ(host.scriptProposal, "VGL{" + std::string(TextOf(SymbolSettings.OriginalMainText)) + "}.txt");
        }
    }
}

TEST(DataFile, ScriptNamesTheFirstFileAsTyped) {
    Folder dir;
    Prepare("72", "03600029145", {"FileName=0", "Format=1"});
    Write(dir.File("d.txt"), "03600029145\r\n01234567890\r\n");
    FakeHost host(dir.path);
    host.typedName = "typed.EPS";
    bool opened = false;
    Open(dir.File("d.txt"), host, &opened);
    ASSERT_TRUE(opened);
    SaveCommand(host);
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"typed.EPS", "Untitled-0002.EPS", "script.txt", "d.txt"}));
    ExpectScriptNamesWrittenFiles(dir.path, dir.Names());
}

TEST(DataFile, CancelledSaveDialogEndsTheBatchSilentlyAndEveryFimRecordIsRejected) {
    Folder dir;
    Prepare("72", "03600029145", {"FileName=3", "Format=0"});
    Write(dir.File("d.txt"), "03600029145\r\n01234567890\r\n");
    FakeHost host(dir.path);
    bool opened = false;
    Open(dir.File("d.txt"), host, &opened);
    ASSERT_TRUE(opened);
    host.cancelSave = true;
    const BatchResult r = SaveCommand(host);
    EXPECT_EQ(r.end, BatchEnd::Cancelled);
    EXPECT_TRUE(host.completed.empty());
    EXPECT_EQ(host.proposals, std::vector<std::string>{"29145.WMF"});
    EXPECT_FALSE(host.offered.noPreview);

    SymbolSettings.Variation = 31;
    SymbolSettings.Family = 7;
    DataFilePath = dir.File("d.txt");
    FakeHost fim(dir.path);
    ScopedRecordingSink quiet;
    RunDataFileBatch(fim);
    EXPECT_EQ(fim.invalid, (std::vector<std::string>{"03600029145#1", "01234567890#2"}));
    EXPECT_EQ(fim.completed, std::vector<int64_t>{0});
}

// Arbitrary bytes: NUL, a 10 MB line, invalid UTF-8 and many records run to
// the end without a crash, and the reader keeps no more than a record.
TEST(DataFile, ArbitraryBytesRunToTheEnd) {
    Folder dir;
    std::string bytes = "ABC1\r\n";
    bytes += std::string("AB\0C\r", 5);
    bytes += std::string(10 << 20, 'X') + "\r";
    bytes += "\xC3\x28\xFF\xFE\x80\r\n";
    for (int i = 0; i < 20000; ++i) bytes += "\r";  // empty records
    bytes += "ABC2\r\n";
    Write(dir.File("d.txt"), bytes);

    DataFileReader reader;
    ASSERT_TRUE(reader.Open(dir.File("d.txt")));
    DataRecord rec;
    int64_t records = 0;
    std::size_t longest = 0;
    while (reader.Next(rec)) {
        ++records;
        longest = std::max(longest, rec.text.size());
    }
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(records, 4 + 20000 + 1);
    EXPECT_EQ(longest, kMaxRecord);

    Prepare("6", "ABC1", {"FileName=2", "Format=1"});
    FakeHost host(dir.path);
    bool opened = false;
    Open(dir.File("d.txt"), host, &opened);
    ASSERT_TRUE(opened);
    ScopedRecordingSink quiet;
    const BatchResult r = SaveCommand(host);
    EXPECT_EQ(r.end, BatchEnd::Finished);
    EXPECT_EQ(r.filesMade + r.skipped, 4 + 20000 + 1);
    EXPECT_TRUE(fs::exists(dir.File("ABC1.EPS")));
    EXPECT_TRUE(fs::exists(dir.File("ABC2.EPS")));
    EXPECT_EQ(host.invalid[0], "AB\\x00C#2");
    EXPECT_EQ(host.invalid[1].substr(0, 5), "XXXXX");
}

TEST(DataFile, FailedWritesAreReportedAndNotCounted) {
    Folder dir;
    Prepare("72", "03600029145", {"FileName=0", "Format=1"});
    Write(dir.File("d.txt"), "03600029145\r\n01234567890\r\n12345678901\r\n");
    // The second name is taken by a folder, which no file replaces.
    fs::create_directory(dir.File("Untitled-0002.EPS"));
    FakeHost host(dir.path);
    bool opened = false;
    Open(dir.File("d.txt"), host, &opened);
    ScopedRecordingSink sink;
    const BatchResult r = SaveCommand(host);
    EXPECT_EQ(r.failedWrites, 1);
    EXPECT_EQ(host.completed, std::vector<int64_t>{2});
    EXPECT_FALSE(fs::exists(dir.File("script.txt")));
    ASSERT_FALSE(sink.sink.messages.empty());
    EXPECT_EQ(sink.sink.messages[0].text.substr(0, 15), "Unable to save ");
}

}  // namespace
}  // namespace vg
