#include "dib/message_sink.h"

#include <cstdio>
#include <string>
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
    std::string line;
    line.reserve(caption.size() + text.size() + 3);
    line.append(caption).append(": ").append(text);
    if (line.back() != '\n') {
        line.push_back('\n');
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
