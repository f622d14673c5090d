// The program's string table: help texts, tool tips and messages, keyed by resource id.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {

// The string with `id`, or nothing.
std::optional<std::string_view> LoadString(int id);

// Every entry, ascending by id.
const std::vector<std::pair<int, std::string_view>>& StringTable();

inline constexpr const char* kNoHelpHere = "No help is available here.";
inline constexpr const char* kHelpNotFound = "Resource Help String: %d  not found";

// What Help says about control `id`: its string when 1002 < id <= 1500 and there is one, the
// not-found text with the id when there is none, and the no-help text for anything else.
std::string HelpText(int id);

} // namespace quorvel
