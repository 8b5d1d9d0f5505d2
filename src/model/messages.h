// Modal message boxes, behind an interface so the core can run without a GUI.
#pragma once

#include <string>

namespace vg {

enum class MsgIcon { None, Stop, Exclamation, Question, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgResult { Ok, Cancel, Yes, No, Retry };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) = 0;
};

// Installs the sink that shows boxes (nullptr: the default sink, which writes the
// message to standard error and answers with the first button).
void SetMessageSink(MessageSink* sink);
MessageSink* CurrentMessageSink();

// Shows a box; an empty caption takes the application title.
MsgResult ShowMessage(const std::string& caption, const std::string& text, MsgIcon icon = MsgIcon::Exclamation,
                      MsgButtons buttons = MsgButtons::Ok);

}  // namespace vg
