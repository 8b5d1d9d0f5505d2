#include "model/messages.h"

#include <cstdio>

#include "model/apptitle.h"

namespace vg {
namespace {

class StderrSink : public MessageSink {
public:
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon, MsgButtons buttons) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgResult::Yes;
        case MsgButtons::RetryCancel: return MsgResult::Retry;
        default: return MsgResult::Ok;
        }
    }
};

StderrSink defaultSink;
MessageSink* currentSink = nullptr;

}  // namespace

void SetMessageSink(MessageSink* sink) { currentSink = sink; }

MessageSink* CurrentMessageSink() { return currentSink ? currentSink : &defaultSink; }

MsgResult ShowMessage(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) {
    return CurrentMessageSink()->Show(caption.empty() ? kAppTitle : caption, text, icon, buttons);
}

}  // namespace vg
