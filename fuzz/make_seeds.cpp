// Writes the fuzz targets' seed files, so every run starts from inputs of full size that reach
// every part of each parser: files as the program writes them and the keyboard's answers as the
// simulated keyboard gives them.
//   make_seeds OUT_DIR VER_BIN    writes OUT_DIR/<target>/<seed>

#include "fuzz_device.h"

#include "cli/profile_json.h"
#include "device/feature_report.h"
#include "device/simulated_keyboard.h"
#include "model/config_files.h"
#include "model/key_tables.h"
#include "model/log.h"
#include "model/macro_model.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

using namespace orvo;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path g_out;

void Seed(const char* target, const char* name, std::span<const std::uint8_t> bytes) {
    fs::create_directories(g_out / target);
    std::ofstream(g_out / target / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void Seed(const char* target, const char* name, std::string_view text) {
    Seed(target, name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// A simulated keyboard in a fresh folder, in its factory state.
struct Simulator {
    fs::path dir = fs::temp_directory_path() / ("orvo-seeds-" + std::to_string(::getpid()));
    std::unique_ptr<HidBus> bus;
    Simulator() {
        fs::remove_all(dir);
        std::string error;
        bus = OpenSimulatorBus(dir, error);
        if (!bus) {
            std::fprintf(stderr, "make_seeds: %s\n", error.c_str());
            std::exit(1);
        }
    }
    ~Simulator() { fs::remove_all(dir); }
};

// Records what a keyboard answers in the form FuzzDevice and FuzzBus read back (fuzz_device.h).
class Transcript {
public:
    void Control(std::uint8_t c) { m_bytes.push_back(c); }
    void Answer(std::span<const std::uint8_t> b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
    }
    const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes;
};

class TranscribedDevice final : public HidDevice {
public:
    TranscribedDevice(std::unique_ptr<HidDevice> inner, Transcript& t)
        : m_inner(std::move(inner)), m_t(t) {}
    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) override {
        const bool ok = m_inner->SetFeature(r);
        m_t.Control(ok ? 0 : fuzz::kCallFails);
        return ok;
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) override {
        const bool ok = m_inner->GetFeature(r);
        m_t.Control(ok ? 0 : fuzz::kCallFails);
        if (ok)
            m_t.Answer(r);
        return ok;
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> p) override {
        const bool ok = m_inner->Write(p);
        m_t.Control(ok ? 0 : fuzz::kCallFails);
        return ok;
    }
    ReadResult Read(std::span<std::uint8_t> b, int timeoutMs) override {
        const ReadResult r = m_inner->Read(b, timeoutMs);
        m_t.Control(r.ok()                             ? 0
                    : r.status == ReadStatus::TimedOut ? fuzz::kReadTimesOut
                                                       : fuzz::kCallFails);
        if (r.ok())
            m_t.Answer(b);
        return r;
    }

private:
    std::unique_ptr<HidDevice> m_inner;
    Transcript& m_t;
};

class TranscribedBus final : public HidBus {
public:
    TranscribedBus(HidBus& inner, Transcript& t) : m_inner(inner), m_t(t) {}
    std::vector<HidInterfaceInfo> Enumerate() override {
        auto found = m_inner.Enumerate();
        m_t.Control(found.empty() ? fuzz::kKeyboardGone : 0);
        return found;
    }
    OpenResult Open(const std::string& path) override {
        OpenResult r = m_inner.Open(path);
        if (r.device)
            r.device = std::make_unique<TranscribedDevice>(std::move(r.device), m_t);
        return r;
    }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback, std::string& error) override {
        error = "not while recording";
        return nullptr;
    }

private:
    HidBus& m_inner;
    Transcript& m_t;
};

// The start-up read-back, a Save of three edits and two returns of the keyboard.
void DeviceAnswers() {
    Simulator sim;
    Transcript t;
    TranscribedBus bus(*sim.bus, t);
    RecordingPacer pacer;
    auto state = std::make_unique<ConfigState>();
    state->keymapWriteBlocked = true;
    const Bytes edits{3, // three edits: brightness 20, a colour slot byte, a macro block byte
                      0x1C, 0x1D, 20, 0x20, 0x1D, 0x80, 0x20, 0x05, 0x07};
    std::size_t next = 0;
    fuzz::RunDeviceScenario(
        bus, pacer, *state,
        [&] {
            const std::uint8_t b = next < edits.size() ? edits[next++] : 0;
            t.Control(b); // the edits sit in the stream where the scenario reads them
            return b;
        },
        [&](bool present) {
            const fs::path unplugged = sim.dir / kSimulatorUnpluggedFile;
            if (present)
                fs::remove(unplugged);
            else
                std::ofstream(unplugged).put('\n');
        });
    Seed("device_answers_fuzz", "readback-save-replug.bin", t.bytes());
}

// "keymap.bin" after the first start against a factory keyboard, and one a user has worked on.
void Profiles() {
    Simulator sim;
    auto command = sim.bus->Open(std::string(kSimulatorCommandPath)).device;
    RecordingPacer pacer;
    CommandChannel ch{*command, pacer};
    auto image = std::make_unique<SettingsImage>();
    FirmwareVersion firmware;
    ReadBackSequence(ch, *image, firmware);
    auto table = std::make_unique<KeyActionTable>();
    table->clear();
    Seed("profile_file_fuzz", "factory.bin", SerialiseProfile(*image, *table));

    image->byte(field::lightingEffect) = kFirstCustomEffect + 2;
    image->byte(field::winLock) = 1;
    for (std::size_t i = 0; i < kCustomLightingTableSize; i += 4)
        image->customLightingTable(2)[i + 1] = static_cast<std::uint8_t>(i);
    const auto entry = [&](std::size_t key, std::initializer_list<std::uint8_t> bytes) {
        std::ranges::copy(bytes, KeyMapEntry(*image, SlotOf(key)).begin());
    };
    entry(10, {4, 1, 0, 0});                    // a macro
    entry(11, {3, 0, 0xCD, 0x00});              // play/pause
    entry(12, {0x0A, 0, DefaultCodeOf(12), 0}); // a host-side action
    entry(13, {0, 0xE0, 0x06, 0});              // Ctrl+C
    (*table)[10].setKind(AssignmentKind::Macro);
    (*table)[11].setKind(AssignmentKind::Function);
    (*table)[12].setKind(AssignmentKind::RunProgram);
    (*table)[12].setPath(u"/usr/bin/xterm -e top");
    (*table)[13].setKind(AssignmentKind::Combination);
    SetKeySlotEnabled(*image, SlotOf(20), false);
    const Bytes customised = SerialiseProfile(*image, *table);
    Seed("profile_file_fuzz", "customised.bin", customised);
    Seed("profile_json_fuzz", "customised.json", *cli::ExportProfileJson(customised));
}

// "MacroDefine.bin" with recorded macros: short and long delays, a repeat count, the delay
// option, and one stream filled to where recording stops.
void Macros() {
    auto store = std::make_unique<MacroStore>();
    MacroRecord& a = (*store)[0];
    a.setName(u"Macro_001");
    a.repeatCount = 1;
    AppendEvent(a.streams(), 'A', false, 1);
    AppendEvent(a.streams(), 'A', true, 300);
    MacroRecord& b = (*store)[1];
    b.setName(u"Combinación ñ");
    b.repeatCount = 5;
    b.flags = kDelayOptionFlag;
    AppendEvent(b.streams(), 0xA2, false, 1); // left Ctrl
    AppendEvent(b.streams(), 'C', false, 126);
    AppendEvent(b.streams(), 'C', true, 127);
    AppendEvent(b.streams(), 0xA2, true, 60000);
    MacroRecord& c = (*store)[2];
    c.setName(std::u16string(254, u'x'));
    c.repeatCount = 999;
    for (int i = 0; AppendEvent(c.streams(), static_cast<std::uint8_t>('0' + i % 10), i % 2,
                                static_cast<std::uint16_t>(i * 37 % 400)) != 0;
         ++i) {
    }
    Seed("macro_file_fuzz", "recorded.bin", store->serialise());
}

void Simulated() {
    Simulator sim;
    auto command = sim.bus->Open(std::string(kSimulatorCommandPath)).device;
    const FeatureReport reset =
        MakeFeatureReport(cmd::kResetToFactoryDefaults, {{2, kFactoryResetParameter}});
    command->SetFeature(reset.bytes); // writes keyboard.bin
    std::ifstream in(sim.dir / kSimulatorMemoryFile, std::ios::binary);
    const Bytes memory{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Bytes seed{static_cast<std::uint8_t>(memory.size()),
               static_cast<std::uint8_t>(memory.size() >> 8)};
    seed.insert(seed.end(), memory.begin(), memory.end());
    const std::string lines = "02 41\n04 10\n02 0d\nnot a report\n02 4\n01 02 03\n02 20";
    seed.insert(seed.end(), lines.begin(), lines.end());
    Seed("simulator_fuzz", "factory-and-keys.bin", seed);
}

void Small(const fs::path& versionFile) {
    std::ifstream in(versionFile, std::ios::binary);
    const Bytes version{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Seed("version_file_fuzz", "VER.bin", version);

    // Input reports: control byte 0 and four report bytes each; 0xFE is a time-out.
    Seed("input_report_fuzz", "keys.bin",
         Bytes{0, 4, 2, 0x41, 0, 0, 4, 4, 0x10, 0, fuzz::kReadTimesOut, 0, 4, 2, 0x0D, 0});

    // A keyboard interface with four top-level collections, as the input interface has.
    Bytes descriptor;
    for (std::uint8_t id = 1; id <= 4; ++id) {
        const Bytes collection{0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, id,   0x15, 0x00,
                               0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x03, 0x81, 0x00, 0xC0};
        descriptor.insert(descriptor.end(), collection.begin(), collection.end());
    }
    Seed("report_descriptor_fuzz", "four-collections.bin", descriptor);

    const std::pair<const char*, std::string_view> lines[] = {
        {"dump", std::string_view("dump\0p.bin", 10)},
        {"dump-json", std::string_view("dump\0MacroDefine.bin\0--json", 28)},
        {"apply", std::string_view("apply\0p.bin\0--trace", 19)},
        {"listen", std::string_view("listen\0--count\0"
                                    "3",
                                    16)},
        {"read", std::string_view("read\0out.bin", 12)},
        {"info", "info"},
        {"reset", std::string_view("reset\0--bogus", 13)},
    };
    for (const auto& [name, line] : lines)
        Seed("orvoctl_args_fuzz", name, line);

    // The editing commands, as words joined by NUL bytes.
    const std::pair<const char*, std::vector<std::string_view>> commands[] = {
        {"set-effect", {"set", "effect", "modo onda", "--speed", "3", "--no-apply"}},
        {"set-palm", {"set", "palm", "fija", "--colour=12ab3F"}},
        {"key", {"key", "A", "--combo", "LCtrl++", "--no-apply"}},
        {"key-host", {"key", "#63", "--run", "m.txt", "--no-apply"}},
        {"keys", {"keys"}},
        {"colour", {"colour", "A", "S", "ff0000", "--table", "2", "--no-apply"}},
        {"macro-new", {"macro", "new", "Fuego", "--no-apply"}},
        {"macro-set", {"macro", "set", "Fuego", "--repeat", "9", "--delay", "on"}},
        {"macro-import", {"macro", "import", "0", "m.txt", "--no-apply"}},
        {"export", {"export", "p.bin"}},
        {"import", {"import", "p.json", "q.bin"}},
        {"profile", {"profile", "save", "Juego"}},
        {"help", {"key", "--help"}},
    };
    for (const auto& [name, words] : commands) {
        std::string line;
        for (const std::string_view word : words)
            line += std::string(word) + (&word == &words.back() ? "" : std::string(1, '\0'));
        Seed("orvoctl_args_fuzz", name, line);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: make_seeds OUT_DIR VER_BIN\n", stderr);
        return 2;
    }
    SetLogSink([](LogLevel, std::string_view) {});
    g_out = argv[1];
    DeviceAnswers();
    Profiles();
    Macros();
    Simulated();
    Small(argv[2]);
    return 0;
}
