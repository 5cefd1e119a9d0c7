#include "main_window_fixture.h"

#include "app/click_dispatcher.h"
#include "app/main_window_composer.h"
#include "app/single_instance.h"
#include "controls/bit_slider.h"
#include "controls/image_store.h"
#include "model/key_tables.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>

namespace orvo::test {
namespace {

constexpr Point kCancelPoint{870, 604};
constexpr Point kClosePoint{985, 12};

int CountStartingWith(const std::vector<std::string>& lines, std::string_view op) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(op) != std::string::npos;
    }));
}

// Closes the next modal box that opens and keeps its caption and text.
struct MessageBoxCatcher {
    QString caption;
    QString text;
    void arm() {
        QTimer::singleShot(20, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                caption = box->windowTitle();
                text = box->text();
                box->accept();
            } else {
                arm();
            }
        });
    }
};

TEST_F(MainWindowTest, StartsShownWithTheKeyboardsValuesAndWritesKeymap) {
    CBrisoldeDlg& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Zorvanta Orvo"));
    EXPECT_EQ(w.size(), w.images().image(QStringLiteral("main.png")).size());
    // The simulated keyboard's factory values reached the image, the sliders and the file.
    EXPECT_EQ(config().image.byte(field::lightingBrightness), 50);
    EXPECT_EQ(w.sliders().byId(kBrightnessSlider)->value(), 50);
    EXPECT_EQ(w.sliders().byId(kReportRateSlider)->value(), 3);
    EXPECT_EQ(w.sliders().byId(kPalmSpeedSlider)->value(), 2); // speed 3 shows as 3 - 1
    const auto file = FileBytes(keymapFile());
    ASSERT_EQ(file.size(), kProfileFileSize);
    EXPECT_EQ(file[field::lightingBrightness.offset], 50);
    EXPECT_EQ(file[field::reportRate.offset], 3);
    EXPECT_EQ(config().image, config().deviceSnapshot);
}

TEST_F(MainWindowTest, KeymapFileLoadsBeforeTheReadBackSoKeyboardValuesWin) {
    // A keymap.bin with its own values in both device fields and host-only bytes.
    SettingsImage image;
    image.byte(field::lightingBrightness) = 7;
    image.byte(field::reserved0, 3) = 0x5A;
    KeyActionTable actions;
    actions.clear();
    actions[5].setKind(3);
    std::filesystem::create_directories(data());
    ASSERT_TRUE(WriteProfileFile(keymapFile(), image, actions));
    start();
    EXPECT_EQ(config().image.byte(field::lightingBrightness), 50); // the keyboard's
    EXPECT_EQ(config().image.byte(field::reserved0, 3), 0x5A);     // the file's
    EXPECT_EQ(config().keyActions[5].kind(), 3);
    EXPECT_EQ(config().keyActionSnapshot[5].kind(), 3);
}

