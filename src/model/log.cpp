#include "model/log.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace orvo {

namespace {
std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}
LogSink& Sink() {
    static LogSink sink;
    return sink;
}

void Emit(LogLevel level, std::string_view line) {
    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(level, line);
        return;
    }
    std::fprintf(stderr, "%s%.*s\n", level == LogLevel::Warning ? "warning: " : "",
                 static_cast<int>(line.size()), line.data());
}
} // namespace

LogSink SetLogSink(LogSink sink) {
    std::lock_guard lock(SinkMutex());
    return std::exchange(Sink(), std::move(sink));
}

void LogTrace(std::string_view line) {
    Emit(LogLevel::Trace, line);
}
void LogWarning(std::string_view line) {
    Emit(LogLevel::Warning, line);
}

} // namespace orvo
