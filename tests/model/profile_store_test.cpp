#include "model/profile_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <unistd.h>

#include "model/config_files.h"
#include "model/utf16.h"
#include "test_folder.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::u16string>;
using Bytes = std::vector<std::uint8_t>;

struct Profiles : ::testing::Test {
    fs::path dir;
    fs::path folder;
    std::unique_ptr<ConfigState> state = std::make_unique<ConfigState>();
    std::unique_ptr<ProfileStore> store;

    void SetUp() override {
        dir = FreshTestFolder("orvo_profiles");
        state->folders = MakeProgramFolders(dir / "orvo", (dir / "data").string());
        ASSERT_TRUE(EnsureProfileFolder(state->folders));
        folder = state->folders.profileFolder();
        store = std::make_unique<ProfileStore>(folder);
    }
    void TearDown() override { fs::remove_all(dir); }

    static void Write(const fs::path& p, const Bytes& b) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static Bytes Read(const fs::path& p) { return ReadFilePrefix(p, 1 << 20).value_or(Bytes{}); }
    // Profiles named by the rows, each file holding its own name's first letter.
    void Make(std::initializer_list<const char*> names, std::size_t size = kNewProfileFileSize) {
        for (const char* n : names)
            Write(folder / (std::string(n) + ".bin"), Bytes(size, static_cast<std::uint8_t>(n[0])));
        store->refresh();
    }
    // Every file below dir with its content.
    std::map<fs::path, Bytes> Tree() const {
        std::map<fs::path, Bytes> tree;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            tree[e.path()] = e.is_regular_file() ? Read(e.path()) : Bytes{};
        return tree;
    }
    void Select(std::u16string_view row) {
        const auto it = std::find(store->rows().begin(), store->rows().end(), row);
        ASSERT_NE(it, store->rows().end());
        store->select(static_cast<std::size_t>(it - store->rows().begin()));
    }
};

Notice Msg(std::u16string_view text) {
    return {text, kProfileCaption};
}

TEST_F(Profiles, Names) {
    struct Row {
        unsigned taken;
        std::u16string_view name;
    };
    for (const Row r : {Row{0, u"Profile_1"}, Row{8, u"Profile_9"}, Row{9, u"Profile010"},
                        Row{97, u"Profile098"}, Row{98, u"Profile99"}, Row{99, u"Profile100"}}) {
        unsigned asked = 0;
        EXPECT_EQ(DefaultProfileName([&](const std::u16string&) { return asked++ < r.taken; }),
                  r.name);
    }
    const Rows rows{u"Copy of A", u"Copy of A 1"};
    const auto in = [&](const std::u16string& n) {
        return std::find(rows.begin(), rows.end(), n) != rows.end();
    };
    EXPECT_EQ(CopyProfileName(u"B", in), u"Copy of B");
    EXPECT_EQ(CopyProfileName(u"A", in), u"Copy of A 2");
}

TEST_F(Profiles, RefreshListsSixRegularBinFilesByName) {
    Make({"h", "G", "f", "e", "d", "c", "b"});
    Write(folder / "a.txt", {1});
    Write(folder / "a.bin.bin", {1});
    fs::create_directory(folder / "0dir.bin");
    fs::create_symlink(dir / "outside.bin", folder / "0link.bin");
    store->refresh();
    EXPECT_EQ(store->rows(), (Rows{u"a.bin", u"b", u"c", u"d", u"e", u"f"}));
    for (std::size_t r = 0; r < store->rows().size(); ++r)
        EXPECT_TRUE(fs::is_regular_file(store->pathOf(r)));
}

TEST_F(Profiles, NewAndCopy) {
    EXPECT_EQ(store->newProfile(), Notice{});
    EXPECT_EQ(store->rows(), (Rows{u"Profile_1"}));
    EXPECT_EQ(Read(folder / "Profile_1.bin"), Bytes(10068, 0));
    fs::rename(folder / "Profile_1.bin", folder / "Profile_3.bin");
    Make({"Profile_1"});
    store->newProfile();
    EXPECT_EQ(store->rows(), (Rows{u"Profile_1", u"Profile_2", u"Profile_3"}));

    // A copy of an image-only profile is a whole profile with a zero action table.
    Make({"A", "Copy of A"});
    EXPECT_EQ(store->copyProfile(), Msg(kNoProfileToCopyText));
    Select(u"A");
    EXPECT_EQ(store->copyProfile(), Notice{});
    const Bytes copy = Read(folder / "Copy of A 1.bin");
    ASSERT_EQ(copy.size(), 206928u);
    EXPECT_EQ(Bytes(copy.begin(), copy.begin() + 10068), Bytes(10068, 'A'));
    EXPECT_EQ(Bytes(copy.begin() + 10068, copy.end()), Bytes(196860, 0));

    // Six profiles: New says so, Copy does nothing.
    ASSERT_EQ(store->rows().size(), 6u);
    const auto before = Tree();
    EXPECT_EQ(store->newProfile(), Msg(kTooManyProfilesText));
    Select(u"A");
    EXPECT_EQ(store->copyProfile(), Notice{});
    EXPECT_EQ(Tree(), before);
}