TEST_F(MainWindowTest, KeyboardAbsentKeepsTheWindowHiddenAndTheProgramRunning) {
    unplug();
    CBrisoldeDlg& w = start();
    QSignalSpy finished(&w, &CBrisoldeDlg::finished);
    EXPECT_TRUE(w.startsHidden());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.keyboardConnected());
    EXPECT_FALSE(w.readBackPending());
    ASSERT_NE(w.trayIcon(), nullptr);
    // A double click on the tray shows the balloon, not the window.
    w.trayDoubleClicked();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(MainWindowTest, ArrivalAfterAMissingStartConnectsAndRefreshes) {
    unplug();
    CBrisoldeDlg& w = start();
    ASSERT_FALSE(w.keyboardConnected());
    std::filesystem::remove(simulator() / kSimulatorUnpluggedFile);
    // The arrival waits 2 s for the keyboard to settle, then reads it back.
    ProcessEventsUntil([&] { return w.keyboardConnected(); }, 8000);
    ASSERT_TRUE(w.keyboardConnected());
    QCoreApplication::processEvents();
    EXPECT_EQ(config().image.byte(field::lightingBrightness), 50);
    EXPECT_EQ(w.sliders().byId(kBrightnessSlider)->value(), 50);
    EXPECT_EQ(FileBytes(keymapFile())[field::lightingBrightness.offset], 50);
    // The window stays hidden until the user asks for it.
    EXPECT_FALSE(w.isVisible());
    w.trayDoubleClicked();
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, HoverActsOnTheLowestRegionUnderThePoint) {
    CBrisoldeDlg& w = start();
    struct Row {
        Point p;
        std::uint8_t effect;
        int region;
    };
    const Row rows[] = {
        {{40, 170}, 1, 8},   // colour slot 1 over the column of region 28
        {{150, 170}, 1, 12}, // slot 5 over the palm-rest swatch 35
        {{140, 300}, 1, 23}, // the palm-rest selector over the swatch 35
        {{140, 330}, 1, 35}, // below the selector only the swatch remains
        {{40, 200}, 1, 28},  // below the slots only the column remains
        {{35, 180}, 51, 36}, // a custom profile's Keymap switch comes before slot 1
        {{35, 180}, 1, 8},   // without it the slot is hit
        {{985, 12}, 1, 2},   // close button
        {{500, 400}, 1, kNoHover},
    };
    for (const Row& row : rows) {
        config().image.byte(field::lightingEffect) = row.effect;
        hover(row.p.x, row.p.y);
        EXPECT_EQ(w.state().hoverRegion, row.region) << row.p.x << "," << row.p.y;
        if (row.region != kNoHover) {
            EXPECT_EQ(w.state().hoverFlags[static_cast<std::size_t>(row.region)], 1);
        }
    }
}

TEST_F(MainWindowTest, SaveWithNothingChangedSendsOnlyThePalmRest) {
    start();
    const std::size_t before = traceLinesNow();
    click(kSave.x, kSave.y);
    const auto sent = traceSince(before);
    EXPECT_EQ(CountStartingWith(sent, " set 00 07 "), 1);
    EXPECT_EQ(CountStartingWith(sent, " set "), 1);
}

TEST_F(MainWindowTest, SaveSendsAChangeOnceAndCommitsIt) {
    start();
    const std::uint8_t toggled = config().image.byte(field::gameMode) ^ 1;
    config().image.byte(field::gameMode) = toggled;
    const std::size_t before = traceLinesNow();
    click(kSave.x, kSave.y);
    EXPECT_GT(CountStartingWith(traceSince(before), " set "), 1);
    EXPECT_EQ(config().deviceSnapshot.byte(field::gameMode), toggled);
    EXPECT_EQ(FileBytes(keymapFile())[field::gameMode.offset], toggled);
    // Nothing left to send the second time.
    const std::size_t again = traceLinesNow();
    click(kSave.x, kSave.y);
    EXPECT_EQ(CountStartingWith(traceSince(again), " set "), 1);
}

TEST_F(MainWindowTest, SaveFailingWarnsAndKeepsTheChanges) {
    CBrisoldeDlg& w = start();
    unplug();
    ProcessEventsUntil([&] { return !w.keyboardConnected(); });
    ASSERT_FALSE(w.keyboardConnected());
    const std::uint8_t was = config().image.byte(field::gameMode);
    config().image.byte(field::gameMode) = was ^ 1;
    const auto fileBefore = FileBytes(keymapFile());
    QSignalSpy failed(&w, &CBrisoldeDlg::saveFailed);
    MessageBoxCatcher box;
    box.arm();
    click(kSave.x, kSave.y);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(box.caption, QStringLiteral("Advertencia"));
    EXPECT_EQ(box.text, QStringLiteral("No se pudieron enviar los cambios al teclado"));
    EXPECT_EQ(config().image.byte(field::gameMode), was ^ 1);
    EXPECT_EQ(config().deviceSnapshot.byte(field::gameMode), was);
    EXPECT_EQ(FileBytes(keymapFile()), fileBefore);
}

