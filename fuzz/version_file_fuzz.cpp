// "VER.bin" is shipped beside the program, but any file can stand in its place: parse anything.
// Whatever it holds, the version offered is made of two digits.

#include "model/config_files.h"
#include "model/log.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvo::SetLogSink([](orvo::LogLevel, std::string_view) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orvo::OfferedVersion v = orvo::ParseVersionFile(std::span(data, size));
    if (v.major > 9 || v.minor > 9)
        std::abort();
    return 0;
}
