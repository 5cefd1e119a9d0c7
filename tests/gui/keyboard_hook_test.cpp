#include "macro/keyboard_hook.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <vector>

namespace orvo {
namespace {

struct Report {
    QWidget* window;
    int virtualKey;
    quint32 flags;
    friend bool operator==(const Report&, const Report&) = default;
};

constexpr quint32 kPressed = 1;                            // one stroke, key was up
constexpr quint32 kRepeated = 1 | (1u << 30);              // key was already down
constexpr quint32 kReleased = 1 | (1u << 30) | (1u << 31); // key went up

class KeyboardHookTest : public ::testing::Test {
protected:
    KeyboardHookTest() : m_edit(new QLineEdit(&m_window)) {
        QObject::connect(&m_hook, &KeyboardHook::hookEvent, &m_window,
                         [this](QWidget* w, int vk, quint32 flags) {
                             m_reports.push_back({w, vk, flags});
                         });
    }

    // A key event as the platform would deliver it to a widget.
    static void send(QWidget* to, QEvent::Type type, int key, Qt::KeyboardModifiers mods = {},
                     quint32 scanCode = 0, bool repeat = false) {
        const QString text = key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde
                                 ? QString(QChar(key)).toLower()
                                 : QString();
        QKeyEvent event(type, key, mods, scanCode, 0, 0, text, repeat);
        QApplication::sendEvent(to, &event);
    }
    void stroke(QWidget* to, int key, Qt::KeyboardModifiers mods = {}, quint32 scanCode = 0) {
        send(to, QEvent::KeyPress, key, mods, scanCode);
        send(to, QEvent::KeyRelease, key, mods, scanCode);
    }

    QWidget m_window;
    QLineEdit* m_edit;
    KeyboardHook m_hook;
    std::vector<Report> m_reports;
};

TEST_F(KeyboardHookTest, ReportsThePhysicalKeyOfEachStroke) {
    ASSERT_TRUE(m_hook.installhook(&m_window, kHookStrokes));
    struct Row {
        int key;
        Qt::KeyboardModifiers mods;
        quint32 xkbKeycode; // 0: the event carries none
        int virtualKey;
    };
    const Row rows[] = {
        {Qt::Key_A, {}, 0, 0x41},
        {Qt::Key_Return, {}, 0, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, 0, 0x6C},
        {Qt::Key_1, Qt::KeypadModifier, 0, 0x61},
        {Qt::Key_End, Qt::KeypadModifier, 0, 0x61}, // keypad 1 with Num Lock off
        {Qt::Key_Plus, Qt::KeypadModifier, 0, 0x6B},
        {Qt::Key_Plus, Qt::ShiftModifier, 0, 0xBB},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0, 0x31},
        {Qt::Key_F12, {}, 0, 0x7B},
        {Qt::Key_Escape, {}, 0, 0x1B},
        {Qt::Key_Shift, {}, 0, 0xA0},
        {Qt::Key_Shift, {}, 54 + 8, 0xA1},                 // right Shift
        {Qt::Key_Control, {}, 97 + 8, 0xA3},               // right Ctrl
        {Qt::Key_AltGr, {}, 100 + 8, 0xA5},                // right Alt
        {Qt::Key_Enter, Qt::KeypadModifier, 96 + 8, 0x6C}, // keypad Enter
        {Qt::Key_A, {}, 16 + 8, 0x51},                     // "A" of a French board: Q's place
        {Qt::Key_Z, {}, 17 + 8, 0x57},                     // ... and its "Z": W's place
    };
    for (const Row& r : rows) {
        m_reports.clear();
        stroke(m_edit, r.key, r.mods, r.xkbKeycode);
        EXPECT_EQ(m_reports, (std::vector<Report>{{&m_window, r.virtualKey, kPressed}}))
            << std::hex << r.key << " " << r.xkbKeycode;
    }
    EXPECT_TRUE(m_edit->text().isEmpty()); // every key was kept from the edit
}

TEST_F(KeyboardHookTest, ModesReportStrokesOrPressesAndReleases) {
    struct Row {
        int mode;
        std::vector<Report> reports;
    };
    const Row rows[] = {
        {kHookStrokes, {{&m_window, 0x41, kPressed}}},
        {kHookPressAndRelease,
         {{&m_window, 0x41, kPressed}, {&m_window, 0x41, kRepeated}, {&m_window, 0x41, kReleased}}},
    };
    for (const Row& r : rows) {
        m_reports.clear();
        ASSERT_TRUE(m_hook.installhook(&m_window, r.mode));
        send(m_edit, QEvent::KeyPress, Qt::Key_A);
        send(m_edit, QEvent::KeyRelease, Qt::Key_A, {}, 0, true); // auto-repeat pair
        send(m_edit, QEvent::KeyPress, Qt::Key_A, {}, 0, true);
        send(m_edit, QEvent::KeyRelease, Qt::Key_A);
        EXPECT_EQ(m_reports, r.reports) << r.mode;
        m_hook.removehook();
    }
    EXPECT_FALSE(m_hook.installhook(&m_window, 2));
    EXPECT_FALSE(m_hook.installhook(nullptr, kHookStrokes));
}

TEST_F(KeyboardHookTest, NothingAfterRemoveAndNothingFromOtherWindows) {
    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    ASSERT_TRUE(m_hook.installhook(&m_window, kHookStrokes));
    stroke(otherEdit, Qt::Key_B); // a message box over the dialog keeps its keys
    EXPECT_TRUE(m_reports.empty());
    EXPECT_EQ(otherEdit->text(), QStringLiteral("b"));

    ASSERT_TRUE(m_hook.installhook(&other, kHookStrokes)); // the hook moves
    stroke(m_edit, Qt::Key_C);
    stroke(otherEdit, Qt::Key_D);
    EXPECT_EQ(m_reports, (std::vector<Report>{{&other, 0x44, kPressed}}));
    EXPECT_EQ(m_edit->text(), QStringLiteral("c"));

    m_hook.removehook();
    EXPECT_FALSE(m_hook.isInstalled());
    stroke(otherEdit, Qt::Key_E);
    EXPECT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(otherEdit->text(), QStringLiteral("be"));
}

TEST_F(KeyboardHookTest, EnterAndEscapeDoNotEndAHookedDialog) {
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    dialog.show();
    ASSERT_TRUE(m_hook.installhook(&dialog, kHookStrokes));
    stroke(edit, Qt::Key_Escape);
    stroke(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(m_reports.size(), 2u);

    m_hook.removehook();
    stroke(edit, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(KeyboardHookTest, ADestroyedWindowLetsTheHookGo) {
    auto* window = new QWidget;
    ASSERT_TRUE(m_hook.installhook(window, kHookStrokes));
    delete window;
    EXPECT_FALSE(m_hook.isInstalled());
    stroke(m_edit, Qt::Key_A);
    EXPECT_TRUE(m_reports.empty());
    EXPECT_EQ(m_edit->text(), QStringLiteral("a"));
}

} // namespace
} // namespace orvo
