// The macro manager opened from the main window against the simulated keyboard: a macro
// recorded with key strokes reaches "MacroDefine.bin" on OK and the keyboard on Save, one
// block per changed macro; Cancel and the close box keep nothing.

#include "macro_test_support.h"
#include "main_window_fixture.h"

#include "controls/transparent_list_box.h"
#include "keymap/c_key_map.h"
#include "macro/c_macro_record_dlg.h"
#include "model/program_folders.h"

#include <QListWidget>

#include <sstream>

namespace orvo::test {
namespace {

// The macro manager's "Nuevo", record, OK, "Cancelar" and close box (window coordinates).
constexpr QPoint kNew{48, 380};
constexpr QPoint kRecord{335, 112};
constexpr QPoint kOk{278, 380};
constexpr QPoint kCancel{338, 380};
constexpr QPoint kCloseBox{373, 11};

using Bytes = std::vector<int>;

std::vector<Bytes> Transfers(const std::vector<std::string>& lines, std::string_view op) {
    std::vector<Bytes> out;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string ms, kind;
        in >> ms >> kind;
        if (kind != op)
            continue;
        Bytes bytes;
        for (std::string hex; in >> hex;)
            bytes.push_back(std::stoi(hex, nullptr, 16));
        out.push_back(bytes);
    }
    return out;
}

// `head` followed by zeros up to `size` bytes.
Bytes Padded(Bytes head, std::size_t size) {
    head.resize(size, 0);
    return head;
}

class MacroManagerTest : public MainWindowTest {
protected:
    CMacroRecordDlg& openManager() {
        window().activateWindow();
        ClickAt(window(), kMacrosButton.x, kMacrosButton.y);
        CMacroRecordDlg& dialog = app().macroDialog();
        EXPECT_TRUE(dialog.isVisible());
        return dialog;
    }
    // "Nuevo", then the record button, the keys (Qt key, released?), the record button.
    void recordNewMacro(CMacroRecordDlg& dialog, std::initializer_list<std::pair<int, bool>> keys) {
        ClickAt(dialog, kNew.x(), kNew.y());
        ClickAt(dialog, kRecord.x(), kRecord.y());
        for (const auto& [key, released] : keys)
            KeyInto(dialog, key, released);
        ClickAt(dialog, kRecord.x(), kRecord.y());
    }
    // Save; the announces of macro blocks and every bulk packet the keyboard received.
    std::pair<std::vector<Bytes>, std::vector<Bytes>> save() {
        const std::size_t before = traceLinesNow();
        ClickAt(window(), kSave.x, kSave.y);
        waitUntilIdle(); // the Save runs on the worker
        const auto lines = traceSince(before);
        std::vector<Bytes> announces;
        for (const Bytes& report : Transfers(lines, "set")) {
            if (report.at(1) == 0x11)
                announces.push_back(report);
        }
        return {announces, Transfers(lines, "write")};
    }
    static Bytes Payloads(const std::vector<Bytes>& packets) {
        Bytes all;
        for (const Bytes& p : packets)
            all.insert(all.end(), p.begin() + 1, p.end());
        return all;
    }

