#pragma once
// The macro manager without its window: the private working copy of the macro store, the
// macro list and the event list with their selections, the working event streams, the two
// options, the repeat count text, recording and single insertion. The dialog passes every
// click, menu command, list notification and hooked key stroke here and, after each call,
// shows what this object holds: the lists, the tick boxes, the record button's text, the
// repeat count text (and its enabled state), and installs or removes the keyboard hook so
// that it is in place exactly while hookInstalled() is set.
//
// The event list is always the listing of the working display stream, so the lines the user
// sees and the lines the stream walk counts never disagree, whatever an edit did to the
// stream (a full stream drops what is pushed past its end).

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/macro_events.h"
#include "model/macro_keys.h"
#include "model/macro_model.h"
#include "model/notice.h"

namespace orvo {

inline constexpr std::u16string_view kMacroCaption = u"Gestión de macros";
inline constexpr std::u16string_view kConfirmDeleteMacroText =
    u"¿Desea eliminar la macro seleccionada?";
inline constexpr std::u16string_view kNoMacroToDeleteText =
    u"Seleccione un archivo macro para eliminarlo";
inline constexpr std::u16string_view kNoMacroToRecordText =
    u"Seleccione un archivo Macro para grabar";
inline constexpr std::u16string_view kEditCurrentDelayText = u"Editar el retraso actual";
// Ours: an empty name would end the list in the file and on the keyboard.
inline constexpr std::u16string_view kEmptyMacroNameText =
    u"El nombre de la macro no puede estar vacío";
inline constexpr std::u16string_view kStartRecordingText = u"Empezar a grabar";
inline constexpr std::u16string_view kStopRecordingText = u"Para de grabar";

inline constexpr std::size_t kRepeatTextMaxLength = 3;

// Commands of the event list's menu.
namespace macro_menu {
inline constexpr std::uint16_t recordBefore = 32790; // "Grabar antes"
inline constexpr std::uint16_t recordAfter = 32791;  // "Grabar después"
inline constexpr std::uint16_t insertDelay = 32793;  // "Insert Delay"
inline constexpr std::uint16_t deleteLine = 32815;   // "Delete"
} // namespace macro_menu

enum class MouseInsert : std::uint8_t { Press, Release, Click };

// The mouse-button commands of the event menu: what each inserts (the same code in both
// streams; a click is a press followed by a release).
struct MouseCommand {
    std::uint16_t command;
    std::uint8_t key; // 0xF0 left, 0xF1 right, 0xF2 middle button
    MouseInsert what;
};
inline constexpr std::array<MouseCommand, 9> kMouseCommands{{
    {32800, 0xF0, MouseInsert::Press},
    {32801, 0xF0, MouseInsert::Release},
    {32802, 0xF0, MouseInsert::Click},
    {32804, 0xF1, MouseInsert::Press},
    {32806, 0xF1, MouseInsert::Release},
    {32807, 0xF1, MouseInsert::Click},
    {32811, 0xF2, MouseInsert::Press},
    {32812, 0xF2, MouseInsert::Release},
    {32813, 0xF2, MouseInsert::Click},
}};

class MacroEditor {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The clock measures the delays between recorded key strokes.
    explicit MacroEditor(Clock clock = &std::chrono::steady_clock::now);

    // ---- Opening and closing ------------------------------------------------------------

    // Starts from a copy of the store: lists every named slot (slots are packed first, so a
    // list position is always its slot number), selects and shows the first macro. Recording,
    // single insertion, the hook and both options are off.
    void open(const MacroStore& store);
    // OK: the hook goes, a looping macro takes the repeat count text, and the working copy
    // replaces the store.
    void accept(MacroStore& store);
    // Cancelar and the close box: the hook goes; the store is left as it is.
    void dismiss();
    // Where each macro of the store given to open() is now (see RenumberMacroKeys), so that
    // keys playing a macro follow it when an earlier one was deleted.
    MacroRenumbering renumbering() const;

    // ---- What the dialog shows ----------------------------------------------------------

    const MacroStore& workingCopy() const { return m_work; }
    const std::vector<std::u16string>& macroNames() const { return m_names; }
    std::optional<std::size_t> selectedMacro() const { return m_selectedMacro; }
    const std::vector<std::u16string>& eventLines() const { return m_lines; }
    std::optional<std::size_t> selectedLine() const { return m_selectedLine; }
    const std::u16string& repeatText() const { return m_repeatText; }
    const EventStream& deviceEvents() const { return m_device; }
    const EventStream& displayEvents() const { return m_display; }

