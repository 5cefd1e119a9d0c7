#include "device/simulated_keyboard.h"

#include "device/feature_report.h"
#include "device/trace.h"
#include "model/atomic_file.h"
#include "model/key_tables.h"
#include "model/log.h"
#include "model/settings_image.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#ifdef __linux__
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvo {

namespace {

namespace fs = std::filesystem;

// The keyboard's memory: every value and table the commands reach, stored as the keyboard
// keeps it (speed and response time as the device values they arrive as).
struct Memory {
    std::array<std::uint8_t, 2> firmware{}; // major, minor
    std::array<std::uint8_t, 1> reportRate{};
    std::array<std::uint8_t, 1> responseTime{};
    std::array<std::uint8_t, 5> lighting{}; // effect, speed (10 - position), brightness,
                                            // colour, direction
    std::array<std::uint8_t, field::colourSlots.size> colourSlots{};
    std::array<std::uint8_t, 1> gameMode{};
    std::array<std::uint8_t, field::palmRest.size> palmRest{};
    std::array<std::uint8_t, field::keyEnableMask.size> keyEnableMask{};
    std::array<std::uint8_t, field::keyMap.size> keyMap{};
    std::array<std::uint8_t, field::macroBlocks.size> macroBlocks{};
    std::array<std::uint8_t, field::customLightingTables.size> customLightingTables{};

    // keyboard.bin is these fields back to back, in this order.
    template <typename F> void ForEachField(F&& f) {
        f(std::span<std::uint8_t>(firmware));
        f(std::span<std::uint8_t>(reportRate));
        f(std::span<std::uint8_t>(responseTime));
        f(std::span<std::uint8_t>(lighting));
        f(std::span<std::uint8_t>(colourSlots));
        f(std::span<std::uint8_t>(gameMode));
        f(std::span<std::uint8_t>(palmRest));
        f(std::span<std::uint8_t>(keyEnableMask));
        f(std::span<std::uint8_t>(keyMap));
        f(std::span<std::uint8_t>(macroBlocks));
        f(std::span<std::uint8_t>(customLightingTables));
    }
    std::size_t FileSize() {
        std::size_t n = 0;
        ForEachField([&](std::span<std::uint8_t> s) { n += s.size(); });
        return n;
    }
};

// Factory state: firmware 1.2; effect 1, speed position 5, brightness 50, colour 1,
// direction 1; slots red, green, blue, yellow, cyan, magenta, white; game mode 0; report
// rate 3; response time 1; the factory key map; every key enabled; empty macro blocks and
// custom tables; palm rest effect 0, brightness 50, speed 3, colour white.
Memory FactoryMemory() {
    Memory m;
    m.firmware = {1, 2};
    m.reportRate = {3};
    m.responseTime = {1};
    m.lighting = {1, SpeedPositionToDevice(5), 50, 1, 1};
    m.colourSlots = {0xFF, 0, 0,    0,    0xFF, 0, 0,    0,    0xFF, 0xFF, 0xFF,
                     0,    0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    m.gameMode = {0};
    m.palmRest = {cmd::kWritePalmRestLighting, 0, 50, 3, 0, 0xFF, 0xFF, 0xFF};
    m.keyEnableMask.fill(0xFF);
    static_assert(FactoryKeyMap.size() == field::keyMap.size);
    std::ranges::copy(FactoryKeyMap, m.keyMap.begin());
    return m;
}

// A table transfer announced and not finished yet.
struct BulkTransfer {
    std::span<std::uint8_t> target;
    std::size_t packets = 0;
    std::size_t next = 0;
    bool write = false;
};

std::string Unplugged(const fs::path& dir) {
    return "keyboard absent (" + (dir / kSimulatorUnpluggedFile).string() + " exists)";
}

// Which version of keyboard.bin a simulator last read or wrote: several processes (the
// program and orvoctl) may each open the same simulated keyboard, and each takes up what the
// others changed before it answers a command, as the one real keyboard would.
struct FileStamp {
    bool present = false;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StampOf(const fs::path& file) {
    FileStamp stamp;
#ifdef __linux__
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        stamp.present = true;
        stamp.inode = st.st_ino;
        stamp.size = st.st_size;
        stamp.modifiedNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    }
#else
    (void)file;
#endif
    return stamp;
}

// Whether the trace lines between two offsets hold a transfer of the command interface (an
// input report delivered meanwhile breaks no command sequence).
bool HoldsCommandTransfer(int fd, long long from, long long to) {
#ifdef __linux__
    std::string text(static_cast<std::size_t>(to - from), '\0');
    const ssize_t n = ::pread(fd, text.data(), text.size(), from);
    if (n <= 0)
        return false;
    text.resize(static_cast<std::size_t>(n));
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = std::string_view(text).substr(at, end - at);
        const std::size_t op = line.find(' ');
        if (op != std::string_view::npos &&
            !line.substr(op + 1).starts_with(std::string(trace_op::kInput) + ' '))
            return true;
        at = end + 1;
    }
#else
    (void)fd, (void)from, (void)to;
#endif
    return false;
}

// State shared by the bus and the interfaces it opened.
class Simulator {
public:
    explicit Simulator(fs::path dir) : m_dir(std::move(dir)), m_start(Clock::now()) {
        // Read back as well: a transfer looks at what other processes wrote since its own line.
        m_trace = std::fopen((m_dir / kSimulatorTraceFile).string().c_str(), "a+b");
        Load();
    }
    ~Simulator() {
        std::lock_guard lock(m_mutex);
        FlushLocked();
        if (m_trace)
            std::fclose(m_trace);
    }

    const fs::path& dir() const { return m_dir; }
    bool present() const {
        std::error_code ec;
        return !fs::exists(m_dir / kSimulatorUnpluggedFile, ec);
    }

    // Reloads keyboard.bin, so a process opening the keyboard sees what an earlier one left.
    void Load() {
        std::lock_guard lock(m_mutex);
        LoadLocked();
    }

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) {
        std::lock_guard lock(m_mutex);
        if (!present())
            return false;
        // A new command: take up what another process sent the keyboard since.
        if (StampOf(MemoryPath()) != m_memoryStamp)
            LoadLocked();
        TraceLocked(trace_op::kSet, r, false);
        AbandonBulkLocked();
        HandleCommandLocked(r);
        return true;
    }

    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) {
        std::lock_guard lock(m_mutex);
        if (!present())
            return false;
        std::ranges::copy(m_response, r.begin());
        TraceLocked(trace_op::kGet, r, true);
        return true;
    }

    bool Write(std::span<const std::uint8_t, kBulkPacketSize> packet) {
        std::lock_guard lock(m_mutex);
        if (!present())
            return false;
        TraceLocked(trace_op::kWrite, packet, m_bulk && m_bulk->write);
        if (m_bulk && m_bulk->write) {
            const std::size_t from = m_bulk->next * (kBulkPacketSize - 1);
            const std::size_t n = std::min(kBulkPacketSize - 1, m_bulk->target.size() - from);
            std::copy_n(packet.begin() + 1, n, m_bulk->target.begin() + from);
            m_dirty = true;
            if (++m_bulk->next == m_bulk->packets)
                AbandonBulkLocked();
        }
        return true;
    }

    ReadResult ReadBulk(std::span<std::uint8_t> buffer) {
        std::lock_guard lock(m_mutex);
        if (!present() || !m_bulk || m_bulk->write || buffer.empty())
            return {ReadStatus::Failed, 0};
        std::ranges::fill(buffer, 0);
        const std::size_t from = m_bulk->next * (kBulkPacketSize - 1);
        const std::size_t n =
            std::min({kBulkPacketSize - 1, m_bulk->target.size() - from, buffer.size() - 1});
        std::copy_n(m_bulk->target.begin() + from, n, buffer.begin() + 1);
        if (++m_bulk->next == m_bulk->packets)
            m_bulk.reset();
        TraceLocked(trace_op::kRead, buffer, true);
        return {ReadStatus::Ok, buffer.size()};
    }

    void TraceInput(std::span<const std::uint8_t> report) {
        std::lock_guard lock(m_mutex);
        TraceLocked(trace_op::kInput, report, false);
    }

private:
    using Clock = std::chrono::steady_clock;

    fs::path MemoryPath() const { return m_dir / kSimulatorMemoryFile; }

    void LoadLocked() {
        m_memoryStamp = StampOf(MemoryPath());
        m_dirty = false;
        m_memory = FactoryMemory();
        const auto bytes = ReadFilePrefix(m_dir / kSimulatorMemoryFile, m_memory.FileSize() + 1);
        if (!bytes)
            return;
        if (bytes->size() != m_memory.FileSize()) {
            LogWarning("simulated keyboard: " + (m_dir / kSimulatorMemoryFile).string() +
                       " has the wrong size; starting from the factory state");
            return;
        }
        std::size_t at = 0;
        m_memory.ForEachField([&](std::span<std::uint8_t> s) {
            std::copy_n(bytes->begin() + static_cast<std::ptrdiff_t>(at), s.size(), s.begin());
            at += s.size();
        });
    }

    // Appends one line. A transfer that continues a sequence of this simulator (the answer to
    // its request, a packet of its table) finds out whether another process's transfers came in
    // between: the keyboard would then have mixed up the two, and an "error" line says so.
    void TraceLocked(std::string_view op, std::span<const std::uint8_t> bytes,
                     bool continuesSequence) {
        if (!m_trace)
            return;
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start).count();
        std::string text = FormatTraceLine(ms, op, bytes);
#ifdef __linux__
        const int fd = fileno(m_trace);
        ::flock(fd, LOCK_EX);
        struct stat st {};
        const long long size = ::fstat(fd, &st) == 0 ? st.st_size : -1;
        if (continuesSequence && m_traceEnd >= 0 && size > m_traceEnd &&
            HoldsCommandTransfer(fd, m_traceEnd, size))
            text = FormatTraceLine(ms, trace_op::kError, bytes) + text;
#endif
        std::fwrite(text.data(), 1, text.size(), m_trace);
        std::fflush(m_trace);
#ifdef __linux__
        m_traceEnd = ::fstat(fd, &st) == 0 ? st.st_size : -1;
        ::flock(fd, LOCK_UN);
#endif
    }

    // keyboard.bin is written once per change, never on the read path.
    void FlushLocked() {
        if (!m_dirty)
            return;
        m_dirty = false;
        std::vector<std::uint8_t> bytes;
        bytes.reserve(m_memory.FileSize());
        m_memory.ForEachField(
            [&](std::span<std::uint8_t> s) { bytes.insert(bytes.end(), s.begin(), s.end()); });
        if (const FileResult r = WriteFileAtomically(MemoryPath(), bytes); !r)
            LogWarning("simulated keyboard: " + r.error);
        m_memoryStamp = StampOf(MemoryPath());
    }

    // A command ends any table transfer still open; a partly written table is kept as far as
    // it arrived.
    void AbandonBulkLocked() {
        m_bulk.reset();
        FlushLocked();
    }

    void StartBulk(std::span<std::uint8_t> target, std::size_t packets, bool write) {
        m_bulk = BulkTransfer{target, packets, 0, write};
    }

    void Store(std::span<std::uint8_t> dest, std::span<const std::uint8_t> src) {
        if (!std::ranges::equal(dest, src)) {
            std::ranges::copy(src, dest.begin());
            m_dirty = true;
        }
    }

    void HandleCommandLocked(std::span<const std::uint8_t, kFeatureReportSize> r) {
        const std::uint8_t code = r[1];
        // The firmware drops reports with a wrong checksum (the palm-rest write has none); the
        // trace marks each one, since a report that arrived damaged is an error of the sender.
        if (code != cmd::kWritePalmRestLighting && r[kChecksumByte] != FeatureChecksum(r)) {
            TraceLocked(trace_op::kError, r, false);
            return;
        }
        // Reads answer in the layout of their request, with the values filled in.
        std::ranges::copy(r, m_response.begin());
        m_response[0] = 0;
        Memory& m = m_memory;
        const std::uint8_t index = r[kIndexByte];
        switch (code) {
        case cmd::kReadFirmwareVersion:
            m_response[1] = m.firmware[0];
            m_response[2] = m.firmware[1];
            break;
        case cmd::kReadReportRate:
            m_response[kValueByte] = m.reportRate[0];
            break;
        case cmd::kWriteReportRate:
            Store(m.reportRate, r.subspan(kValueByte, 1));
            break;
        case cmd::kReadResponseTime:
            m_response[kValueByte] = m.responseTime[0];
            break;
        case cmd::kWriteResponseTime:
            Store(m.responseTime, r.subspan(kValueByte, 1));
            break;
        case cmd::kReadPalmRestLighting:
            std::ranges::copy(m.palmRest, m_response.begin() + 1);
            break;
        case cmd::kWritePalmRestLighting:
            Store(m.palmRest, r.subspan(1, 8));
            break;
        case cmd::kReadLightingEffect:
            std::ranges::copy(m.lighting, m_response.begin() + 3);
            break;
        case cmd::kWriteLightingEffect:
            Store(m.lighting, r.subspan(3, 5));
            break;
        case cmd::kReadGameMode:
            m_response[kValueByte] = m.gameMode[0];
            break;
        case cmd::kWriteGameMode:
            Store(m.gameMode, r.subspan(kValueByte, 1));
            break;
        case cmd::kReadColourSlot:
            if (index < kColourSlotCount)
                std::copy_n(m.colourSlots.begin() + 3 * index, 3, m_response.begin() + 4);
            break;
        case cmd::kWriteColourSlot:
            if (index < kColourSlotCount)
                Store(std::span(m.colourSlots).subspan(3 * index, 3), r.subspan(4, 3));
            break;
        case cmd::kResetToFactoryDefaults: {
            const Memory factory = FactoryMemory();
            m = factory;
            m_dirty = true;
            FlushLocked();
            break;
        }
        case cmd::kReadKeyMap:
            StartBulk(m.keyMap, m.keyMap.size() / 64, false);
            break;
        case cmd::kWriteKeyMap:
            StartBulk(m.keyMap, std::min<std::size_t>(r[kCountByte], m.keyMap.size() / 64), true);
            break;
        case cmd::kReadKeyEnableMask:
            StartBulk(m.keyEnableMask, 1, false);
            break;
        case cmd::kWriteKeyEnableMask:
            StartBulk(m.keyEnableMask, 1, true);
            break;
        case cmd::kReadMacroBlock:
            if (index < kMacroBlockCount)
                StartBulk(
                    std::span(m.macroBlocks).subspan(index * kMacroBlockSize, kMacroBlockSize),
                    kMacroBlockSize / 64, false);
            break;
        case cmd::kWriteMacroBlock:
            if (index < kMacroBlockCount)
                StartBulk(
                    std::span(m.macroBlocks).subspan(index * kMacroBlockSize, kMacroBlockSize),
                    std::min<std::size_t>(r[kCountByte], kMacroBlockSize / 64), true);
            break;
        case cmd::kReadCustomLightingTable:
        case cmd::kWriteCustomLightingTable:
            if (index < kCustomLightingTableCount)
                StartBulk(std::span(m.customLightingTables)
                              .subspan(index * kCustomLightingTableSize, kCustomLightingTableSize),
                          std::min<std::size_t>(r[kCountByte], kCustomLightingTableSize / 64),
                          code == cmd::kWriteCustomLightingTable);
            break;
        default:
            break; // unknown commands are ignored
        }
        // The palm-rest answer fills bytes 1..8 with data, like its write.
        if (code != cmd::kReadPalmRestLighting)
            m_response[kChecksumByte] = FeatureChecksum(m_response);
        if (m_dirty && !m_bulk)
            FlushLocked();
    }

    const fs::path m_dir;
    const Clock::time_point m_start;
    std::mutex m_mutex;
    std::FILE* m_trace = nullptr;
    long long m_traceEnd = -1; // trace.log's size after this simulator's last line
    Memory m_memory;
    FileStamp m_memoryStamp;
    bool m_dirty = false;
    FeatureBuffer m_response{};
    std::optional<BulkTransfer> m_bulk;
};

