#include "dialogs/seriesmodel.h"

#include <cstdio>

#include "model/messages.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "output/batchstate.h"
#include "output/series.h"

namespace vg {
namespace {

constexpr int64_t kInt32Max = 2147483647;

// Message and caption ids of the checks.
constexpr SerialCheckFailure kStartNotNumeric{61248, 61247, serialctl::kStart};
constexpr SerialCheckFailure kStartRange{61249, 61247, serialctl::kStart};
constexpr SerialCheckFailure kStopNotNumeric{61251, 61250, serialctl::kStop};
constexpr SerialCheckFailure kStopRange{61397, 61250, serialctl::kStop};
constexpr SerialCheckFailure kStartAboveStop{61252, 61250, serialctl::kStop};
constexpr SerialCheckFailure kNoMatchMain{61253, 61245, serialctl::kStart};
constexpr SerialCheckFailure kNoMatchAddOn{61392, 61245, serialctl::kStart};
constexpr SerialCheckFailure kTooMany{61255, 61250, serialctl::kStop};

bool OnlyDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

void Show(const SerialCheckFailure& f) { ShowStringMessage(f.caption, f.message, MsgIcon::Stop); }

}  // namespace

void SeriesModel::Open() {
    const SettingsRecord& s = SymbolSettings;
    m_addOn = s.SerialAddOn == 1;
    const bool hasMain = s.OriginalMainText[0] != 0, hasAddOn = s.AddOnText[0] != 0;
    if (SeriesArmed == 1 && s.SerialBefore + s.SerialStart + s.SerialAfter == SeriesReferenceText(m_addOn)) {
        m_addOnEnabled = hasAddOn || (!hasMain && s.CouponFormatUPCpartText[0]);
        m_mainEnabled = hasMain || !hasAddOn;
        m_reference = SeriesReferenceText(m_addOn);
        m_before = s.SerialBefore;
        m_start = s.SerialStart;
        m_after = s.SerialAfter;
        m_stop = s.SerialStop;
        m_step = std::to_string(s.SerialIncrement >= 1 && s.SerialIncrement <= 999 ? s.SerialIncrement : 1);
        UpdateCount(false);
        if (m_start.empty()) m_count.assign(1, '1');
        m_focus = serialctl::kStart;
        return;
    }
    Fill();
}

void SeriesModel::SelectPart(bool addOn) {
    if (addOn ? !m_addOnEnabled : !m_mainEnabled) return;
    m_addOn = addOn;
    Fill();
}

void SeriesModel::Fill() {
    const SettingsRecord& s = SymbolSettings;
    const bool hasMain = s.OriginalMainText[0] != 0, hasAddOn = s.AddOnText[0] != 0;
    std::string text;
    bool addOnAlone = false;
    m_mainEnabled = true;
    m_addOnEnabled = hasAddOn;
    if (hasMain) {
        m_addOn = m_addOn && hasAddOn;
        text = std::string(m_addOn ? TextOf(s.AddOnText) : TextOf(s.OriginalMainText));
        addOnAlone = m_addOn;
    } else if (hasAddOn) {
        text = std::string(TextOf(s.AddOnText));
        m_addOn = true;
        addOnAlone = true;
        m_mainEnabled = false;
    } else {
        // A coupon: either of its parts; nothing else: an empty counter.
        m_addOnEnabled = s.CouponFormatUPCpartText[0] != 0;
        m_addOn = m_addOn && m_addOnEnabled;
        text = std::string(m_addOn ? TextOf(s.CouponFormat128partText) : TextOf(s.CouponFormatUPCpartText));
    }
    m_reference = text;
    if (text.size() > 5 && !addOnAlone) {
        m_before = text.substr(0, text.size() - 5);
        m_start = text.substr(text.size() - 5);
    } else {
        m_before.clear();
        m_start = text;
    }
    m_after.clear();
    m_stop = m_start;
    m_step.assign(1, '1');
    m_count.assign(1, '1');
    m_focus = serialctl::kStart;
}

std::string SeriesModel::ReferenceLabel() const {
    if (m_reference.size() <= 20) return m_reference;
    std::string label = "...";
    label.append(m_reference, m_reference.size() - 17, 17);
    return label;
}

const std::string& SeriesModel::Text(int id) const {
    static const std::string none;
    switch (id) {
    case serialctl::kBefore: return m_before;
    case serialctl::kStart: return m_start;
    case serialctl::kAfter: return m_after;
    case serialctl::kStep: return m_step;
    case serialctl::kStop: return m_stop;
    case serialctl::kCount: return m_count;
    default: return none;
    }
}

std::optional<SerialCheckFailure> SeriesModel::EditChecks(bool withMatch) const {
    if (!OnlyDigits(m_start)) return kStartNotNumeric;
    if (SerialNumber(m_start) >= kInt32Max) return kStartRange;
    if (!OnlyDigits(m_stop)) return kStopNotNumeric;
    if (SerialNumber(m_stop) >= kInt32Max) return kStopRange;
    if (withMatch && m_before + m_start + m_after != m_reference) return m_addOn ? kNoMatchAddOn : kNoMatchMain;
    if (!m_start.empty() && !m_stop.empty()) {
        const int64_t step = SerialNumber(m_step) > 0 ? SerialNumber(m_step) : 1;
        if ((SerialNumber(m_stop) - SerialNumber(m_start)) / step + 1 > kMaxSeriesFiles) return kTooMany;
    }
    return std::nullopt;
}

void SeriesModel::UpdateCount(bool withMatch) {
    m_count.clear();
    if (m_start.empty() || m_stop.empty() || EditChecks(withMatch)) return;
    const int64_t step = SerialNumber(m_step) > 0 ? SerialNumber(m_step) : 1;
    const int64_t count = (SerialNumber(m_stop) - SerialNumber(m_start)) / step + 1;
    if (count > 0) m_count = std::to_string(count);
}

void SeriesModel::Edit(int id, const std::string& text, bool quiet) {
    switch (id) {
    case serialctl::kBefore: m_before = text; return;  // no checks run for Before
    case serialctl::kStart: m_start = text; break;
    case serialctl::kAfter: m_after = text; break;
    case serialctl::kStop: m_stop = text; break;
    default: return;
    }
    const bool withMatch = id == serialctl::kStart || id == serialctl::kAfter;
    // The message checks, then the silent match for Start and After.
    if (std::optional<SerialCheckFailure> f = EditChecks(false); f && !quiet) Show(*f);
    UpdateCount(withMatch);
}

void SeriesModel::EditStep(const std::string& text, bool quiet) {
    if (text.empty()) {
        m_step.assign(1, '1');
    } else if (!OnlyDigits(text) || text.size() > 3) {
        return;  // the previous step stays
    } else {
        if (SerialNumber(text) == 0)
            m_step.assign(1, '1');
        else
            m_step = text;
    }
    if (std::optional<SerialCheckFailure> f = EditChecks(false); f && !quiet) Show(*f);
    UpdateCount(false);
}

std::optional<SerialCheckFailure> SeriesModel::Ok() {
    std::optional<SerialCheckFailure> f;
    if (!OnlyDigits(m_start))
        f = kStartNotNumeric;
    else if (SerialNumber(m_start) >= kInt32Max)
        f = kStartRange;
    else if (!OnlyDigits(m_stop))
        f = kStopNotNumeric;
    else if (SerialNumber(m_stop) >= kInt32Max)
        f = kStopRange;
    else if (!m_start.empty() && (m_stop.empty() || SerialNumber(m_stop) < SerialNumber(m_start)))
        f = kStartAboveStop;
    else if (m_before + m_start + m_after != m_reference)
        f = m_addOn ? kNoMatchAddOn : kNoMatchMain;
    else
        f = EditChecks(false);
    if (f) {
        Show(*f);
        m_focus = f->focus;
        return f;
    }
    SettingsRecord& s = SymbolSettings;
    s.SerialBefore = m_before;
    s.SerialStart = m_start;
    s.SerialAfter = m_after;
    s.SerialStop = m_stop;
    s.SerialIncrement = static_cast<int32_t>(SerialNumber(m_step) > 0 ? SerialNumber(m_step) : 1);
    s.SerialMain = m_addOn ? 0 : 1;
    s.SerialAddOn = m_addOn ? 1 : 0;
    SeriesArmed = m_start != m_stop ? 1 : 0;
    return std::nullopt;
}

}  // namespace vg
