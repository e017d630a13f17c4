#include "dib/message_sink.h"

#include <cstdio>
#include <utility>

namespace {

MessageSink& InstalledSink() {
    static MessageSink sink;
    return sink;
}

}  // namespace

MessageSink SetMessageSink(MessageSink sink) {
    return std::exchange(InstalledSink(), std::move(sink));
}

void ShowMessage(std::string_view caption, std::string_view text) {
    if (const MessageSink& sink = InstalledSink()) {
        sink(caption, text);
    } else {
        WriteMessageLine(caption, text);
    }
}

void WriteMessageLine(std::string_view caption, std::string_view text) {
    // One write, with no allocation: the line also reports memory running out.
    const bool newline = text.empty() || text.back() != '\n';
    std::fprintf(stderr, "%.*s: %.*s%s", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data(), newline ? "\n" : "");
    std::fflush(stderr);
}
