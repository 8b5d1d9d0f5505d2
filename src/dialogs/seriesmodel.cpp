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
    addOn_ = s.SerialAddOn == 1;
    const bool hasMain = s.OriginalMainText[0] != 0, hasAddOn = s.AddOnText[0] != 0;
    if (SeriesArmed == 1 && s.SerialBefore + s.SerialStart + s.SerialAfter == SeriesReferenceText(addOn_)) {
        addOnEnabled_ = hasAddOn || (!hasMain && s.CouponFormatUPCpartText[0]);
        mainEnabled_ = hasMain || !hasAddOn;
        reference_ = SeriesReferenceText(addOn_);
        before_ = s.SerialBefore;
        start_ = s.SerialStart;
        after_ = s.SerialAfter;
        stop_ = s.SerialStop;
        step_ = std::to_string(s.SerialIncrement >= 1 && s.SerialIncrement <= 999 ? s.SerialIncrement : 1);
        UpdateCount(false);
        if (start_.empty()) count_.assign(1, '1');
        focus_ = serialctl::kStart;
        return;
    }
    Fill();
}

void SeriesModel::SelectPart(bool addOn) {
    if (addOn ? !addOnEnabled_ : !mainEnabled_) return;
    addOn_ = addOn;
    Fill();
}

void SeriesModel::Fill() {
    const SettingsRecord& s = SymbolSettings;
    const bool hasMain = s.OriginalMainText[0] != 0, hasAddOn = s.AddOnText[0] != 0;
    std::string text;
    bool addOnAlone = false;
    mainEnabled_ = true;
    addOnEnabled_ = hasAddOn;
    if (hasMain) {
        addOn_ = addOn_ && hasAddOn;
        text = std::string(addOn_ ? TextOf(s.AddOnText) : TextOf(s.OriginalMainText));
        addOnAlone = addOn_;
    } else if (hasAddOn) {
        text = std::string(TextOf(s.AddOnText));
        addOn_ = true;
        addOnAlone = true;
        mainEnabled_ = false;
    } else {
        // A coupon: either of its parts; nothing else: an empty counter.
        addOnEnabled_ = s.CouponFormatUPCpartText[0] != 0;
        addOn_ = addOn_ && addOnEnabled_;
        text = std::string(addOn_ ? TextOf(s.CouponFormat128partText) : TextOf(s.CouponFormatUPCpartText));
    }
    reference_ = text;
    if (text.size() > 5 && !addOnAlone) {
        before_ = text.substr(0, text.size() - 5);
        start_ = text.substr(text.size() - 5);
    } else {
        before_.clear();
        start_ = text;
    }
    after_.clear();
    stop_ = start_;
    step_.assign(1, '1');
    count_.assign(1, '1');
    focus_ = serialctl::kStart;
}

std::string SeriesModel::ReferenceLabel() const {
    if (reference_.size() <= 20) return reference_;
    std::string label = "...";
    label.append(reference_, reference_.size() - 17, 17);
    return label;
}

const std::string& SeriesModel::Text(int id) const {
    static const std::string none;
    switch (id) {
    case serialctl::kBefore: return before_;
    case serialctl::kStart: return start_;
    case serialctl::kAfter: return after_;
    case serialctl::kStep: return step_;
    case serialctl::kStop: return stop_;
    case serialctl::kCount: return count_;
    default: return none;
    }
}

std::optional<SerialCheckFailure> SeriesModel::EditChecks(bool withMatch) const {
    if (!OnlyDigits(start_)) return kStartNotNumeric;
    if (SerialNumber(start_) >= kInt32Max) return kStartRange;
    if (!OnlyDigits(stop_)) return kStopNotNumeric;
    if (SerialNumber(stop_) >= kInt32Max) return kStopRange;
    if (withMatch && before_ + start_ + after_ != reference_) return addOn_ ? kNoMatchAddOn : kNoMatchMain;
    if (!start_.empty() && !stop_.empty()) {
        const int64_t step = SerialNumber(step_) > 0 ? SerialNumber(step_) : 1;
        if ((SerialNumber(stop_) - SerialNumber(start_)) / step + 1 > kMaxSeriesFiles) return kTooMany;
    }
    return std::nullopt;
}

void SeriesModel::UpdateCount(bool withMatch) {
    count_.clear();
    if (start_.empty() || stop_.empty() || EditChecks(withMatch)) return;
    const int64_t step = SerialNumber(step_) > 0 ? SerialNumber(step_) : 1;
    const int64_t count = (SerialNumber(stop_) - SerialNumber(start_)) / step + 1;
    if (count > 0) count_ = std::to_string(count);
}

void SeriesModel::Edit(int id, const std::string& text, bool quiet) {
    switch (id) {
    case serialctl::kBefore: before_ = text; return;  // no checks run for Before
    case serialctl::kStart: start_ = text; break;
    case serialctl::kAfter: after_ = text; break;
    case serialctl::kStop: stop_ = text; break;
    default: return;
    }
    const bool withMatch = id == serialctl::kStart || id == serialctl::kAfter;
    // The message checks, then the silent match for Start and After.
    if (std::optional<SerialCheckFailure> f = EditChecks(false); f && !quiet) Show(*f);
    UpdateCount(withMatch);
}

void SeriesModel::EditStep(const std::string& text, bool quiet) {
    if (text.empty()) {
        step_.assign(1, '1');
    } else if (!OnlyDigits(text) || text.size() > 3) {
        return;  // the previous step stays
    } else {
        if (SerialNumber(text) == 0)
            step_.assign(1, '1');
        else
            step_ = text;
    }
    if (std::optional<SerialCheckFailure> f = EditChecks(false); f && !quiet) Show(*f);
    UpdateCount(false);
}

std::optional<SerialCheckFailure> SeriesModel::Ok() {
    std::optional<SerialCheckFailure> f;
    if (!OnlyDigits(start_))
        f = kStartNotNumeric;
    else if (SerialNumber(start_) >= kInt32Max)
        f = kStartRange;
    else if (!OnlyDigits(stop_))
        f = kStopNotNumeric;
    else if (SerialNumber(stop_) >= kInt32Max)
        f = kStopRange;
    else if (!start_.empty() && (stop_.empty() || SerialNumber(stop_) < SerialNumber(start_)))
        f = kStartAboveStop;
    else if (before_ + start_ + after_ != reference_)
        f = addOn_ ? kNoMatchAddOn : kNoMatchMain;
    else
        f = EditChecks(false);
    if (f) {
        Show(*f);
        focus_ = f->focus;
        return f;
    }
    SettingsRecord& s = SymbolSettings;
    s.SerialBefore = before_;
    s.SerialStart = start_;
    s.SerialAfter = after_;
    s.SerialStop = stop_;
    s.SerialIncrement = static_cast<int32_t>(SerialNumber(step_) > 0 ? SerialNumber(step_) : 1);
    s.SerialMain = addOn_ ? 0 : 1;
    s.SerialAddOn = addOn_ ? 1 : 0;
    SeriesArmed = start_ != stop_ ? 1 : 0;
    return std::nullopt;
}

}  // namespace vg