TEST_F(MainWindowTest, CancelRestoresTheSnapshotAndTheSliders) {
    CBrisoldeDlg& w = start();
    const std::uint8_t was = config().image.byte(field::gameMode);
    config().image.byte(field::gameMode) = was ^ 1;
    config().keyActions[7].setKind(2);
    w.sliders().byId(kBrightnessSlider)->setValue(12);
    QCoreApplication::processEvents();
    w.RedrawMainWindow(); // the composition stores the slider into the image
    ASSERT_EQ(config().image.byte(field::lightingBrightness), 12);

    click(kCancelPoint.x, kCancelPoint.y);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(config().image, config().deviceSnapshot);
    EXPECT_EQ(config().keyActions, config().keyActionSnapshot);
    EXPECT_EQ(w.sliders().byId(kBrightnessSlider)->value(), 50);
    // A later composition keeps the restored value.
    w.RedrawMainWindow();
    EXPECT_EQ(config().image.byte(field::lightingBrightness), 50);
    EXPECT_EQ(FileBytes(keymapFile())[field::gameMode.offset], was);
}

TEST_F(MainWindowTest, CloseWritesTheSnapshotsAndEnds) {
    CBrisoldeDlg& w = start();
    QSignalSpy finished(&w, &CBrisoldeDlg::finished);
    const std::uint8_t was = config().image.byte(field::gameMode);
    config().image.byte(field::gameMode) = was ^ 1;
    config().keyActions[3].setKind(5);
    const std::size_t before = traceLinesNow();
    click(kClosePoint.x, kClosePoint.y);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(w.isVisible());
    const auto file = FileBytes(keymapFile());
    EXPECT_EQ(file, SerialiseProfile(config().deviceSnapshot, config().keyActionSnapshot));
    EXPECT_EQ(file[field::gameMode.offset], was);
    // Unsaved edits never reach the keyboard.
    EXPECT_EQ(CountStartingWith(traceSince(before), " set "), 0);
}

TEST_F(MainWindowTest, BandSelectsOnlyKeysWhollyInsideADownRightBand) {
    CBrisoldeDlg& w = start();
    struct Row {
        Point from, to;
        bool escSelected;
        int selected;
    };
    // Esc lies at (367, 190)..(388, 212); F1 starts at x = 414.
    const Row rows[] = {
        {{360, 180}, {395, 220}, true, 1},
        {{395, 220}, {360, 180}, false, 0}, // lower right to upper left
        {{370, 180}, {395, 220}, false, 0}, // cuts Esc
        {{360, 180}, {440, 220}, true, 2},  // Esc and F1
    };
    for (const Row& row : rows) {
        press(row.from.x, row.from.y);
        moveHeld(row.to.x, row.to.y);
        EXPECT_TRUE(w.state().buttonDown);
        EXPECT_EQ(w.state().keySelected[0] != 0, row.escSelected);
        const auto& sel = w.state().keySelected;
        EXPECT_EQ(std::count(sel.begin(), sel.end(), 1), row.selected);
        EXPECT_EQ(w.state().selectionState, row.selected ? kSelectionBand : kSelectionNone);
        release(row.to.x, row.to.y);
        EXPECT_FALSE(w.state().buttonDown);
    }
}

TEST_F(MainWindowTest, DragOnTheTopStripMovesTheWindowElsewhereDrawsABand) {
    CBrisoldeDlg& w = start();
    const QPoint origin = w.pos();
    press(100, 10);
    moveHeld(100, 20);
    EXPECT_EQ(w.pos(), origin + QPoint(0, 10));
    release(100, 20);
    EXPECT_FALSE(w.state().buttonDown);

    const QPoint moved = w.pos();
    press(100, 40);
    moveHeld(100, 50);
    EXPECT_EQ(w.pos(), moved);
    EXPECT_TRUE(w.state().buttonDown);
    EXPECT_EQ(w.state().bandStart, (Point{100, 40}));
    EXPECT_EQ(w.state().bandEnd, (Point{100, 50}));
    release(100, 50);
}

