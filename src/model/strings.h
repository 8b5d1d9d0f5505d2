// The numbered string table.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vg {

// The stored text of a string id (UTF-8), or nothing when the id is not in the table.
std::optional<std::string> FindString(int id);

// Every id of the table, in stored order.
std::vector<int> StringIds();

// Loads a string; when it is missing shows "Error Loading String: %d" with the id
// and returns the fallback.
std::string LoadString(int id, const std::string& fallback = std::string());

// Application title, the caption of boxes that name none.
inline constexpr const char* kAppTitle = "Vornel Glyph";
inline constexpr const char* kVersionText = "6.02";

}  // namespace vg
