// One recorded run of the program against the simulated keyboard: start-up, a Save with
// changes, a factory reset from the help menu, the Save after it, an unplug and arrival with an
// edit not saved yet, the Save after that, and the close button. What the keyboard received
// (times left out), the pauses made and the bytes of the data files after each step must stay
// as recorded in tests/gui/golden/. After a deliberate change of behaviour, record the run
// again with ORVO_RECORD_GOLDEN=1 and review the difference.

#include "main_window_fixture.h"

#include "app/prompts.h"
#include "controls/bit_slider.h"

#include <QTimer>

#include <cstdio>
#include <sstream>

namespace orvo::test {
namespace {

const std::filesystem::path kGoldenFolder = ORVO_GOLDEN_DIR;

// The trace without the times: "<op> <bytes>".
std::vector<std::string> StripTimes(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines)
        out.push_back(line.substr(line.find(' ') + 1));
    return out;
}

// A file as its size and its 16-byte rows that hold anything but zeros.
std::vector<std::string> Dump(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> out{file.filename().string() + " " + std::to_string(bytes.size()) +
                                 " bytes"};
    for (std::size_t row = 0; row < bytes.size(); row += 16) {
        const std::size_t end = std::min(row + 16, bytes.size());
        if (std::all_of(bytes.begin() + long(row), bytes.begin() + long(end),
                        [](unsigned char b) { return b == 0; }))
            continue;
        char text[80];
        int used = std::snprintf(text, sizeof text, "%08zx:", row);
        for (std::size_t i = row; i < end; ++i)
            used += std::snprintf(text + used, sizeof text - std::size_t(used), " %02x", bytes[i]);
        out.emplace_back(text);
    }
    return out;
}

// Answers every confirmation with OK.
struct ConfirmingPrompts : Prompts {
    bool confirm(const QString&, const QString&) override { return true; }
    void warn(const QString&, const QString&) override {}
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
};

class GoldenRunTest : public MainWindowTest {
protected:
    // Compares one step with its recording (or records it).
    void check(const std::string& step, const std::vector<std::string>& actual) {
        const std::filesystem::path file = kGoldenFolder / (step + ".txt");
        if (qEnvironmentVariableIsSet("ORVO_RECORD_GOLDEN")) {
            std::ofstream out(file);
            for (const std::string& line : actual)
                out << line << '\n';
            return;
        }
        const std::vector<std::string> expected = ReadLines(file);
        ASSERT_FALSE(expected.empty()) << "no recording " << file;
        const std::size_t common = std::min(expected.size(), actual.size());
        for (std::size_t i = 0; i < common; ++i)
            ASSERT_EQ(actual[i], expected[i]) << step << ", line " << i + 1;
        EXPECT_EQ(actual.size(), expected.size()) << step;
    }

    // The transfers and pauses since the last step and the data files now.
    std::vector<std::string> step(bool withMacros = false) {
        std::vector<std::string> lines{"# transfers"};
        const auto sent = StripTimes(traceSince(m_traceMark));
        lines.insert(lines.end(), sent.begin(), sent.end());
        m_traceMark = traceLinesNow();
        const std::vector<int> paused = pauses();
        std::ostringstream pauseLine;
        pauseLine << "# pauses";
        for (std::size_t i = m_pauseMark; i < paused.size(); ++i)
            pauseLine << ' ' << paused[i];
        m_pauseMark = paused.size();
        lines.push_back(pauseLine.str());
        const auto keymap = Dump(keymapFile());
        lines.insert(lines.end(), keymap.begin(), keymap.end());
        if (withMacros) {
            const auto macros = Dump(data() / kMacroFileName);
            lines.insert(lines.end(), macros.begin(), macros.end());
        }
        return lines;
    }

    void settle() {
        ProcessEventsUntil([] { return false; }, 100);
    }

    ConfirmingPrompts prompts;
    std::size_t m_traceMark = 0;
    std::size_t m_pauseMark = 0;
};

TEST_F(GoldenRunTest, StartSaveResetAndCloseMatchTheRecordedRun) {
    usePrompts(prompts);
    CBrisoldeDlg& w = start();
    settle();
    check("startup", step(true));

    // Edits of most groups: an effect with a speed, its colour slot, both switches, the palm
    // rest's effect and both of its sliders, and the performance sliders.
    click(100, 124);
    click(100, 136 + 20 * 1 + 5); // "Modo respiración"
    click(40 + 28 * 2, 172);      // colour slot 3
    click(120, 578);              // game mode
    click(258, 578);              // Windows-key lock
    click(100, 308);
    click(100, 320 + 20 * 2 + 5); // palm rest "Onda de color único"
    w.sliders().byId(kSpeedSlider)->setValue(2);
    w.sliders().byId(kPalmBrightnessSlider)->setValue(20);
    w.sliders().byId(kPalmSpeedSlider)->setValue(0);
    w.sliders().byId(kResponseTimeSlider)->setValue(6);
    w.sliders().byId(kReportRateSlider)->setValue(1);
    settle();
    click(950, 604); // Save
    check("save", step());

    click(944, 12);
    click(900, 30); // "Reiniciar ajustes", confirmed
    settle();
    check("reset", step());

    // The palm-rest sliders kept their places and the response time shows its value - 1:
    // the next Save sends what they show.
    click(950, 604);
    check("save-after-reset", step());

    // Unplugged with an edit not saved yet: the keyboard is read again when it comes back,
    // the edit stays, and the next Save sends exactly it.
    click(120, 578); // game mode
    unplug();
    ProcessEventsUntil([&] { return !w.keyboardConnected(); });
    ASSERT_FALSE(w.keyboardConnected());
    std::filesystem::remove(simulator() / kSimulatorUnpluggedFile);
    ProcessEventsUntil([&] { return w.keyboardConnected(); });
    ASSERT_TRUE(w.keyboardConnected());
    settle();
    check("arrival", step());
    click(950, 604);
    check("save-after-arrival", step());

    click(985, 12); // close
    check("close", step(true));
}

} // namespace
} // namespace orvo::test