// Blocks until something changes in the simulator's folder or the time runs out.
class FolderWatch {
public:
    explicit FolderWatch(const fs::path& dir) {
#ifdef __linux__
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd >= 0 && inotify_add_watch(m_fd, dir.string().c_str(),
                                           IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE |
                                               IN_MOVED_TO | IN_MOVED_FROM) < 0) {
            close(m_fd);
            m_fd = -1;
        }
#else
        (void)dir;
#endif
    }
    ~FolderWatch() {
#ifdef __linux__
        if (m_fd >= 0)
            close(m_fd);
#endif
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool ok() const {
        return m_fd >= 0;
    }
    int fd() const {
        return m_fd;
    }

    // Waits at most timeoutMs for a change (or for `wakeFd`, when given, to become readable).
    // Returns the names of the files that changed; empty on time-out.
    std::vector<std::string> Wait(int timeoutMs, int wakeFd = -1) {
        std::vector<std::string> names;
#ifdef __linux__
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int n = poll(fds, wakeFd >= 0 ? 2 : 1, timeoutMs);
        if (n <= 0 || !(fds[0].revents & POLLIN))
            return names;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t len = read(m_fd, buffer, sizeof buffer);
            if (len <= 0)
                break;
            for (ssize_t at = 0; at < len;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (e->len > 0)
                    names.emplace_back(e->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
#else
        (void)wakeFd;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 50)));
        names.emplace_back();
#endif
        return names;
    }

