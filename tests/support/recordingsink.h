// Records message boxes instead of showing them; answers from a queue.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "model/messages.h"

namespace vg::test {

struct RecordedMessage {
    std::string caption;
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
};

class RecordingSink : public MessageSink {
public:
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) override {
        messages.push_back({caption, text, icon, buttons});
        if (!answers.empty()) {
            MsgResult r = answers.front();
            answers.pop_front();
            return r;
        }
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
    }
    std::vector<RecordedMessage> messages;
    std::deque<MsgResult> answers;
};

// Installs a recording sink for the lifetime of the object.
class ScopedRecordingSink {
public:
    ScopedRecordingSink() : m_previous(CurrentMessageSink()) { SetMessageSink(&sink); }
    ~ScopedRecordingSink() { SetMessageSink(m_previous); }
    RecordingSink sink;

private:
    MessageSink* m_previous;
};

}  // namespace vg::test
