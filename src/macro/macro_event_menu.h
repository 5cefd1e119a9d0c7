#pragma once
// The menu the right button opens over the macro manager's event list: record one key before
// or after the selected event, insert a mouse-button press, release or click, give the next
// event a delay, delete. Each action carries its command number (MacroEditor::menuCommand).

#include "model/macro_editor.h"

#include <array>
#include <cstdint>
#include <string_view>

class QMenu;
class QWidget;

namespace orvo {

// The pop-up that holds one pop-up per mouse button.
inline constexpr std::u16string_view kMouseFunctionsCaption = u"Insentar función del mouse";

struct EventMenuItem {
    std::u16string_view button; // the mouse button's pop-up, empty at the top level
    std::u16string_view caption;
    std::uint16_t command;
};

// In menu order; the mouse buttons' pop-ups sit where their first item is.
inline constexpr std::array<EventMenuItem, 13> kEventMenuItems{{
    {u"", u"Grabar antes", macro_menu::recordBefore},
    {u"", u"Grabar después", macro_menu::recordAfter},
    {u"Click izquierdo", u"Abajo", kMouseCommands[0].command},
    {u"Click izquierdo", u"Arriba", kMouseCommands[1].command},
    {u"Click izquierdo", u"Click", kMouseCommands[2].command},
    {u"Botón derecho del ratón", u"Abajo", kMouseCommands[3].command},
    {u"Botón derecho del ratón", u"Arriba", kMouseCommands[4].command},
    {u"Botón derecho del ratón", u"Click", kMouseCommands[5].command},
    {u"Clic central", u"Abajo", kMouseCommands[6].command},
    {u"Clic central", u"Arriba", kMouseCommands[7].command},
    {u"Clic central", u"Click", kMouseCommands[8].command},
    {u"", u"Insert Delay", macro_menu::insertDelay},
    {u"", u"Delete", macro_menu::deleteLine},
}};

// The menu, owned by `parent`; every action's data() is its command number.
QMenu* CreateEventMenu(QWidget* parent);

} // namespace orvo
