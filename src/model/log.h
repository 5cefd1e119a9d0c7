#pragma once
// One-line trace and warning output of the core. Lines go to stderr unless the program
// installs its own sink (the GUI routes them to a Qt logging category).

#include <functional>
#include <string_view>

namespace orvo {

enum class LogLevel { Trace, Warning };

using LogSink = std::function<void(LogLevel, std::string_view)>;

// Replaces the sink; an empty function restores stderr. Returns the previous sink.
LogSink SetLogSink(LogSink sink);

void LogTrace(std::string_view line);
void LogWarning(std::string_view line);

} // namespace orvo