TEST_F(MainWindowTest, EnterEscapeAndF1LeaveTheWindowOpen) {
    CBrisoldeDlg& w = start();
    QSignalSpy finished(&w, &CBrisoldeDlg::finished);
    for (int code : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_F1}) {
        key(code);
        key(code, QEvent::KeyRelease);
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.isVisible()) << code;
    }
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(MainWindowTest, CtrlReleaseArmsASelection) {
    CBrisoldeDlg& w = start();
    w.state().diyMode = true;
    key(Qt::Key_Control);
    EXPECT_TRUE(w.state().ctrlHeld);
    click(377, 200); // Esc: toggled into the selection only
    EXPECT_EQ(w.state().keySelected[0], 1);
    EXPECT_EQ(w.state().selectionState, kSelectionNone);
    key(Qt::Key_Control, QEvent::KeyRelease);
    EXPECT_FALSE(w.state().ctrlHeld);
    EXPECT_EQ(w.state().selectionState, kSelectionArmed);
    click(377, 200); // colours the selection, then clears it
    EXPECT_EQ(w.state().keySelected[0], 0);
    EXPECT_EQ(w.state().selectionState, kSelectionNone);
}

TEST_F(MainWindowTest, KeyClicksReachTheAssignmentHookOnlyForAssignableKeys) {
    CBrisoldeDlg& w = start();
    std::vector<int> assigned;
    QObject::connect(&w, &CBrisoldeDlg::keyAssignmentRequested, &w,
                     [&](int key) { assigned.push_back(key); });
    struct Row {
        Point p;
        bool diy;
        int expected; // -1: the hook is not called
    };
    const Row rows[] = {
        {{377, 200}, false, 0},  // Esc
        {{410, 330}, false, -1}, // Win cannot be clicked in Keymap mode
        {{654, 330}, false, -1}, // nor Fn
        {{380, 330}, false, -1}, // Ctrl is never acted on
        {{715, 265}, false, 54}, // the upper part of the big Enter
        {{699, 285}, false, -1}, // beside its narrower lower part
        {{410, 330}, true, -1},  // in DIY mode Win is coloured, not assigned
    };
    for (const Row& row : rows) {
        assigned.clear();
        w.state().diyMode = row.diy;
        w.state().clearSelection();
        click(row.p.x, row.p.y);
        if (row.expected < 0) {
            EXPECT_TRUE(assigned.empty()) << row.p.x << "," << row.p.y;
        } else {
            EXPECT_EQ(assigned, std::vector<int>{row.expected}) << row.p.x << "," << row.p.y;
        }
    }
}