private:
    int m_fd = -1;
};

class SimulatedCommandInterface final : public HidDevice {
public:
    explicit SimulatedCommandInterface(std::shared_ptr<Simulator> sim) : m_sim(std::move(sim)) {}

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) override {
        return m_sim->SetFeature(r);
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) override {
        return m_sim->GetFeature(r);
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> packet) override {
        return m_sim->Write(packet);
    }
    ReadResult Read(std::span<std::uint8_t> buffer, int) override {
        return m_sim->ReadBulk(buffer);
    }

private:
    std::shared_ptr<Simulator> m_sim;
};

// Delivers the lines appended to the `input` file after the interface was opened.
class SimulatedInputInterface final : public HidDevice {
public:
    explicit SimulatedInputInterface(std::shared_ptr<Simulator> sim)
        : m_sim(std::move(sim)), m_watch(m_sim->dir()) {
        std::error_code ec;
        const auto size = fs::file_size(InputPath(), ec);
        m_offset = ec ? 0 : static_cast<std::uintmax_t>(size);
    }

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize>) override { return false; }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize>) override { return false; }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize>) override { return false; }

    ReadResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        if (buffer.size() < kInputReportSize)
            return {ReadStatus::Failed, 0};
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
        for (;;) {
            if (!m_sim->present())
                return {ReadStatus::Failed, 0};
            if (const auto report = NextReport()) {
                std::ranges::fill(buffer, 0);
                std::ranges::copy(*report, buffer.begin());
                m_sim->TraceInput(*report);
                return {ReadStatus::Ok, kInputReportSize};
            }
            int wait = -1;
            if (timeoutMs >= 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count();
                if (left <= 0)
                    return {ReadStatus::TimedOut, 0};
                wait = static_cast<int>(left);
            }
            // Only the input and unplugged files matter; trace.log changes with every
            // transfer and must not wake the listener.
            for (bool relevant = false; !relevant;) {
                const auto names = m_watch.Wait(wait);
                if (names.empty())
                    break; // timed out: the loop above reports it
                relevant = std::ranges::any_of(names, [](const std::string& n) {
                    return n.empty() || n == kSimulatorInputFile || n == kSimulatorUnpluggedFile;
                });
                if (!relevant && timeoutMs >= 0) {
                    wait = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                deadline - std::chrono::steady_clock::now())
                                                .count());
                    if (wait <= 0)
                        break;
                }
            }
        }
    }

