#include "model/function_table.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

struct TreeRow {
    TreePosition position;
    std::u16string_view label;
    bool group;
    FunctionEntryBytes entry;
};

// The function tree as the "Basic" page offers it, row by row.
constexpr TreeRow kFunctionTree[] = {
    {{1, 0}, u"Buscar", false, {0, 0xE3, 0x09, 0}},
    {{2, 0}, u"Operación", false, {0, 0xE3, 0x15, 0}},
    {{3, 0}, u"Multimedia", true, {}},
    {{3, 1}, u"Reproductor multimedia", false, {3, 0, 0x83, 0x01}},
    {{3, 2}, u"Anterior", false, {3, 0, 0xB6, 0}},
    {{3, 3}, u"Siguiente", false, {3, 0, 0xB5, 0}},
    {{3, 4}, u"Reproducir/Pausar", false, {3, 0, 0xCD, 0}},
    {{3, 5}, u"Detener", false, {3, 0, 0xB7, 0}},
    {{3, 6}, u"Vol+", false, {3, 0, 0xE9, 0}},
    {{3, 7}, u"Vol-", false, {3, 0, 0xEA, 0}},
    {{3, 8}, u"Silenciar", false, {3, 0, 0xE2, 0}},
    {{4, 0}, u"Tecla de acceso rápido", true, {}},
    {{4, 1}, u"Nuevo", false, {0, 0xE0, 0x11, 0}},
    {{4, 2}, u"Cortar", false, {0, 0xE0, 0x1B, 0}},
    {{4, 3}, u"Copiar", false, {0, 0xE0, 0x06, 0}},
    {{4, 4}, u"Pegar", false, {0, 0xE0, 0x19, 0}},
    {{4, 5}, u"Guardar", false, {0, 0xE0, 0x16, 0}},
    {{4, 6}, u"Imprimir", false, {0, 0xE0, 0x13, 0}},
    {{4, 7}, u"Seleccionar todo", false, {0, 0xE0, 0x04, 0}},
    {{5, 0}, u"Windows", true, {}},
    {{5, 1}, u"Maximizar", false, {0, 0xE2, 0x2C, 0x1B}},
    {{5, 2}, u"Minimizar", false, {0, 0xE2, 0x2C, 0x11}},
    {{6, 0}, u"Mi PC", false, {3, 0, 0x94, 0x01}},
    {{7, 0}, u"Administrador de tareas", false, {0, 0xE0, 0xE2, 0x4C}},
    {{8, 0}, u"Página principal", false, {3, 0, 0x23, 0x02}},
    {{9, 0}, u"Ventana de Windows", false, {0, 0xE2, 0x3D, 0}},
};

TEST(FunctionTable, MatchesTheTreeWhole) {
    ASSERT_EQ(std::size(kFunctionTree), FunctionTable.size());
    for (std::size_t i = 0; i < FunctionTable.size(); ++i) {
        const TreeRow& want = kFunctionTree[i];
        const FunctionRow& row = FunctionTable[i];
        EXPECT_EQ(row.position, want.position) << i;
        EXPECT_EQ(row.label, want.label) << i;
        EXPECT_EQ(row.isGroup, want.group) << i;
        EXPECT_EQ(row.entry, want.entry) << i; // a group's bytes are zero
    }
}

TEST(FunctionTable, LookupsFindEveryFunctionAndNoGroup) {
    for (const TreeRow& want : kFunctionTree) {
        const FunctionRow* byLabel = FindFunctionByLabel(want.label);
        EXPECT_EQ(IsFunctionGroupLabel(want.label), want.group);
        if (want.group) {
            EXPECT_EQ(byLabel, nullptr);
            continue;
        }
        ASSERT_NE(byLabel, nullptr);
        EXPECT_EQ(FindFunctionByEntry(want.entry), byLabel);
    }
    // The bytes are compared as a whole: "Vol-" with another last byte is no function.
    const FunctionEntryBytes almostVolDown{3, 0, 0xEA, 1};
    EXPECT_EQ(FindFunctionByEntry(almostVolDown), nullptr);
    EXPECT_EQ(FindFunctionByEntry(FunctionEntryBytes{}), nullptr);
    EXPECT_EQ(FindFunctionByLabel(u""), nullptr);
    EXPECT_EQ(FindFunctionByLabel(u"vol-"), nullptr);
}

TEST(FunctionTable, TreeChoiceSelectsTheItemAndExpandsItsGroup) {
    struct Row {
        std::u16string_view chosen;
        std::u16string_view selected; // empty for none
        std::u16string_view expanded; // empty for none
    };
    const Row rows[] = {
        {u"Vol-", u"Vol-", u"Multimedia"},
        {u"Minimizar", u"Minimizar", u"Windows"},
        {u"Mi PC", u"Mi PC", u""},
        {u"", u"", u""},
    };
    const auto label = [](int row) {
        return row < 0 ? std::u16string_view{} : FunctionTable[static_cast<std::size_t>(row)].label;
    };
    for (const Row& r : rows) {
        const FunctionTreeChoice choice = TreeChoiceFor(r.chosen);
        EXPECT_EQ(label(choice.selectedRow), r.selected);
        EXPECT_EQ(label(choice.expandedGroupRow), r.expanded);
    }
}

} // namespace
} // namespace orvo