TEST_F(Profiles, SaveAndOpen) {
    Make({"P", "Q"});
    const auto none = [] { return std::optional<fs::path>{}; };
    EXPECT_EQ(store->saveProfile(*state, none), Msg(kNoProfileToSaveText));
    EXPECT_EQ(store->openProfile(*state, none), Msg(kNoProfileToOpenText));
    state->image.bytes[7] = 7;
    Select(u"P");
    EXPECT_EQ(store->saveProfile(*state, [&] { return std::optional(dir / "chosen.bin"); }),
              Notice{});
    const Bytes saved = SerialiseProfile(state->image, state->keyActions);
    EXPECT_EQ(Read(folder / "P.bin"), saved);
    EXPECT_EQ(Read(dir / "chosen.bin"), saved);

    // Cancelling the file dialog, or a file that is no profile, changes nothing.
    Write(dir / "short.bin", Bytes(10067, 9));
    Write(dir / "long.bin", Bytes(206929, 9));
    Select(u"Q");
    const auto before = Tree();
    EXPECT_EQ(store->openProfile(*state, none), Notice{});
    for (const char* foreign : {"short.bin", "long.bin", "missing.bin", "."})
        EXPECT_EQ(store->openProfile(*state, [&] { return std::optional(dir / foreign); }),
                  Msg(kNotAProfileText));
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(SerialiseProfile(state->image, state->keyActions), saved);

    // A profile of either size becomes the configuration and the selected profile.
    for (const std::size_t size : {kNewProfileFileSize, kProfileFileSize}) {
        Write(dir / "other.bin", Bytes(size, 3));
        EXPECT_EQ(store->openProfile(*state, [&] { return std::optional(dir / "other.bin"); }),
                  Notice{});
        EXPECT_EQ(state->image.bytes[7], 3);
        EXPECT_EQ(state->keyActions[200].bytes[0], size == kProfileFileSize ? 3 : 0);
        EXPECT_EQ(Read(folder / "Q.bin"), SerialiseProfile(state->image, state->keyActions));
    }
}

TEST_F(Profiles, Delete) {
    Make({"only"});
    store->select(0);
    EXPECT_EQ(store->deleteProfile([](const Notice&) { return true; }), Msg(kLastProfileText));
    Make({"other"});
    EXPECT_EQ(store->deleteProfile([](const Notice&) { return true; }),
              Msg(kNoProfileToDeleteText));
    Select(u"only");
    std::vector<Notice> asked;
    const auto answer = [&](bool ok) {
        return [&asked, ok](const Notice& q) { return asked.push_back(q), ok; };
    };
    EXPECT_EQ(store->deleteProfile(answer(false)), Notice{});
    EXPECT_TRUE(fs::exists(folder / "only.bin"));
    Select(u"only");
    EXPECT_EQ(store->deleteProfile(answer(true)), Notice{});
    EXPECT_EQ(store->rows(), (Rows{u"other"}));
    EXPECT_EQ(asked, (std::vector<Notice>(2, Msg(kConfirmDeleteProfileText))));

    // A file already gone counts as deleted.
    Make({"third"});
    Select(u"third");
    fs::remove(folder / "third.bin");
    EXPECT_EQ(store->deleteProfile(answer(true)), Notice{});
    EXPECT_EQ(store->rows(), (Rows{u"other"}));
}

TEST_F(Profiles, Rename) {
    Make({"A", "B"}, kProfileFileSize);
    EXPECT_EQ(store->renameProfile(0, u"C"), Notice{});
    EXPECT_EQ(store->rows(), (Rows{u"B", u"C"}));
    EXPECT_EQ(Read(folder / "C.bin"), Bytes(kProfileFileSize, 'A'));
    EXPECT_EQ(store->renameProfile(1, u"D.bin"), Notice{}); // the extension is not doubled
    EXPECT_EQ(store->rows(), (Rows{u"B", u"D"}));

    // Onto a listed profile: nothing happens. Onto a file the list does not show: "Fail".
    // Hostile names: refused. In every case no file anywhere changes.
    Write(dir / "x.bin", {1, 2, 3});
    fs::create_directory(folder / "a");
    fs::create_directory(folder / "dir.bin");
    struct Row {
        std::u16string name;
        Notice notice;
    };
    const Row rows[] = {
        {u"B", {}},
        {u"dir", Msg(kRenameFailedText)},
        {u"../x", Msg(kBadProfileNameText)},
        {u"a/b", Msg(kBadProfileNameText)},
        {u"a\\b", Msg(kBadProfileNameText)},
        {u"", Msg(kBadProfileNameText)},
        {u"..", Msg(kBadProfileNameText)},
        {u".", Msg(kBadProfileNameText)},
        {u".bin", Msg(kBadProfileNameText)},
        {std::u16string(u"\0x", 2), Msg(kBadProfileNameText)},
        {u"\xD800", Msg(kBadProfileNameText)},
    };
    const auto before = Tree();
    for (const Row& r : rows) {
        EXPECT_EQ(store->renameProfile(1, r.name), r.notice) << ToUtf8(r.name);
        EXPECT_EQ(Tree(), before) << ToUtf8(r.name);
        EXPECT_EQ(store->rows(), (Rows{u"B", u"D"}));
    }
}

} // namespace
} // namespace orvo
