#pragma once

#include <string>
#include <vector>

#include "dib/message_sink.h"

// Every message shown while run runs, as "caption: text".
template <typename Run>
std::vector<std::string> MessagesOf(Run run) {
    std::vector<std::string> messages;
    const MessageSink previous = SetMessageSink([&](std::string_view caption, std::string_view text) {
        messages.push_back(std::string(caption) + ": " + std::string(text));
    });
    run();
    SetMessageSink(previous);
    return messages;
}