TEST_F(MainWindowTest, ButtonsWithoutAKeyStillArmABandSelection) {
    CBrisoldeDlg& w = start();
    QSignalSpy finished(&w, &CBrisoldeDlg::finished);
    w.state().keySelected[0] = 1;
    w.state().selectionState = kSelectionBand;
    click(800, 600); // the default button does nothing itself
    EXPECT_EQ(w.state().selectionState, kSelectionArmed);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(finished.count(), 0);
    click(965, 12); // minimise hides the window, the program goes on
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(MainWindowTest, HelpMenuOpensAndAnyClickClosesIt) {
    CBrisoldeDlg& w = start();
    click(944, 12);
    EXPECT_TRUE(w.state().helpMenuOpen);
    click(900, 90); // the version line: nothing but closing
    EXPECT_FALSE(w.state().helpMenuOpen);
    EXPECT_TRUE(w.isVisible());
    click(944, 12);
    click(985, 12); // the close button under an open menu does not close the program
    EXPECT_FALSE(w.state().helpMenuOpen);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, SliderMoveStoresItsFieldAndRepaintsOnlyOnChange) {
    CBrisoldeDlg& w = start();
    CBitSlider* slider = w.sliders().byId(kPalmSpeedSlider);
    slider->setValue(4);
    ProcessEventsUntil([&] { return config().image.byte(field::palmRest, palm::speed) == 5; },
                       2000);
    EXPECT_EQ(config().image.byte(field::palmRest, palm::speed), 5); // position + 1
    // The picture at the slider's place now shows the thumb further right.
    const QImage before = w.composedImage();
    slider->setValue(0);
    ProcessEventsUntil([&] { return config().image.byte(field::palmRest, palm::speed) == 1; },
                       2000);
    EXPECT_NE(w.composedImage(), before);
}

TEST_F(MainWindowTest, CachedAndUncachedCompositionsAreIdentical) {
    CBrisoldeDlg& w = start();
    struct Row {
        const char* name;
        std::function<void(MainWindowState&, ConfigState&)> set;
    };
    const Row rows[] = {
        {"plain", [](MainWindowState&, ConfigState&) {}},
        {"hover and help menu",
         [](MainWindowState& s, ConfigState&) {
             s.hoverFlags[kCloseRegion] = 1;
             s.hoverKey = 54; // the L-shaped Enter
             s.helpMenuOpen = true;
         }},
        {"customised keys",
         [](MainWindowState&, ConfigState& c) {
             c.customisedKeys[0] = c.customisedKeys[54] = c.customisedKeys[98] = 1;
         }},
        {"DIY colours and selection",
         [](MainWindowState& s, ConfigState& c) {
             s.diyMode = true;
             s.keySelected[3] = 1;
             s.hoverKey = 20;
             c.image.byte(field::lightingEffect) = 52;
             auto table = c.image.customLightingTable(1);
             std::fill(table.begin(), table.end(), std::uint8_t{0x80});
         }},
    };
    for (const Row& row : rows) {
        row.set(w.state(), config());
        w.images().setCaching(false);
        const QImage uncached = w.composeNow();
        w.images().setCaching(true);
        w.composeNow();
        const QImage cached = w.composeNow();
        ASSERT_FALSE(uncached.isNull());
        EXPECT_EQ(cached, uncached) << row.name;
    }
}

TEST_F(MainWindowTest, DiyModeFillsKeysWithTheirProfileColours) {
    CBrisoldeDlg& w = start();
    w.state().diyMode = true;
    config().image.byte(field::lightingEffect) = 53;
    auto table = config().image.customLightingTable(2);
    std::fill(table.begin(), table.end(), std::uint8_t{0});
    const QImage dark = w.composeNow();
    const auto paint = [&](std::size_t key, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        const std::size_t entry = kKeyMapEntrySize * SlotOf(key);
        table[entry + 1] = r;
        table[entry + 2] = g;
        table[entry + 3] = b;
    };
    paint(0, 200, 10, 20);   // Esc
    paint(54, 10, 200, 20);  // the big Enter
    paint(113, 10, 20, 200); // L1
    const QImage lit = w.composeNow();
    // A corner of Esc, away from its label, and the lower part of the Enter key.
    EXPECT_EQ(lit.pixelColor(369, 192), QColor(200, 10, 20));
    EXPECT_EQ(lit.pixelColor(705, 285), QColor(10, 200, 20));
    // Beside the Enter key's lower part the picture is untouched.
    EXPECT_EQ(lit.pixelColor(699, 285), dark.pixelColor(699, 285));
    // L1 is filled, and no label appears outside the keyboard picture.
    EXPECT_EQ(lit.pixelColor(366, 164), QColor(10, 20, 200));
    EXPECT_EQ(lit.copy(280, 80, 30, 20), dark.copy(280, 80, 30, 20));
    // Keymap mode shows none of it.
    w.state().diyMode = false;
    EXPECT_NE(w.composeNow().pixelColor(369, 192), QColor(200, 10, 20));
}

TEST_F(MainWindowTest, SecondInstanceAsksTheFirstToShowItsWindow) {
    const QString name =
        QStringLiteral("orvo-test-") + QString::number(QCoreApplication::applicationPid());
    CBrisoldeDlg& w = start(false);
    ASSERT_FALSE(w.isVisible());
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
    QObject::connect(&first, &SingleInstance::showRequested, &w, &CBrisoldeDlg::showFromOutside);
    SingleInstance second(name);
    EXPECT_FALSE(second.claim());
    ProcessEventsUntil([&] { return w.isVisible(); }, 3000);
    EXPECT_TRUE(w.isVisible());
}

} // namespace
} // namespace orvo::test