private:
    static constexpr std::uint8_t kInputReportId = 4;

    fs::path InputPath() const { return m_sim->dir() / kSimulatorInputFile; }

    // The next complete line after m_offset as a report; lines that are not two hex bytes are
    // skipped.
    std::optional<InputReport> NextReport() {
        std::ifstream in(InputPath(), std::ios::binary);
        if (!in)
            return std::nullopt;
        in.seekg(static_cast<std::streamoff>(m_offset));
        std::string line;
        while (std::getline(in, line)) {
            if (in.eof())
                return std::nullopt; // no line break yet: the writer is not done
            m_offset += line.size() + 1;
            unsigned kind = 0, code = 0;
            char extra = 0;
            if (std::sscanf(line.c_str(), "%2x %2x %c", &kind, &code, &extra) == 2)
                return InputReport{kInputReportId, static_cast<std::uint8_t>(kind),
                                   static_cast<std::uint8_t>(code), 0};
        }
        return std::nullopt;
    }

    std::shared_ptr<Simulator> m_sim;
    FolderWatch m_watch;
    std::uintmax_t m_offset = 0;
};

// Raises a removal when `unplugged` appears and an arrival when it goes.
class SimulatorHotplugMonitor final : public HotplugMonitor {
public:
    SimulatorHotplugMonitor(const fs::path& dir, HotplugCallback callback)
        : m_watch(dir), m_callback(std::move(callback)) {
#ifdef __linux__
        m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
#endif
        m_present = !fs::exists(dir / kSimulatorUnpluggedFile);
        m_thread = std::thread([this, dir] { Run(dir); });
    }
    ~SimulatorHotplugMonitor() override {
        m_stop = true;
#ifdef __linux__
        const std::uint64_t one = 1;
        if (m_wake >= 0)
            (void)!write(m_wake, &one, sizeof one);
#endif
        m_thread.join();
#ifdef __linux__
        if (m_wake >= 0)
            close(m_wake);
#endif
    }

