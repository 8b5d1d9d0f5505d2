#include "proof/gsrender.h"

#include <ghostscript/gdevdsp.h>
#include <ghostscript/gserrors.h>
#include <ghostscript/iapi.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

#include "model/dynamiclibrary.h"
#include "model/regularfile.h"

namespace vg {

namespace {

constexpr uint64_t kMaxEpsBytes = 64ull << 20;
constexpr long long kMaxPixels = 120'000'000;

uint32_t U32At(const std::string& b, std::size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

// The PostScript section: behind the DOS EPS header, or the whole file.
bool PostScriptOf(const std::string& path, std::string& ps, std::string* reason) {
    RegularFile file;
    if (!file.Open(path, reason)) return false;
    if (file.Size() > kMaxEpsBytes) {
        *reason = "the file is too large for an EPS graphic";
        return false;
    }
    std::string bytes(file.Size(), '\0');
    if (file.ReadAt(0, bytes.data(), bytes.size()) != static_cast<long long>(bytes.size())) {
        *reason = file.Reason().empty() ? "the file could not be read" : file.Reason();
        return false;
    }
    if (bytes.size() >= 30 && static_cast<unsigned char>(bytes[0]) == 0xC5 &&
        static_cast<unsigned char>(bytes[1]) == 0xD0 && static_cast<unsigned char>(bytes[2]) == 0xD3 &&
        static_cast<unsigned char>(bytes[3]) == 0xC6) {
        const uint64_t start = U32At(bytes, 4), length = U32At(bytes, 8);
        if (start < 30 || start + length > bytes.size() || length == 0) {
            *reason = "the DOS EPS header points outside the file";
            return false;
        }
        ps = bytes.substr(start, length);
    } else if (bytes.rfind("%!", 0) == 0) {
        ps = std::move(bytes);
    } else {
        *reason = "not an EPS file";
        return false;
    }
    return true;
}

struct Box {
    double llx = 0, lly = 0, urx = 0, ury = 0;
};

// The first %%BoundingBox line with four numbers.
bool BoundingBoxOf(std::string_view ps, Box& box) {
    for (std::size_t at = 0; (at = ps.find("%%BoundingBox:", at)) != std::string_view::npos; ++at) {
        if (at > 0 && ps[at - 1] != '\n' && ps[at - 1] != '\r') continue;
        const std::size_t end = ps.find_first_of("\r\n", at);
        std::string line(ps.substr(at + 14, end == std::string_view::npos ? std::string_view::npos : end - at - 14));
        if (std::sscanf(line.c_str(), "%lf %lf %lf %lf", &box.llx, &box.lly, &box.urx, &box.ury) == 4 &&
            box.urx > box.llx && box.ury > box.lly && std::isfinite(box.urx) && std::isfinite(box.ury))
            return true;
    }
    return false;
}

// Ghostscript's library is opened on the first proof of an EPS file: a
// process that proves nothing does not pay for loading and relocating it.
struct GsLibrary {
    decltype(&gsapi_new_instance) newInstance = nullptr;
    decltype(&gsapi_delete_instance) deleteInstance = nullptr;
    decltype(&gsapi_set_stdio) setStdio = nullptr;
    decltype(&gsapi_init_with_args) initWithArgs = nullptr;
    decltype(&gsapi_run_string_begin) runBegin = nullptr;
    decltype(&gsapi_run_string_continue) runContinue = nullptr;
    decltype(&gsapi_run_string_end) runEnd = nullptr;
    decltype(&gsapi_exit) exit = nullptr;
    decltype(&gsapi_register_callout) registerCallout = nullptr;
    bool loaded = false;
};

const GsLibrary* LoadGs(std::string* reason) {
    static GsLibrary lib;
    static std::once_flag once;
    std::call_once(once, [] {
        void* handle = OpenFirstLibrary({"libgs.so.10", "libgs.so.9", "libgs.so"});
        lib.loaded = handle && BindFunction(handle, "gsapi_new_instance", lib.newInstance) &&
                     BindFunction(handle, "gsapi_delete_instance", lib.deleteInstance) &&
                     BindFunction(handle, "gsapi_set_stdio", lib.setStdio) &&
                     BindFunction(handle, "gsapi_init_with_args", lib.initWithArgs) &&
                     BindFunction(handle, "gsapi_run_string_begin", lib.runBegin) &&
                     BindFunction(handle, "gsapi_run_string_continue", lib.runContinue) &&
                     BindFunction(handle, "gsapi_run_string_end", lib.runEnd) &&
                     BindFunction(handle, "gsapi_exit", lib.exit) &&
                     BindFunction(handle, "gsapi_register_callout", lib.registerCallout);
    });
    if (!lib.loaded) {
        *reason = "Ghostscript's library (libgs) is not installed";
        return nullptr;
    }
    return &lib;
}

// One interpreter, used by one thread at a time; kept for the life of the
// process once made. Each has its own instance of the library, so that proofs
// on several threads run side by side. EPS files are drawn into memory (the
// display device); a PDF file's pages go to files in the interpreter's folder.
struct Interpreter {
    const GsLibrary* lib = nullptr;
    void* instance = nullptr;
    std::string folder;  // where a PDF file's pages are written, one file each
    std::string page;    // the page device set up last
    std::string err;
    // The display device's raster and the pages shown since the last look.
    const unsigned char* raster = nullptr;
    int width = 0, height = 0, rowBytes = 0;
    std::vector<GreyImage> shown;
};

// The interpreters made so far; a caller takes a free one or makes another.
struct Interpreters {
    std::mutex mutex;
    std::vector<std::unique_ptr<Interpreter>> all;
    std::vector<Interpreter*> free;
};

Interpreters& Pool() {
    static Interpreters* pool = new Interpreters;  // outlives the exit handler
    return *pool;
}

// Starting and ending instances one at a time.
std::mutex& LifeMutex() {
    static std::mutex* m = new std::mutex;
    return *m;
}

int GSDLLCALL NoInput(void*, char*, int) { return 0; }
int GSDLLCALL Out(void*, const char*, int len) { return len; }
int GSDLLCALL Err(void* handle, const char* str, int len) {
    try {  // nothing may unwind through the library's frames
        std::string& err = static_cast<Interpreter*>(handle)->err;
        if (err.size() < 4096) err.append(str, static_cast<std::size_t>(len));
    } catch (...) {
    }
    return len;
}

// The display device's calls: the raster's place and size, and each page shown.
int DisplayNothing(void*, void*) { return 0; }
int DisplayPresize(void*, void*, int, int, int, unsigned int) { return 0; }
int DisplaySize(void* handle, void*, int width, int height, int raster, unsigned int, unsigned char* image) {
    Interpreter& gs = *static_cast<Interpreter*>(handle);
    gs.raster = image;
    gs.width = width;
    gs.height = height;
    gs.rowBytes = raster;
    return 0;
}
int DisplayPage(void* handle, void*, int, int) {
    Interpreter& gs = *static_cast<Interpreter*>(handle);
    try {  // nothing may unwind through the library's frames
        if (!gs.raster || gs.width <= 0 || gs.height <= 0 || gs.shown.size() > 1) return 0;
        GreyImage page;
        page.width = gs.width;
        page.height = gs.height;
        page.pixels.resize(static_cast<std::size_t>(gs.width) * static_cast<std::size_t>(gs.height));
        for (int y = 0; y < gs.height; ++y)
            std::memcpy(page.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(gs.width),
                        gs.raster + static_cast<std::size_t>(y) * static_cast<std::size_t>(gs.rowBytes),
                        static_cast<std::size_t>(gs.width));
        gs.shown.push_back(std::move(page));
    } catch (...) {
        return gs_error_VMerror;
    }
    return 0;
}
int DisplayUpdate(void*, void*, int, int, int, int) { return 0; }

display_callback MakeDisplayCallback() {
    display_callback d{};
    d.size = sizeof d;
    d.version_major = DISPLAY_VERSION_MAJOR;
    d.version_minor = DISPLAY_VERSION_MINOR;
    d.display_open = DisplayNothing;
    d.display_preclose = DisplayNothing;
    d.display_close = DisplayNothing;
    d.display_presize = DisplayPresize;
    d.display_size = DisplaySize;
    d.display_sync = DisplayNothing;
    d.display_page = DisplayPage;
    d.display_update = DisplayUpdate;
    return d;
}

// 8-bit grey, rows top first: the layout of the pages the proof reads.
constexpr unsigned kDisplayFormat = unsigned{DISPLAY_COLORS_GRAY} | unsigned{DISPLAY_ALPHA_NONE} |
                                    unsigned{DISPLAY_DEPTH_8} | unsigned{DISPLAY_BIGENDIAN} |
                                    unsigned{DISPLAY_TOPFIRST} | unsigned{DISPLAY_ROW_ALIGN_DEFAULT};

int GSDLLCALL Callout(void*, void* handle, const char* device, int id, int size, void* data) {
    if (!device || std::strcmp(device, "display") != 0 || id != DISPLAY_CALLOUT_GET_CALLBACK ||
        size < static_cast<int>(sizeof(gs_display_get_callback_t)))
        return gs_error_unknownerror;
    static display_callback callback = MakeDisplayCallback();
    auto* get = static_cast<gs_display_get_callback_t*>(data);
    get->callback = &callback;
    get->caller_handle = handle;
    return 0;
}

// The pages in the folder, oldest first by name; each file is removed.
std::vector<std::string> TakePages(const Interpreter& gs) {
    std::vector<std::string> names, pages;
    if (gs.folder.empty()) return pages;  // EPS pages are drawn in memory
    if (DIR* dir = opendir(gs.folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const std::string& name : names) {
        const std::string path = gs.folder + "/" + name;
        std::string bytes;
        RegularFile file;
        if (file.Open(path) && file.Size() < (512ull << 20)) {
            bytes.resize(file.Size());
            if (file.ReadAt(0, bytes.data(), bytes.size()) != static_cast<long long>(bytes.size())) bytes.clear();
        }
        std::remove(path.c_str());
        pages.push_back(std::move(bytes));
    }
    return pages;
}

void Drop(Interpreter& gs) {
    if (!gs.instance) return;
    {
        std::lock_guard<std::mutex> life(LifeMutex());
        gs.lib->exit(gs.instance);
        gs.lib->deleteInstance(gs.instance);
    }
    gs.instance = nullptr;
    gs.page.clear();
    gs.raster = nullptr;
    gs.shown.clear();
    TakePages(gs);
}

// An interpreter of the caller's own until it is handed back.
class Lease {
public:
    Lease() {
        Interpreters& pool = Pool();
        std::lock_guard<std::mutex> lock(pool.mutex);
        if (pool.free.empty()) {
            pool.all.push_back(std::make_unique<Interpreter>());
            m_gs = pool.all.back().get();
            if (pool.all.size() == 1)
                // The folders go with the process.
                std::atexit([] {
                    for (const auto& gs : Pool().all)
                        if (!gs->folder.empty()) {
                            TakePages(*gs);
                            rmdir(gs->folder.c_str());
                        }
                });
        } else {
            m_gs = pool.free.back();
            pool.free.pop_back();
        }
    }
    ~Lease() {
        Interpreters& pool = Pool();
        std::lock_guard<std::mutex> lock(pool.mutex);
        pool.free.push_back(m_gs);
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Interpreter& operator*() const { return *m_gs; }

private:
    Interpreter* m_gs = nullptr;
};

// The library, and the folder for the pages where they go to files.
bool Prepare(Interpreter& gs, std::string* reason, bool pageFiles) {
    if (!gs.lib && !(gs.lib = LoadGs(reason))) return false;
    if (pageFiles && gs.folder.empty()) {
        char pattern[] = "/dev/shm/vglyph-proof-XXXXXX";
        if (!mkdtemp(pattern)) {
            *reason = "no folder for Ghostscript's pages: " + SystemReason(errno);
            return false;
        }
        gs.folder = pattern;
    }
    return true;
}

bool Start(Interpreter& gs, std::string* reason) {
    if (gs.instance) return true;
    if (!Prepare(gs, reason, false)) return false;
    std::lock_guard<std::mutex> life(LifeMutex());
    if (gs.lib->newInstance(&gs.instance, &gs) < 0) {
        gs.instance = nullptr;
        *reason = "Ghostscript's interpreter could not be started";
        return false;
    }
    gs.lib->setStdio(gs.instance, NoInput, Out, Err);
    gs.lib->registerCallout(gs.instance, Callout, &gs);
    const std::string format = "-dDisplayFormat=" + std::to_string(kDisplayFormat);
    // Colour without ICC conversion: the proof wants contrast, not colour.
    const char* args[] = {"vglyph",          "-q",          "-dSAFER",        "-dNOPAUSE",
                          "-dNOPROMPT",      "-dQUIET",     "-dUseFastColor", "-dNOINTERPOLATE",
                          "-sDEVICE=display", format.c_str()};
    const int code = gs.lib->initWithArgs(gs.instance, static_cast<int>(std::size(args)), const_cast<char**>(args));
    if (code < 0) {
        gs.lib->exit(gs.instance);
        gs.lib->deleteInstance(gs.instance);
        gs.instance = nullptr;
        *reason = "Ghostscript's interpreter could not be started (" + std::to_string(code) + ")";
        return false;
    }
    return true;
}

bool Run(Interpreter& gs, std::string_view program) {
    int exitCode = 0;
    int code = gs.lib->runBegin(gs.instance, 0, &exitCode);
    for (std::size_t at = 0; code >= 0 || code == gs_error_NeedInput;) {
        if (at >= program.size()) break;
        const std::size_t n = std::min<std::size_t>(program.size() - at, 60000);
        code = gs.lib->runContinue(gs.instance, program.data() + at, static_cast<unsigned>(n), 0, &exitCode);
        at += n;
    }
    if (code < 0 && code != gs_error_NeedInput) return false;
    return gs.lib->runEnd(gs.instance, 0, &exitCode) >= 0;
}

// Reads "P5 w h 255" and the pixels; comments are skipped.
bool ParsePgm(const std::string& data, GreyImage& image) {
    std::size_t at = 0;
    auto token = [&]() -> std::string {
        for (;;) {
            while (at < data.size() && std::isspace(static_cast<unsigned char>(data[at]))) ++at;
            if (at < data.size() && data[at] == '#') {
                while (at < data.size() && data[at] != '\n') ++at;
                continue;
            }
            break;
        }
        const std::size_t from = at;
        while (at < data.size() && !std::isspace(static_cast<unsigned char>(data[at]))) ++at;
        return data.substr(from, at - from);
    };
    if (token() != "P5") return false;
    const long w = std::strtol(token().c_str(), nullptr, 10);
    const long h = std::strtol(token().c_str(), nullptr, 10);
    if (token() != "255" || w <= 0 || h <= 0) return false;
    ++at;  // the one whitespace byte after the maximum
    const std::size_t size = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    if (at + size > data.size()) return false;
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h);
    image.pixels.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                        data.begin() + static_cast<std::ptrdiff_t>(at + size));
    return true;
}

}  // namespace

bool RenderEpsFile(const std::string& path, int ppi, GreyImage& image, std::string* reason) {
    std::string ignored;
    if (!reason) reason = &ignored;
    std::string ps;
    if (!PostScriptOf(path, ps, reason)) return false;
    Box box;
    if (!BoundingBoxOf(ps, box)) {
        *reason = "the EPS file has no bounding box";
        return false;
    }
    const double w = box.urx - box.llx, h = box.ury - box.lly;
    if (ppi < 1 || w / 72.0 * ppi * (h / 72.0 * ppi) > kMaxPixels) {
        *reason = "the bounding box is too large to render";
        return false;
    }

    // The file runs as a page-layout program places an EPS graphic: its own
    // showpage disabled, its stacks and state restored afterwards.
    char page[128], origin[64];
    std::snprintf(page, sizeof page, "<< /PageSize [%.4f %.4f] /HWResolution [%d %d] >> setpagedevice\n", w, h, ppi,
                  ppi);
    std::snprintf(origin, sizeof origin, "initgraphics %.4f %.4f translate\n", -box.llx, -box.lly);
    std::string program;
    program +=
        "/VGLproofState save def /VGLproofDicts countdictstack def /VGLproofOps count 1 sub def\n"
        "userdict begin /showpage {} def 0 setgray 0 setlinecap 1 setlinewidth 0 setlinejoin "
        "10 setmiterlimit [] 0 setdash newpath\n";
    program += ps;
    program +=
        "\ncount VGLproofOps sub {pop} repeat countdictstack VGLproofDicts sub {end} repeat "
        "VGLproofState restore showpage\n";

    const Lease lease;
    Interpreter& gs = *lease;
    if (!Start(gs, reason)) return false;
    // The page device is set up again only when the page changes: in a series
    // every file has the same one.
    std::string setup = origin;
    if (gs.page != page) {
        gs.page = page;
        setup.insert(0, page);
    }
    program.insert(0, setup);
    gs.shown.clear();
    gs.err.clear();
    const bool ran = Run(gs, program);
    if (!ran) {
        // A PostScript error leaves the interpreter in an unknown state.
        Drop(gs);
        *reason = "Ghostscript could not render the file";
        const std::size_t at = gs.err.find("Error:");
        if (at != std::string::npos) *reason += ": " + gs.err.substr(at, gs.err.find('\n', at) - at);
        return false;
    }
    if (gs.shown.size() != 1) {
        *reason = "Ghostscript rendered no page";
        return false;
    }
    image = std::move(gs.shown.front());
    gs.shown.clear();
    return true;
}

bool RenderPdfFile(const std::string& path, int ppi, GreyImage& image, std::string* reason) {
    std::string ignored;
    if (!reason) reason = &ignored;
    RegularFile file;
    if (!file.Open(path, reason)) return false;
    char head[5] = {};
    if (file.ReadAt(0, head, 5) != 5 || std::string_view(head, 5) != "%PDF-") {
        *reason = "not a PDF file";
        return false;
    }
    const Lease lease;
    Interpreter& gs = *lease;
    // A PDF file is read by an interpreter of its own, which may open only that
    // file; the EPS interpreter is made again by the next EPS proof.
    Drop(gs);
    if (!Prepare(gs, reason, true)) return false;
    std::unique_lock<std::mutex> life(LifeMutex());
    void* instance = nullptr;
    if (gs.lib->newInstance(&instance, &gs) < 0) {
        *reason = "Ghostscript's interpreter could not be started";
        return false;
    }
    gs.lib->setStdio(instance, NoInput, Out, Err);
    const std::string output = "-sOutputFile=" + gs.folder + "/%d.pgm";
    const std::string resolution = "-r" + std::to_string(ppi);
    const char* args[] = {"vglyph",          "-q",
                          "-dSAFER",         "-dNOPAUSE",
                          "-dBATCH",         "-dNOPROMPT",
                          "-dQUIET",         "-dUseCropBox",
                          "-dFirstPage=1",   "-dLastPage=1",
                          "-dUseFastColor",  "-dNOINTERPOLATE",
                          "-sDEVICE=pgmraw", resolution.c_str(),
                          output.c_str(),    "-f",
                          path.c_str()};
    TakePages(gs);
    gs.err.clear();
    const int code = gs.lib->initWithArgs(instance, static_cast<int>(std::size(args)), const_cast<char**>(args));
    const int exitCode = gs.lib->exit(instance);
    gs.lib->deleteInstance(instance);
    life.unlock();
    const std::vector<std::string> pages = TakePages(gs);
    if ((code < 0 && code != gs_error_Quit) || exitCode < 0 || pages.empty() || !ParsePgm(pages.front(), image)) {
        *reason = "Ghostscript could not render the file";
        const std::size_t at = gs.err.find("Error");
        if (at != std::string::npos) *reason += ": " + gs.err.substr(at, gs.err.find('\n', at) - at);
        return false;
    }
    return true;
}

}  // namespace vg
