#pragma once
// A small tree writer with two renderings of the same content: indented readable text and
// JSON. The dump describes a file once through this interface, so both forms always agree.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvo::cli {

class DumpWriter {
public:
    virtual ~DumpWriter() = default;
    // key is ignored inside arrays.
    virtual void beginObject(std::string_view key) = 0;
    virtual void endObject() = 0;
    virtual void beginArray(std::string_view key) = 0;
    virtual void endArray() = 0;
    virtual void number(std::string_view key, std::int64_t value) = 0;
    virtual void boolean(std::string_view key, bool value) = 0;
    virtual void string(std::string_view key, std::string_view utf8) = 0;
    // The finished document.
    virtual std::string finish() = 0;
};

std::unique_ptr<DumpWriter> MakeTextWriter();
std::unique_ptr<DumpWriter> MakeJsonWriter();

// JSON string body for UTF-8 text: quotes, backslashes, C0 and C1 controls, bidirectional
// controls and line separators escaped; bytes that are not UTF-8 become \ufffd.
std::string JsonEscape(std::string_view utf8);

} // namespace orvo::cli