    bool ok() const {
        return m_watch.ok() && m_wake >= 0;
    }

private:
    void Run(const fs::path& dir) {
        while (!m_stop) {
            const auto names = m_watch.Wait(-1, m_wake);
            if (m_stop)
                break;
            if (std::ranges::find(names, std::string(kSimulatorUnpluggedFile)) == names.end())
                continue;
            std::error_code ec;
            const bool present = !fs::exists(dir / kSimulatorUnpluggedFile, ec);
            if (present != m_present) {
                m_present = present;
                m_callback(present ? HotplugEvent::Arrival : HotplugEvent::Removal);
            }
        }
    }

    FolderWatch m_watch;
    HotplugCallback m_callback;
    int m_wake = -1;
    bool m_present = true;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class SimulatorBus final : public HidBus {
public:
    explicit SimulatorBus(std::shared_ptr<Simulator> sim) : m_sim(std::move(sim)) {}

    std::vector<HidInterfaceInfo> Enumerate() override {
        if (!m_sim->present())
            return {};
        return {Info(kSimulatorCommandPath), Info(kSimulatorInputPath)};
    }

    OpenResult Open(const std::string& path) override {
        if (!m_sim->present())
            return {nullptr, Unplugged(m_sim->dir())};
        if (path == kSimulatorCommandPath) {
            m_sim->Load();
            return {std::make_unique<SimulatedCommandInterface>(m_sim), {}};
        }
        if (path == kSimulatorInputPath)
            return {std::make_unique<SimulatedInputInterface>(m_sim), {}};
        return {nullptr, "cannot open " + path + ": no such simulated interface"};
    }

    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback callback,
                                                 std::string& error) override {
        auto monitor = std::make_unique<SimulatorHotplugMonitor>(m_sim->dir(), std::move(callback));
        if (!monitor->ok()) {
            error = "cannot watch " + m_sim->dir().string() + " for the simulated keyboard";
            return nullptr;
        }
        return monitor;
    }

private:
    static HidInterfaceInfo Info(std::string_view path) {
        HidInterfaceInfo info;
        info.path = path;
        info.vendorId = kKeyboardVendorId;
        info.productId = kKeyboardProductId;
        info.matchText = path.substr(path.find(':') + 1);
        return info;
    }

    std::shared_ptr<Simulator> m_sim;
};

} // namespace

std::unique_ptr<HidBus> OpenSimulatorBus(const std::filesystem::path& dir, std::string& error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        error = "cannot create the simulated keyboard's folder " + dir.string();
        return nullptr;
    }
    return std::make_unique<SimulatorBus>(std::make_shared<Simulator>(dir));
}

} // namespace orvo
