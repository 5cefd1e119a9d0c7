// Names typed by a person find what the program shows: effects, keys, key codes, functions.

#include "model/name_lookup.h"
#include "model/window_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orvo {
namespace {

TEST(NameLookup, EffectsAreFoundByTheirListNameWhateverTheCaseAndAccentsOrByCode) {
    struct Row {
        std::u16string typed;
        std::optional<int> effect; // of the effect list
        std::optional<int> palm;   // of the palm-rest list
    };
    const Row rows[] = {
        {u"Modo onda", 3, 3}, // the palm rest's "Modo onda-Plam Rest" without its ending
        {u"  modo   ONDA ", 3, 3},
        {u"iluminacion fija", 1, 0},
        {u"ILUMINACIÓN FIJA", 1, 0},
        {u"Onda de color único", 11, 2},
        {u"modo onda de color unico", 5, std::nullopt},
        {u"Perfil de iluminación 5", 55, std::nullopt},
        {u"Onda de color único-Plam Rest", std::nullopt, 2},
        {u"13", 13, std::nullopt},
        {u"3", 3, 3},
        {u"7", std::nullopt, std::nullopt}, // no effect has code 7
        {u"onda", std::nullopt, std::nullopt},
        {u"", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.typed.begin(), row.typed.end()));
        const auto effect = FindEffect(row.typed);
        const auto palm = FindPalmEffect(row.typed);
        EXPECT_EQ(effect ? std::optional<int>(*effect) : std::nullopt, row.effect);
        EXPECT_EQ(palm ? std::optional<int>(*palm) : std::nullopt, row.palm);
    }
}

TEST(NameLookup, KeysAreFoundByTheKeyTableTheirPictureLabelOrIndex) {
    struct Row {
        std::u16string typed;
        std::optional<std::size_t> key;  // key index
        std::optional<unsigned> keyCode; // virtual-key code
    };
    const Row rows[] = {
        {u"A", 63, 0x41},
        {u"a", 63, 0x41},
        {u"F5", 5, 0x74},
        {u"LCtrl", 95, 0xA2},
        {u"Enter", 54, 0x0D}, // the main Enter, not the keypad's (94, 0x6C)
        {u"-", 31, 0xBD},     // the main block's minus, not the keypad's (40, 0x6D)
        {u"/", 88, 0xBF},
        {u".", 87, 0xBE},
        {u"1-num", 91, 0x61},
        {u"Apps", 101, 0x5D}, // key 100 carries the same code but is the Fn key
        {u"Fn", 100, std::nullopt},
        {u"S1", 108, std::nullopt},
        {u"MsLB", std::nullopt, 0xF0},
        {u"volume up", 19, 0xAF},
        {u"#94", 94, 0x6C},
        {u"#113", 113, std::nullopt}, // a key without a code of its own
        {u"#121", std::nullopt, std::nullopt},
        {u"Nope", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.typed.begin(), row.typed.end()));
        EXPECT_EQ(FindKeyIndex(row.typed), row.key);
        const auto code = FindKeyCode(row.typed);
        EXPECT_EQ(code ? std::optional<unsigned>(*code) : std::nullopt, row.keyCode);
    }
}

TEST(NameLookup, EveryKeyIsListedUnderANameThatFindsItAgain) {
    for (std::size_t k = 0; k < kKeyCount; ++k)
        EXPECT_EQ(FindKeyIndex(KeyIndexName(k)), k) << k;
    EXPECT_EQ(KeyIndexName(63), u"A");
    EXPECT_EQ(KeyIndexName(94), u"#94");
}

TEST(NameLookup, FunctionsAreFoundByTheirLabelButGroupsAreNot) {
    EXPECT_EQ(FindFunctionByName(u"copiar")->label, u"Copiar");
    EXPECT_EQ(FindFunctionByName(u"VOL-")->label, u"Vol-");
    EXPECT_EQ(FindFunctionByName(u"pagina principal")->label, u"Página principal");
    EXPECT_EQ(FindFunctionByName(u"Multimedia"), nullptr);
    EXPECT_EQ(FindFunctionByName(u"Windows"), nullptr);
}

} // namespace
} // namespace orvo
