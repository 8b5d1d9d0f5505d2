#include "output/generate.h"

#include <cerrno>
#include <cstring>

#include "eps/epsbody.h"
#include "eps/settingsblock.h"
#include "model/messages.h"
#include "model/symbolsettings.h"
#include "output/filenaming.h"
#include "output/metafilewriter.h"

namespace vg {
namespace {

// Passes every box on to the sink in place and keeps the last text.
class CapturingSink : public MessageSink {
public:
    CapturingSink() : m_previous(CurrentMessageSink()) { SetMessageSink(this); }
    ~CapturingSink() override { SetMessageSink(m_previous); }
    CapturingSink(const CapturingSink&) = delete;
    CapturingSink& operator=(const CapturingSink&) = delete;

    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) override {
        last = text;
        return m_previous->Show(caption, text, icon, buttons);
    }

    std::string last;

private:
    MessageSink* m_previous;
};

GenerationResult Refused(std::string message, bool shown) {
    GenerationResult r;
    r.status = GenerationStatus::Refused;
    r.message = std::move(message);
    r.shown = shown;
    return r;
}

}  // namespace

std::string TitleOfPath(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    for (char& c : title)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '!';
    return title;
}

GenerationResult PrepareSymbol(const GenerationRequest& request) {
    std::string reason;
    const VariationInfo* v = LookUpVariation(request.variation, &reason);
    if (!v) return Refused(reason, false);
    ChooseVariation(*v);
    if (request.format) {
        SymbolSettings.Format = *request.format;
    } else if (!request.exportKind) {
        // A metafile or EPS name chooses its format.
        const OutputFormatInfo* f = OutputFormatOfPath(request.path);
        if (f && f->recordFormat >= 0) SymbolSettings.Format = f->recordFormat;
    }
    if (!ApplyFieldSettings(request.overrides, &reason)) return Refused(reason, false);
    CapturingSink sink;
    if (!FeedData(request.data, &reason)) {
        GenerationResult r = reason.empty() ? Refused(sink.last, true) : Refused(reason, false);
        r.variation = v;
        return r;
    }
    GenerationResult r;
    r.status = GenerationStatus::Written;
    r.variation = v;
    return r;
}

GenerationResult WriteCurrentSymbol(const GenerationRequest& request) {
    GenerationResult r;
    r.status = GenerationStatus::NotWritable;
    const int format = SymbolSettings.Format;
    // A PNG, SVG or PDF name asks for that export when no format was named.
    std::optional<ExportKind> exportKind = request.exportKind;
    if (!exportKind && !request.format) exportKind = ExportKindOf(request.path);
    if (!exportKind && (format < 0 || format > 2)) {
        r.message = "Format " + std::to_string(format) + " is none of 0 WMF, 1 EPS, 2 EMF";
        return r;
    }
    if (!exportKind && format == static_cast<int>(OutputFormat::Eps)) {
        // Settings that the file could not hold whole are refused before writing.
        const std::string problem = SettingsBlockProblem(SymbolSettings);
        if (!problem.empty()) return Refused("the settings cannot be saved: " + problem, false);
    }
    r.path = request.path;
    if (r.path.empty()) r.path = ProposedPath(exportKind ? ExportExtension(*exportKind) : FormatExtension(format));
    errno = 0;
    bool written = false;
    std::string reason;
    if (exportKind) {
        written = WriteExportFile(r.path, *exportKind, request.dpi, request.transparent, &reason);
    } else {
        SaveOptions options;
        options.withPreview = request.withPreview;
        options.levelOne = request.levelOne;
        options.title = request.title.empty() ? TitleOfPath(r.path) : request.title;
        written = WriteFormat(r.path, options);
    }
    if (written)
        r.status = GenerationStatus::Written;
    else
        r.message = !reason.empty() ? reason : errno ? std::strerror(errno) : "the file cannot be written";
    return r;
}

GenerationResult Generate(const GenerationRequest& request) {
    GenerationResult prepared = PrepareSymbol(request);
    if (prepared.status != GenerationStatus::Written) return prepared;
    GenerationResult written = WriteCurrentSymbol(request);
    written.variation = prepared.variation;
    return written;
}

}  // namespace vg