    bool delayOption() const { return m_delayOption; }
    bool loopOption() const { return m_loopOption; } // the repeat count edit is enabled
    bool recording() const { return m_recording; }
    bool insertMode() const { return m_insertMode; }
    bool hookInstalled() const { return m_hookInstalled; } // the dialog wants the hook
    std::size_t insertLine() const { return m_insertLine; }
    std::size_t writePos() const { return m_writePos; }
    std::size_t eventCount() const { return m_eventCount; }
    const std::u16string& lastEventText() const { return m_lastEventText; }
    std::u16string_view recordButtonText() const;

    // ---- The macro list -----------------------------------------------------------------

    // A selection change: shows the macro's options, repeat count and events. A pending
    // single insertion ends, since its line belonged to the list being replaced.
    void selectMacro(std::optional<std::size_t> index);
    // "Nuevo": a new empty macro with the first free name, selected; nothing at 32 macros.
    void newMacro();
    // "Borrar": asks first, then deletes the selected macro; later macros move up a slot.
    Notice deleteMacro(const Confirm& confirm);
    // A name edited in place in the macro list: stored at once, cut to 254 characters (and at
    // a NUL). An empty name is refused and the list keeps the old one.
    Notice renameMacro(std::size_t index, std::u16string_view name);

    // ---- Options ------------------------------------------------------------------------

    // The record button: starts a new recording of the selected macro or stops it.
    Notice toggleRecording();
    void toggleDelayOption();
    // Turning the loop off sets the repeat count text to "1".
    void toggleLoopOption();
    // The repeat count edit changed: "0" and empty become "1"; the selected macro takes the
    // value. Returns the text the edit must show.
    const std::u16string& editRepeatText(std::u16string_view text);

    // ---- Key strokes from the hook --------------------------------------------------------

    // A key press or release reported by the hook (virtual-key code): recorded, or inserted
    // by a pending single insertion; the selected macro is then committed.
    void hookEvent(std::uint8_t keyCode, bool released);
    // The dialog could not install the hook for recording: key strokes will not arrive.
    void hookInstallFailed();

    // ---- The event list -----------------------------------------------------------------

    void selectLine(std::optional<std::size_t> line);
    // A command of the event menu (macro_menu or kMouseCommands); unknown ones do nothing.
    Notice menuCommand(std::uint16_t command);
    // "Grabar antes" / "Grabar después": the next key stroke goes before or after the
    // selected event.
    void recordBefore();
    void recordAfter();
    void insertMouse(std::uint8_t key, MouseInsert what);
    // Gives the event after the selected key line a delay of 50 ms.
    Notice insertDelay();
    // Deletes the selected key line's event, or only the selected delay line's delay.
    void deleteLine();
    // A delay line edited in place to `value` ms (2..60000).
    void editDelay(std::size_t line, int value);
    // An in-place edit starts in either list: recording stops and the hook goes.
    void editBegin();

private:
    void showSelectedMacro();
    void loadStreams(const MacroRecord& macro);
    void relist();
    void commit();
    void afterEdit();
    void endInsertion();
    void releaseHook();
    void record(std::uint8_t keyCode, bool released);
    void insertStroke(std::uint8_t keyCode, bool released);
    void setRepeatText(std::u16string text);
    std::uint16_t repeatValue() const;
    bool isDelayLine(std::size_t line) const;
    EventStreams streams() { return {m_device, m_display}; }

    Clock m_clock;
    MacroStore m_work;
    std::vector<std::u16string> m_names;
    // Per list position: the macro's slot in the store open() was given; none for a new one.
    std::vector<std::optional<std::size_t>> m_origins;
    std::size_t m_openedSlots = 0; // slots up to the last named one in that store
    std::optional<std::size_t> m_selectedMacro;
    std::vector<std::u16string> m_lines;
    std::optional<std::size_t> m_selectedLine;
    EventStream m_device{};
    EventStream m_display{};
    std::u16string m_repeatText = u"1";
    bool m_delayOption = false;
    bool m_loopOption = false;
    bool m_recording = false;
    bool m_insertMode = false;
    bool m_hookInstalled = false;
    std::size_t m_insertLine = 0;
    std::size_t m_writePos = 0;
    std::size_t m_eventCount = 0;
    std::u16string m_lastEventText;
    std::chrono::steady_clock::time_point m_lastStroke{};
};

} // namespace orvo
