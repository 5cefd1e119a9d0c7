// The pickers of the "Avanzado" rows: what each asks, where it starts, and which picks it
// refuses with a message instead of storing.

#include "app/prompts.h"
#include "keymap/key_map_pickers.h"

#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace orvo {
namespace {

struct PickerPrompts : Prompts {
    std::optional<QString> answer;
    QString asked; // "<title>|<folder>|<filter>" or "folder|<title>|<folder>"
    std::vector<QString> warnings;
    bool confirm(const QString&, const QString&) override { return false; }
    void warn(const QString& caption, const QString& text) override {
        warnings.push_back(caption + u'|' + text);
    }
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
    std::optional<QString> openFile(const QString& title, const QString& folder,
                                    const QString& filter) override {
        asked = title + u'|' + folder + u'|' + filter;
        return answer;
    }
    std::optional<QString> pickFolder(const QString& title, const QString& folder) override {
        asked = QStringLiteral("folder|") + title + u'|' + folder;
        return answer;
    }
};

TEST(KeyMapPickers, AskWhereTheRowsPathIsAndRefuseWhatCannotBeStored) {
    std::random_device rd;
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("orvo-pick-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(root / "Música");
    std::ofstream(root / "notes.txt") << "x";
    std::ofstream(root / "run.sh") << "#!/bin/sh\n";
    std::filesystem::permissions(root / "run.sh", std::filesystem::perms::owner_all);
    const auto q = [&](const std::filesystem::path& p) {
        return QString::fromStdString(p.string());
    };
    const QString music = q(root / "Música");
    const QString home = QDir::homePath();
    const QString longPath = QStringLiteral("/") + QString(255, u'x');

    struct Row {
        const char* what;
        std::size_t row;
        QString current;
        std::optional<QString> answer;
        QString asked;
        std::optional<QString> result;
        QString warning; // empty for none
    };
    const Row rows[] = {
        {"cancelled",
         0,
         {},
         std::nullopt,
         QStringLiteral("Abrir|") + home + QStringLiteral("|mp3 Files(*.mp3)"),
         std::nullopt,
         {}},
        {"a song beside the last one",
         0,
         music + QStringLiteral("/a.mp3"),
         music + QStringLiteral("/b.mp3"),
         QStringLiteral("Abrir|") + music + QStringLiteral("|mp3 Files(*.mp3)"),
         music + QStringLiteral("/b.mp3"),
         {}},
        {"the last folder is gone",
         2,
         q(root / "gone" / "a.txt"),
         q(root / "notes.txt"),
         QStringLiteral("Abrir|") + home + QStringLiteral("|txt Files(*.txt)"),
         q(root / "notes.txt"),
         {}},
        {"a program",
         1,
         {},
         q(root / "run.sh"),
         QStringLiteral("Abrir|") + home + QStringLiteral("|Programas (*)"),
         q(root / "run.sh"),
         {}},
        {"a file that is no program",
         1,
         {},
         q(root / "notes.txt"),
         QStringLiteral("Abrir|") + home + QStringLiteral("|Programas (*)"),
         std::nullopt,
         QStringLiteral("Advertencia|El archivo elegido no es un programa ejecutable.")},
        {"a folder starts in itself",
         3,
         music,
         music,
         QStringLiteral("folder|modification path|") + music,
         music,
         {}},
        {"an empty folder",
         3,
         {},
         QString(),
         QStringLiteral("folder|modification path|") + home,
         std::nullopt,
         QStringLiteral("Advertencia|Seleccione una carpeta")},
        {"256 units do not fit",
         3,
         {},
         longPath,
         QStringLiteral("folder|modification path|") + home,
         std::nullopt,
         QStringLiteral("Advertencia|La ruta elegida es demasiado larga: admite como máximo 255 "
                        "caracteres.")},
        {"255 units do",
         3,
         {},
         longPath.left(255),
         QStringLiteral("folder|modification path|") + home,
         longPath.left(255),
         {}},
    };
    for (const Row& r : rows) {
        PickerPrompts prompts;
        prompts.answer = r.answer;
        const auto picked = PickRowPath(prompts, r.row, r.current.toStdU16String());
        EXPECT_EQ(prompts.asked, r.asked) << r.what;
        const std::optional<QString> got =
            picked ? std::optional(QString::fromStdU16String(*picked)) : std::nullopt;
        EXPECT_EQ(got, r.result) << r.what;
        EXPECT_EQ(prompts.warnings,
                  r.warning.isEmpty() ? std::vector<QString>{} : std::vector<QString>{r.warning})
            << r.what;
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

} // namespace
} // namespace orvo
