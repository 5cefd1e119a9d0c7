#include "model/host_actions.h"

#include <gtest/gtest.h>

#include "model/key_tables.h"

namespace orvo {
namespace {

TEST(HostActions, SplitsAtTheLastSeparator) {
    struct Row {
        std::u16string_view path;
        std::u16string_view separators;
        SplitPath split;
    };
    const Row rows[] = {
        {u"C:\\Tools\\app.exe", u"\\", {u"C:\\Tools", u"app.exe"}},
        {u"C:\\Music\\Rock", u"\\", {u"C:\\Music", u"Rock"}},
        {u"C:/Tools/app.exe", u"\\/", {u"C:/Tools", u"app.exe"}},
        {u"/opt/tools/run me", u"/", {u"/opt/tools", u"run me"}},
        {u"/home/u/a\\b.mp3", u"/", {u"/home/u", u"a\\b.mp3"}}, // a backslash names a file here
        {u"/usr", u"/", {u"", u"usr"}},
        {u"/music/", u"/", {u"/music", u""}},
        {u"nofolder", u"/", {u"nofolder", u""}},
        {u"", u"/", {u"", u""}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SplitHostPath(r.path, r.separators), r.split);
}

TEST(HostActions, RowShowsShortPathsWholeAndLongOnesByTheirLastComponent) {
    struct Row {
        std::u16string_view path;
        std::u16string_view separators;
        std::u16string_view shown;
    };
    const Row rows[] = {
        {u"C:\\Music\\a.mp", u"\\", u"C:\\Music\\a.mp"}, // 13 characters
        {u"C:\\Music\\ab.mp", u"\\", u"..\\ab.mp"},      // 14 characters
        {u"D:\\Users\\Ann\\Music\\song.mp3", u"\\", u"..\\song.mp3"},
        {u"C:\\Data\\Music\\", u"\\", u"..\\Music\\"}, // a final separator does not count
        {u"/home/ann/Music/song.mp3", u"/", u"../song.mp3"},
        {u"/srv/a", u"/", u"/srv/a"},
        {u"no-separator-at-all", u"/", u"no-separator-at-all"},
        {u"", u"/", u""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(RowPathText(r.path, r.separators), r.shown);
}

TEST(HostActions, ChosenPathMustFitTheRecordWhole) {
    EXPECT_EQ(CheckChosenPath(std::u16string(255, u'a')), ChosenPathCheck::Ok);
    EXPECT_EQ(CheckChosenPath(std::u16string(256, u'a')), ChosenPathCheck::TooLong);
    EXPECT_EQ(CheckChosenPath(u""), ChosenPathCheck::Empty);
    // The longest accepted path survives the record unchanged.
    KeyActionRecord r;
    const std::u16string longest(255, u'z');
    r.setPath(longest);
    EXPECT_EQ(r.path(), longest);
}

TEST(HostActions, FindsTheFirstHostActionOfTheReportedCode) {
    KeyActionTable table;
    table.clear();
    const auto assign = [&](std::size_t key, AssignmentKind kind, std::u16string_view path) {
        table[key].setKind(kind);
        table[key].setPath(path);
    };
    constexpr std::size_t kFn = 100, kApps = 101, kKeyA = 63, kKeyB = 83;
    assign(kFn, AssignmentKind::RunProgram, u"/opt/fn/tool");
    assign(kApps, AssignmentKind::OpenFolder, u"/home/apps");
    assign(kKeyA, AssignmentKind::Function, u"/old/path"); // kinds 0..3 and 255 start nothing
    assign(kKeyB, AssignmentKind::PlayAudio, u"");         // an emptied path starts nothing

    struct Row {
        std::uint32_t reported;
        std::u16string_view path; // empty: nothing starts
        HostLaunch launch;
    };
    const Row rows[] = {
        {0x5D, u"/opt/fn/tool", HostLaunch::StartProgram},  // keys 100 and 101 share 0x5D
        {0x15D, u"/opt/fn/tool", HostLaunch::StartProgram}, // only the low byte counts
        {0x41, u"", HostLaunch::OpenWithDesktop},
        {0x42, u"", HostLaunch::OpenWithDesktop},
        {0x43, u"", HostLaunch::OpenWithDesktop},
    };
    for (const Row& r : rows) {
        const auto action = FindHostActionFor(table, r.reported);
        ASSERT_EQ(action.has_value(), !r.path.empty()) << r.reported;
        if (!action)
            continue;
        EXPECT_EQ(action->path, r.path);
        EXPECT_EQ(action->launch, r.launch);
        EXPECT_EQ(action->parts, SplitHostPath(r.path));
    }
}

} // namespace
} // namespace orvo
