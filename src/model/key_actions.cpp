#include "model/key_actions.h"

#include <algorithm>

#include "model/key_tables.h"
#include "model/utf16.h"

namespace orvo {

namespace {
std::span<std::uint8_t> PathField(std::array<std::uint8_t, kKeyActionRecordSize>& bytes) {
    return std::span(bytes).subspan(record::path, 2 * record::pathUnits);
}
} // namespace

std::u16string KeyActionRecord::path() const {
    return ReadUtf16Le(std::span(bytes).subspan(record::path, 2 * record::pathUnits),
                       record::pathUnits - 1);
}

void KeyActionRecord::setPath(std::u16string_view path) {
    WriteUtf16Le(PathField(bytes), path);
}

void KeyActionRecord::clearAssignment() {
    std::fill(bytes.begin() + record::kind, bytes.begin() + record::path, std::uint8_t{0});
}

void KeyActionTable::clear() {
    for (KeyActionRecord& r : m_records)
        r.bytes.fill(0);
    reseedDefaultCodes();
}

void KeyActionTable::reseedDefaultCodes() {
    for (std::size_t k = 0; k < kMainKeyCount; ++k)
        m_records[k].setKeyCode(DefaultCodeOf(k));
}

void KeyActionTable::serialiseInto(std::span<std::uint8_t, kKeyActionTableSize> out) const {
    auto it = out.begin();
    for (const KeyActionRecord& r : m_records)
        it = std::copy(r.bytes.begin(), r.bytes.end(), it);
}

void KeyActionTable::parse(std::span<const std::uint8_t> in) {
    in = in.first(std::min(in.size(), kKeyActionTableSize));
    for (std::size_t k = 0; k < kKeyActionCount; ++k) {
        std::array<std::uint8_t, kKeyActionRecordSize>& bytes = m_records[k].bytes;
        bytes.fill(0);
        const std::size_t from = k * kKeyActionRecordSize;
        if (from >= in.size())
            continue;
        const auto part = in.subspan(from, std::min(kKeyActionRecordSize, in.size() - from));
        std::copy(part.begin(), part.end(), bytes.begin());
    }
}

const KeyActionRecord* KeyActionTable::findHostAction(std::uint8_t keyCode) const {
    for (const KeyActionRecord& r : m_records) {
        if (r.keyCode() == keyCode && IsHostSideKind(r.kind()))
            return &r;
    }
    return nullptr;
}

} // namespace orvo
