// The update check's judgement of the server's reply, apart from the network.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vg {

inline constexpr const char* kCannotCheckUpdates = "Cannot check for updates at this time.";
inline constexpr const char* kNewerVersionAvailable =
    "Newer version is available for download. Would you like to go to the upgrade page now?";
inline constexpr const char* kUpToDate = "Your product is up-to-date.";
// The running version, compared with the reply's.
inline constexpr double kRunningVersion = 6.02;
// The reply is read until it holds this many characters.
inline constexpr std::size_t kUpdateReplyLimit = 1024;

enum class UpdateVerdict { CannotCheck, Newer, UpToDate };

struct UpdateJudgement {
    UpdateVerdict verdict = UpdateVerdict::CannotCheck;
    std::optional<std::string> message;  // the server's message, shown before the verdict (8-bit text)
};

// Judges an HTTP status and the reply's text: characters 11 to 16 the latest
// version, 17 "M" when a message follows from 18 up to "-->".
UpdateJudgement JudgeUpdateReply(int status, std::string_view text);

// Shows the judgement in message boxes (caption the application title, no icon);
// Yes to the newer version calls openUpgradePage.
void ShowUpdateJudgement(const UpdateJudgement& judgement, const std::function<void()>& openUpgradePage);

}  // namespace vg
