// The parts of the connection that work on the application's configuration state.

#include "device/connection.h"

#include "device/read_back.h"
#include "device/table_transfers.h"
#include "model/config_files.h"
#include "model/config_state.h"
#include "model/keyboard_groups.h"
#include "model/log.h"
#include "model/window_messages.h"

namespace orvo {

namespace {

// What the host keeps about the keys goes back to the factory state along with the keyboard.
void ResetHostKeyState(ConfigState& state) {
    state.customisedKeys.fill(0);
    std::ranges::fill(state.image[field::keyEnableMask], 0xFF);
    state.keyActions.clear(); // zero, then the default codes re-seeded
}

} // namespace

ConnectResult DeviceConnection::Connect(ConfigState& state, MessageSink& sink) {
    ConnectResult result;
    {
        std::lock_guard lock(m_stateMutex);
        m_sink = &sink;
    }
    result.commandOpen = OpenCommandInterface(&result.error);
    if (result.commandOpen && !m_readBackStarted)
        StartReadBackThread(state, sink);
    std::string inputError;
    result.inputOpen = OpenInputInterface(&inputError);
    if (result.inputOpen)
        StartListenerThread(sink);
    else if (result.error.empty())
        result.error = inputError;
    return result;
}

void DeviceConnection::StartReadBackThread(ConfigState& state, MessageSink& sink) {
    m_readBackStarted = true;
    m_readBackThread = std::thread([this, &state, &sink] {
        const bool ok = RunCommands([&](CommandChannel& ch) {
            if (!ReadBackSequence(ch, state.image, state.firmware))
                return false;
            state.firmwareRead = true;
            state.deviceSnapshot = state.image;
            m_keyboardRead = true;
            return true;
        });
        if (!ok)
            LogWarning("read-back failed: the keyboard did not answer every request");
        // Sent with the command interface released, so the handler may issue commands.
        sink.Send(WM_READBACK_DONE, 0, 0);
    });
}

ArrivalResult DeviceConnection::OnArrival(ConfigState& state) {
    ArrivalResult result;
    m_pacer.Sleep(pause::kArrivalSettle);
    std::unique_lock lock(m_commandMutex);
    if (m_command)
        return result;
    if (!OpenCommandLocked(&result.error)) {
        lock.unlock();
        // The keyboard's loader announces itself on interface 2 with its own product ID; the
        // next arrival of the keyboard proper restores the factory state.
        if (FindKeyboardInterface(m_bus, kLoaderInterfaceMatch, kKeyboardLoaderProductId))
            m_resetPending = true;
        return result;
    }
    result.reopened = true;
    lock.unlock();

    if (m_resetPending) {
        const ResetResult reset = ResetAndReload(state);
        result.factoryReset = true;
        result.transfersOk = reset.transfersOk;
        if (!reset.error.empty())
            result.error = reset.error;
    }
    m_resetPending = false;

    const bool ok = RunCommands([&](CommandChannel& ch) {
        // Read into a copy of what the keyboard last reported: the image may hold edits the
        // user has not saved yet, and they must survive the unplug.
        SettingsImage read = state.deviceSnapshot;
        bool good = FullReadBack(ch, read);
        for (std::size_t t = 0; t < kCustomLightingTableCount; ++t)
            good = ReadCustomLightingTable(ch, read, t) && good;
        FirmwareVersion version;
        good = ReadFirmwareVersion(ch, version) && good;
        if (good) {
            if (m_keyboardRead)
                MergeKeyboardValues(state.image, state.deviceSnapshot, read);
            else
                state.image = read; // nothing to tell edits by: all of it is the keyboard's
            m_keyboardRead = true;
            state.firmware = version;
            // The snapshot now is what the keyboard reported, so the next Save sends exactly
            // the edits kept above.
            state.deviceSnapshot = read;
        }
        // A keyboard that came back (perhaps from the updater) may run other firmware: only a
        // version read now counts.
        state.firmwareRead = good;
        return good;
    });
    result.transfersOk = ok && result.transfersOk;

    if (!inputOpen() && OpenInputInterface(nullptr)) {
        MessageSink* sink = nullptr;
        {
            std::lock_guard stateLock(m_stateMutex);
            sink = m_sink;
        }
        if (sink && !m_listenerRunning)
            StartListenerThread(*sink);
        result.readBackDone = true;
    }
    return result;
}

ResetResult DeviceConnection::ResetAndReload(ConfigState& state) {
    ResetResult result;
    SettingsImage read = state.image;
    result.transfersOk = RunCommands([&](CommandChannel& ch) {
        const bool reset = ResetToFactoryDefaults(ch);
        return FullReadBack(ch, read) && reset;
    });
    if (!result.transfersOk) {
        result.error = commandOpen() ? "the keyboard did not answer the factory reset"
                                     : "keyboard not connected";
        return result;
    }
    state.image = read;
    m_keyboardRead = true;
    ResetHostKeyState(state);
    const FileResult saved = SaveKeymapFile(state);
    result.keymapWritten = saved.ok;
    if (saved.ok) {
        CommitSnapshot(state);
    } else {
        result.error = saved.error;
    }
    return result;
}

} // namespace orvo
