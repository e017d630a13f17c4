#pragma once

#include <functional>
#include <string_view>

// Where the loader's failure messages go. The viewer installs a modal box
// (beside the line), the loader benchmark silence; the default writes one
// line to standard error.
using MessageSink = std::function<void(std::string_view caption, std::string_view text)>;

// Installs a sink (an empty one restores the default) and returns the one it replaces.
MessageSink SetMessageSink(MessageSink sink);

// Shows one message through the installed sink.
void ShowMessage(std::string_view caption, std::string_view text);

// The default sink: "<caption>: <text>" on standard error, ending in exactly one newline.
void WriteMessageLine(std::string_view caption, std::string_view text);