    MacroPrompts prompts;
};

TEST_F(MacroManagerTest, ARecordedMacroIsStoredAndOnlyItsBlockIsSent) {
    usePrompts(prompts);
    start();
    CMacroRecordDlg& dialog = openManager();
    // In the program, where the key assignment dialog has a macro list of its own, each list
    // keeps its own place.
    EXPECT_EQ(dialog.macroList()->geometry(), QRect(20, 88, 112, 240));
    EXPECT_EQ(app().keyMap().macroList()->geometry(), QRect(16, 67, 295, 161));
    // A down, B down, A up, B up, with the delay option off.
    recordNewMacro(dialog,
                   {{Qt::Key_A, false}, {Qt::Key_B, false}, {Qt::Key_A, true}, {Qt::Key_B, true}});
    EXPECT_EQ(dialog.eventList()->count(), 4);
    ClickAt(dialog, kOk.x(), kOk.y());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(prompts.asked.empty());

    // Slot 0 of the file: name, repeat count 1 (little-endian), no flags, both streams.
    const auto file = FileBytes(data() / kMacroFileName);
    ASSERT_EQ(file.size(), 169860u);
    const std::u16string name = u"Macro_001";
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const char16_t unit = i < name.size() ? name[i] : 0;
        EXPECT_EQ(file[2 * i], unit & 0xFF) << i;
        EXPECT_EQ(file[2 * i + 1], unit >> 8) << i;
    }
    EXPECT_EQ(Bytes(file.begin() + 510, file.begin() + 513), (Bytes{0x01, 0x00, 0x00}));
    EXPECT_EQ(Bytes(file.begin() + 513, file.begin() + 703),
              Padded({0x01, 0x04, 0x01, 0x05, 0x81, 0x04, 0x81, 0x05}, 190));
    EXPECT_EQ(Bytes(file.begin() + 703, file.begin() + 893),
              Padded({0x01, 0x41, 0x01, 0x42, 0x81, 0x41, 0x81, 0x42}, 190));

    // Save: block 0 alone, announced once and sent as three packets, repeat count big-endian.
    auto [announces, packets] = save();
    ASSERT_EQ(announces.size(), 1u);
    EXPECT_EQ(announces[0][3], 0);
    EXPECT_EQ(announces[0][4], 3);
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(Payloads(packets),
              Padded({0x00, 0x01, 0x01, 0x04, 0x01, 0x05, 0x81, 0x04, 0x81, 0x05}, 192));

    // A second macro: only its block goes out.
    openManager();
    recordNewMacro(dialog, {{Qt::Key_C, false}, {Qt::Key_C, true}});
    EXPECT_EQ(dialog.macroList()->currentRow(), 1);
    ClickAt(dialog, kOk.x(), kOk.y());
    std::tie(announces, packets) = save();
    ASSERT_EQ(announces.size(), 1u);
    EXPECT_EQ(announces[0][3], 1);
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(Payloads(packets), Padded({0x00, 0x01, 0x01, 0x06, 0x81, 0x06}, 192));
    EXPECT_EQ(config().macros[0].name(), u"Macro_001");
    EXPECT_EQ(config().macros[1].name(), u"Macro_002");
}

TEST_F(MacroManagerTest, CancelAndTheCloseBoxKeepNothing) {
    usePrompts(prompts);
    start();
    const auto fileBefore = FileBytes(data() / kMacroFileName);
    const MacroStore storeBefore = config().macros;
    for (const QPoint end : {kCancel, kCloseBox}) {
        CMacroRecordDlg& dialog = openManager();
        recordNewMacro(dialog, {{Qt::Key_A, false}, {Qt::Key_A, true}});
        ASSERT_EQ(dialog.eventList()->count(), 2);
        ClickAt(dialog, end.x(), end.y());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(config().macros, storeBefore);
        EXPECT_EQ(FileBytes(data() / kMacroFileName), fileBefore);
        EXPECT_TRUE(save().first.empty());
        // The next opening starts from the program's macros again.
        openManager();
        EXPECT_EQ(dialog.macroList()->count(), 0);
        ClickAt(dialog, kCancel.x(), kCancel.y());
    }
}

// A "MacroDefine.bin" that cannot be written: OK says so, and the macros stay in memory.
TEST_F(MacroManagerTest, AFailedWriteIsShown) {
    usePrompts(prompts);
    start();
    // A folder takes the file's place after it was loaded.
    std::filesystem::remove(data() / kMacroFileName);
    std::filesystem::create_directories(data() / kMacroFileName);
    CMacroRecordDlg& dialog = openManager();
    ClickAt(dialog, kNew.x(), kNew.y());
    ClickAt(dialog, kOk.x(), kOk.y());
    EXPECT_EQ(prompts.asked, std::vector<QString>{QStringLiteral("Gestión de macros|") +
                                                  QString::fromUtf16(kMacrosNotSavedText)});
    EXPECT_EQ(config().macros[0].name(), u"Macro_001");
}

} // namespace
} // namespace orvo::test
