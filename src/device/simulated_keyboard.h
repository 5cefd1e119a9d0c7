#pragma once
// A simulated keyboard: a complete stand-in for the firmware, living in a folder so that the
// program and orvoctl can be used and tested without hardware.
//   keyboard.bin  the keyboard's memory, kept across runs (factory state when missing)
//   trace.log     one line per transfer: "<ms> <op> <bytes>"
//   unplugged     while it exists the keyboard is absent
//   input         each line appended ("02 41") arrives as input report 04 02 41 00
//   keyboard.lock taken by the program and orvoctl around each command sequence (device_lock.h)

#include "device/hid.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace orvo {

inline constexpr std::string_view kSimulatorMemoryFile = "keyboard.bin";
inline constexpr std::string_view kSimulatorTraceFile = "trace.log";
inline constexpr std::string_view kSimulatorUnpluggedFile = "unplugged";
inline constexpr std::string_view kSimulatorInputFile = "input";

// Paths the simulated interfaces are opened by; their match texts carry "mi_03" and "col04".
inline constexpr std::string_view kSimulatorCommandPath = "sim:vid_04d9&pid_a12e&mi_03";
inline constexpr std::string_view kSimulatorInputPath = "sim:vid_04d9&pid_a12e&mi_02&col04";

// Opens the simulated keyboard in `dir`, creating the folder when missing. Null (with `error`
// set) when the folder cannot be created.
std::unique_ptr<HidBus> OpenSimulatorBus(const std::filesystem::path& dir, std::string& error);

} // namespace orvo
