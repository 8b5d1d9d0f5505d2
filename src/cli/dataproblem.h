// A refused main data text said in plain words, as command-line users expect:
// the wrong check digit and the right one, the refused character and its
// place, the length the variation takes.
#pragma once

#include <string>

#include "model/messages.h"
#include "output/generate.h"

namespace vg::cli {

// Holds the messages of a step (those with an OK button only: questions
// still reach the previous sink at once) until Replay(); dropped otherwise.
class HeldMessages : public MessageSink {
public:
    HeldMessages();
    ~HeldMessages() override;
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    void Replay();
    // Whether a held message is one of the input format's refusals.
    bool ShowedFormatMessage() const;

private:
    struct Held {
        std::string caption, text;
        MsgIcon icon;
    };
    MessageSink* m_previous;
    std::vector<Held> m_held;
    bool m_active = true;
};

// Prepares the request's symbol as PrepareSymbol does; a main data text the
// variation's format refuses is reported in plain words instead of the
// application's message box text.
GenerationResult PrepareSymbolSayingWhy(const GenerationRequest& request);

// The message sink of the tool: "caption: text" on standard error,
// without the application's pointers to on-line help.
void InstallToolMessageSink();

}  // namespace vg::cli
