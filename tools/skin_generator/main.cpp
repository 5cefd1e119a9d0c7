// skin_generator OUTPUT_FOLDER: draws every picture of the skin into OUTPUT_FOLDER (the
// image folder "png/" beside the program) and its dialog subfolders. The output depends on
// nothing but this program and the fonts, so each build writes the same bytes.
// skin_generator --desktop-icons FOLDER NAME: draws the desktop icon into FOLDER instead.

#include "tools/skin_generator/desktop_icon.h"
#include "tools/skin_generator/skin_painter.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--desktop-icons") == 0)
        return orvo::skin::WriteDesktopIcons(QString::fromLocal8Bit(argv[2]),
                                             QString::fromLocal8Bit(argv[3]))
                   ? 0
                   : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_generator OUTPUT_FOLDER\n");
        return 2;
    }
    QString root = QString::fromLocal8Bit(argv[1]);
    if (!root.endsWith(u'/'))
        root += u'/';

    using namespace orvo::skin;
    SkinWriter out(root);
    QImage window;
    PaintMainWindow(out, window);
    PaintLeftPanel(out, window);
    PaintResources(out);
    PaintKeymapDialog(out);
    PaintMacroDialog(out);
    PaintProfileDialog(out);
    PaintColourDialog(out);
    return out.finish() ? 0 : 1;
}
