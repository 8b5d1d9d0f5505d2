#include "cli/dataproblem.h"

#include <cstdio>
#include <algorithm>
#include <deque>
#include <optional>
#include <set>
#include <utility>

#include "entry/formatengine.h"
#include "model/catalogue.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "model/strings.h"

namespace vg::cli {
namespace {

// Fewest characters that take the automaton from state to acceptance; -1: none do.
int CharactersMissing(const FormatRecord& f, int state) {
    const int symbols = std::min<int>(f.symbolCount, kMaxFormatSymbols);
    const int rows = std::min<int>(f.stateCount, kMaxFormatStates + 1);
    std::deque<std::pair<int, int>> queue{{state, 0}};
    std::set<int> seen{state};
    while (!queue.empty()) {
        const auto [s, depth] = queue.front();
        queue.pop_front();
        if (IsAcceptingState(f, s)) return depth;
        const int row = s < 0 ? -s : s;
        if (row >= rows) continue;
        for (int sym = 0; sym < symbols; ++sym) {
            const int next = f.next[sym][row];
            if (next == 0 || next == -1 || !seen.insert(next).second) continue;
            queue.emplace_back(next, depth + 1);
        }
    }
    return -1;
}

// A text as UTF-8, control bytes as \xHH.
std::string Shown(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", b);
            shown += escape;
        } else {
            shown += Cp1252ToUtf8(std::string(1, c));
        }
    }
    return shown;
}

// The check digit the variation computes for data, when it computes one.
std::optional<char> ComputedCheck(const GenerationRequest& request, const std::string& data) {
    GenerationRequest probe = request;
    probe.data.main = data;
    HeldMessages quiet;
    if (PrepareSymbol(probe).status != GenerationStatus::Written || !SymbolSettings.CheckCharacter1)
        return std::nullopt;
    return static_cast<char>(SymbolSettings.CheckCharacter1);
}

std::string PlainProblem(const GenerationRequest& request, const VariationInfo& v, const std::string& data) {
    const FormatRecord* f = FindFormat(v.code, FieldRole::Main);
    if (!f) return {};
    const std::string name = Shown(FindString(v.nameId).value_or(v.name));
    std::size_t at = 0;
    const int state = RunFormat(*f, data, &at);
    const std::size_t length = data.size();
    if (state != 0 && length <= f->maxLength) {
        if (IsAcceptingState(*f, state)) return {};
        const int missing = CharactersMissing(*f, state);
        if (missing <= 0) return {};
        return "too short: " + name + " takes " + std::to_string(length + static_cast<std::size_t>(missing)) +
               (length + missing < f->maxLength ? " or more" : "") + " characters here, " + std::to_string(length) +
               " given";
    }
    // One digit past a complete text: the check digit the variation computes itself.
    const std::string head = data.substr(0, f->maxLength);
    if (length == f->maxLength + 1u && IsAcceptingState(*f, RunFormat(*f, head)) && data.back() >= '0' &&
        data.back() <= '9') {
        if (const std::optional<char> check = ComputedCheck(request, head)) {
            if (*check != data.back())
                return std::string("invalid check digit '") + data.back() + "', expecting '" + *check + "'";
            return "the check digit '" + std::string(1, *check) + "' is computed: give the first " +
                   std::to_string(f->maxLength) + " digits";
        }
    }
    if (state == 0 && at < f->maxLength) {
        return "character '" + Shown(data.substr(at, 1)) + "' at position " + std::to_string(at + 1) +
               " is not accepted by " + name;
    }
    return "too long: " + name + " takes at most " + std::to_string(f->maxLength) + " characters, " +
           std::to_string(length) + " given";
}

class ToolSink : public MessageSink {
public:
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon, MsgButtons buttons) override {
        std::string shown = text;
        // The application's pointer to its help means nothing here.
        const std::size_t help = shown.find("Consult on-line Help");
        if (help != std::string::npos) shown.erase(shown.find_last_not_of(' ', help - 1) + 1);
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), shown.c_str());
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgResult::Yes;
        case MsgButtons::RetryCancel: return MsgResult::Retry;
        default: return MsgResult::Ok;
        }
    }
};

}  // namespace

HeldMessages::HeldMessages() : m_previous(CurrentMessageSink()) { SetMessageSink(this); }

HeldMessages::~HeldMessages() {
    if (m_active) SetMessageSink(m_previous);
}

MsgResult HeldMessages::Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) {
    if (buttons != MsgButtons::Ok) return m_previous->Show(caption, text, icon, buttons);
    m_held.push_back({caption, text, icon});
    return MsgResult::Ok;
}

bool HeldMessages::ShowedFormatMessage() const {
    // Incorrect input, input too long, incomplete input.
    for (const Held& h : m_held)
        for (int id : {61260, 61263, 61388})
            if (h.text == LoadString(id)) return true;
    return false;
}

void HeldMessages::Replay() {
    if (m_active) SetMessageSink(m_previous);
    m_active = false;
    for (const Held& h : m_held) m_previous->Show(h.caption, h.text, h.icon, MsgButtons::Ok);
    m_held.clear();
}

GenerationResult PrepareSymbolSayingWhy(const GenerationRequest& request) {
    HeldMessages held;
    GenerationResult r = PrepareSymbol(request);
    if (r.status == GenerationStatus::Refused && r.shown && r.variation && request.data.main &&
        held.ShowedFormatMessage()) {
        const VariationInfo variation = *r.variation;
        const std::string plain = PlainProblem(request, variation, *request.data.main);
        if (!plain.empty()) {
            // The record as the refused data left it.
            PrepareSymbol(request);
            r.message = plain;
            r.shown = true;
            std::fprintf(stderr, "vglyph: %s\n", plain.c_str());
            return r;
        }
    }
    held.Replay();
    return r;
}

void InstallToolMessageSink() {
    static ToolSink sink;
    SetMessageSink(&sink);
}

}  // namespace vg::cli
