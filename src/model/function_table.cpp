#include "model/function_table.h"

#include <algorithm>

namespace orvo {

namespace {
constexpr std::uint8_t kKeys = 0;     // entry type: up to three device codes
constexpr std::uint8_t kConsumer = 3; // entry type: Consumer page usage, low byte first

constexpr FunctionRow Group(std::uint8_t top, std::u16string_view label) {
    return {{top, 0}, label, true, {}};
}
constexpr FunctionRow Function(std::uint8_t top, std::uint8_t sub, std::u16string_view label,
                               FunctionEntryBytes entry) {
    return {{top, sub}, label, false, entry};
}
} // namespace

const std::array<FunctionRow, kFunctionRowCount> FunctionTable{{
    Function(1, 0, u"Buscar", {kKeys, 0xE3, 0x09, 0}),    // left Win + F
    Function(2, 0, u"Operación", {kKeys, 0xE3, 0x15, 0}), // left Win + R
    Group(3, u"Multimedia"),
    Function(3, 1, u"Reproductor multimedia", {kConsumer, 0, 0x83, 0x01}),
    Function(3, 2, u"Anterior", {kConsumer, 0, 0xB6, 0}),
    Function(3, 3, u"Siguiente", {kConsumer, 0, 0xB5, 0}),
    Function(3, 4, u"Reproducir/Pausar", {kConsumer, 0, 0xCD, 0}),
    Function(3, 5, u"Detener", {kConsumer, 0, 0xB7, 0}),
    Function(3, 6, u"Vol+", {kConsumer, 0, 0xE9, 0}),
    Function(3, 7, u"Vol-", {kConsumer, 0, 0xEA, 0}),
    Function(3, 8, u"Silenciar", {kConsumer, 0, 0xE2, 0}),
    Group(4, u"Tecla de acceso rápido"),
    Function(4, 1, u"Nuevo", {kKeys, 0xE0, 0x11, 0}), // left Ctrl + N
    Function(4, 2, u"Cortar", {kKeys, 0xE0, 0x1B, 0}),
    Function(4, 3, u"Copiar", {kKeys, 0xE0, 0x06, 0}),
    Function(4, 4, u"Pegar", {kKeys, 0xE0, 0x19, 0}),
    Function(4, 5, u"Guardar", {kKeys, 0xE0, 0x16, 0}),
    Function(4, 6, u"Imprimir", {kKeys, 0xE0, 0x13, 0}),
    Function(4, 7, u"Seleccionar todo", {kKeys, 0xE0, 0x04, 0}),
    Group(5, u"Windows"),
    Function(5, 1, u"Maximizar", {kKeys, 0xE2, 0x2C, 0x1B}), // left Alt + Space + X
    Function(5, 2, u"Minimizar", {kKeys, 0xE2, 0x2C, 0x11}), // left Alt + Space + N
    Function(6, 0, u"Mi PC", {kConsumer, 0, 0x94, 0x01}),
    Function(7, 0, u"Administrador de tareas", {kKeys, 0xE0, 0xE2, 0x4C}), // Ctrl + Alt + Del
    Function(8, 0, u"Página principal", {kConsumer, 0, 0x23, 0x02}),
    Function(9, 0, u"Ventana de Windows", {kKeys, 0xE2, 0x3D, 0}), // left Alt + F4
}};

const FunctionRow* FindFunctionByLabel(std::u16string_view label) {
    const auto it = std::ranges::find_if(
        FunctionTable, [&](const FunctionRow& r) { return !r.isGroup && r.label == label; });
    return it == FunctionTable.end() ? nullptr : &*it;
}

const FunctionRow* FindFunctionByEntry(std::span<const std::uint8_t, 4> entry) {
    const auto it = std::ranges::find_if(FunctionTable, [&](const FunctionRow& r) {
        return !r.isGroup && std::ranges::equal(r.entry, entry);
    });
    return it == FunctionTable.end() ? nullptr : &*it;
}

bool IsFunctionGroupLabel(std::u16string_view label) {
    return std::ranges::any_of(FunctionTable,
                               [&](const FunctionRow& r) { return r.isGroup && r.label == label; });
}

int FunctionGroupRowOf(std::size_t row) {
    if (row >= FunctionTable.size() || FunctionTable[row].position.sub == 0)
        return -1;
    const std::uint8_t top = FunctionTable[row].position.top;
    for (std::size_t g = 0; g < FunctionTable.size(); ++g) {
        if (FunctionTable[g].isGroup && FunctionTable[g].position.top == top)
            return static_cast<int>(g);
    }
    return -1;
}

FunctionTreeChoice TreeChoiceFor(std::u16string_view chosenFunction) {
    for (std::size_t row = 0; row < FunctionTable.size(); ++row) {
        if (!chosenFunction.empty() && FunctionTable[row].label == chosenFunction)
            return {static_cast<int>(row), FunctionGroupRowOf(row)};
    }
    return {};
}

} // namespace orvo
