// The numbered string table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/apptitle.h"
#include "model/messages.h"

namespace vg {

// The stored text of a string id (UTF-8), or nothing when the id is not in the table.
std::optional<std::string> FindString(int id);

// Every id of the table, in stored order.
std::vector<int> StringIds();

// Loads a string for the user (in English when English texts are on); when it is
// missing shows "Error Loading String: %d" with the id and returns the fallback.
std::string LoadString(int id, const std::string& fallback = std::string());

// Shows a box whose caption and text come from the string table.
MsgResult ShowStringMessage(int captionId, int textId, MsgIcon icon = MsgIcon::Exclamation,
                            MsgButtons buttons = MsgButtons::Ok);

// As LoadString, but always the stored text: for what goes into drawings and files.
std::string LoadStoredString(int id, const std::string& fallback = std::string());

// English texts: the stored Chinese texts of the string table, the menus and the
// dialogs are shown in English. Off by default; stored file contents never change.
void SetEnglishTexts(bool on);
bool EnglishTexts();

// The text to show for a stored text: its English when English texts are on and
// one is known (a text without one of its own has its known phrases replaced),
// otherwise the text itself.
std::string UiText(std::string_view stored);
// As UiText, but only a text known as a whole is replaced (names chosen by the
// user, such as font families, are left as they are).
std::string UiTextExact(std::string_view stored);
// Every stored text with an English one, in table order.
std::vector<std::pair<std::string_view, std::string_view>> EnglishTextTable();

// Profile key of the switch (an integer, 0 or 1).
inline constexpr const char* kEnglishTextsKey = "EnglishTexts";

}  // namespace vg
