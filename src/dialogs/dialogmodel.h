// What the option dialogs share: a refusal with its message and the field
// that gets the focus, and the text forms of lengths in the unit of measure.
#pragma once

#include <optional>
#include <string>

#include "model/charset.h"
#include "model/messages.h"

namespace vg {

struct DialogProblem {
    int field = 0;  // control that gets the focus, its text selected
    std::string caption;
    std::string text;
    MsgIcon icon = MsgIcon::Stop;
};
using DialogCheck = std::optional<DialogProblem>;

// Shows the problem through the message sink.
void ShowProblem(const DialogProblem& p);

// A string-table text with %1 and %2 replaced.
std::string StringWith(int id, const std::string& one, const std::string& two = std::string());
DialogProblem Problem(int field, int captionId, int textId, MsgIcon icon = MsgIcon::Stop);
// 61223 "Out of range: %1 . . %2".
DialogProblem RangeProblem(int field, int captionId, const std::string& low, const std::string& high);
// 61221 "You cannot enter more than %1 characters in this field.", exclamation icon.
DialogProblem TooLongProblem(int field, int captionId, int limit);

std::string Printf(const char* format, double value);
// "%f" of a length in the unit.
std::string UnitText(int unit, double points);
// Six decimals, printed with seven and the last dropped.
std::string SixDecimals(int unit, double points);
// A length text in the unit; a text that still equals the stored value
// printed with "%f" gives the stored value exactly.
double ReadLength(int unit, const std::string& text, double stored);

// Forms of a typed number.
// Digits with at most one "." (and a leading "-" when signed): 0 when so,
// else the string id of the message: 61216 for a second "." or a misplaced
// "-", 61222 for another character.
int DecimalFormProblem(const std::string& text, bool signedForm);

// Name of a unit of measure from the string table (61236 for inches; the text
// dialog uses 61232).
std::string UnitName(int unit, int inchesId = 61236);

}  // namespace vg
