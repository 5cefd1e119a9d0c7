// The pickers of the "Avanzado" rows: what each asks, where it starts, and which picks it
// refuses with a message instead of storing.

#include "app/prompts.h"
#include "keymap/key_map_pickers.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace orvo {
namespace {

// Answers the picker with `answer`; remembers what was asked and what was said.
struct PickerPrompts : Prompts {
    std::optional<QString> answer;
    QString asked; // title|folder|filter
    QString said;  // caption|text
    bool confirm(const QString&, const QString&) override { return false; }
    void warn(const QString& caption, const QString& text) override {
        said = caption + u'|' + text;
    }
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
    std::optional<QString> openFile(const QString& title, const QString& folder,
                                    const QString& filter) override {
        asked = title + u'|' + folder + u'|' + filter;
        return answer;
    }
    std::optional<QString> pickFolder(const QString& title, const QString& folder) override {
        asked = title + u'|' + folder + u'|';
        return answer;
    }
};

TEST(KeyMapPickers, StartWhereTheRowsPathIsAndRefuseWhatCannotBeStored) {
    const QTemporaryDir temporary;
    const std::filesystem::path root = temporary.path().toStdString();
    std::filesystem::create_directories(root / "Música");
    std::ofstream(root / "notes.txt") << "x";
    std::ofstream(root / "run.sh") << "#!/bin/sh\n";
    std::filesystem::permissions(root / "run.sh", std::filesystem::perms::owner_all);
    const auto q = [&](const char* name) { return QString::fromStdString((root / name).string()); };
    const QString music = q("Música");
    const QString home = QDir::homePath();
    const QString tooLong = QStringLiteral("/") + QString(255, u'x'); // 256 units

    struct Row {
        std::size_t row;
        QString current;
        std::optional<QString> answer;
        QString asked;
        std::optional<QString> result;
        QString said;
    };
    const QString folderPicker = QStringLiteral("modification path|");
    const Row rows[] = {
        {0,
         music + QStringLiteral("/a.mp3"),
         music + QStringLiteral("/b.mp3"),
         QStringLiteral("Abrir|") + music + QStringLiteral("|mp3 Files(*.mp3)"),
         music + QStringLiteral("/b.mp3"),
         {}},
        {2,
         q("gone/a.txt"),
         q("notes.txt"),
         QStringLiteral("Abrir|") + home + QStringLiteral("|txt Files(*.txt)"),
         q("notes.txt"),
         {}},
        {1,
         {},
         q("run.sh"),
         QStringLiteral("Abrir|") + home + QStringLiteral("|Programas (*)"),
         q("run.sh"),
         {}},
        {1,
         {},
         q("notes.txt"),
         QStringLiteral("Abrir|") + home + QStringLiteral("|Programas (*)"),
         std::nullopt,
         QStringLiteral("Advertencia|El archivo elegido no es un programa ejecutable.")},
        {3, music, music, folderPicker + music + u'|', music, {}},
        {3,
         {},
         QString(),
         folderPicker + home + u'|',
         std::nullopt,
         QStringLiteral("Advertencia|Seleccione una carpeta")},
        {3,
         {},
         tooLong,
         folderPicker + home + u'|',
         std::nullopt,
         QStringLiteral("Advertencia|La ruta elegida es demasiado larga: admite como máximo 255 "
                        "caracteres.")},
        {3, {}, tooLong.left(255), folderPicker + home + u'|', tooLong.left(255), {}},
    };
    for (const Row& r : rows) {
        PickerPrompts prompts;
        prompts.answer = r.answer;
        const auto picked = PickRowPath(prompts, r.row, r.current.toStdU16String());
        EXPECT_EQ(prompts.asked, r.asked) << r.row;
        EXPECT_EQ(picked ? std::optional(QString::fromStdU16String(*picked)) : std::nullopt,
                  r.result)
            << prompts.asked.toStdString();
        EXPECT_EQ(prompts.said, r.said) << prompts.asked.toStdString();
    }
}

} // namespace
} // namespace orvo
