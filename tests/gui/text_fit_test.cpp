// Every text the main window, its drop-down lists, its help menu and the colour dialog draw
// stays inside the window and ends before whatever lies to its right: the next text, a picture
// or control, or the edge of the panel, button, key, list or menu it sits in. The places come
// from the layout tables and the skin's picture sizes; each text is measured by the pixels it
// draws. The screenshots the README shows are written here too.

#include "main_window_fixture.h"

#include "app/lighting_panel.h"
#include "app/main_window_composer.h"
#include "colour/c_custom_color_dialog.h"
#include "controls/draw_label.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "model/effects.h"
#include "model/lighting_rules.h"

#include <QPainter>

#include <algorithm>
#include <optional>

namespace orvo::test {
namespace {

std::vector<DrawnLabel>& Drawn() {
    static std::vector<DrawnLabel> drawn;
    return drawn;
}

// Collects every DrawLabel call made while it lives.
struct LabelRecorder {
    LabelRecorder() {
        Drawn().clear();
        SetLabelObserver([](const DrawnLabel& label) { Drawn().push_back(label); });
    }
    ~LabelRecorder() { SetLabelObserver(nullptr); }
    LabelRecorder(const LabelRecorder&) = delete;
    LabelRecorder& operator=(const LabelRecorder&) = delete;
};

// The pixels a text covers when drawn as it was, in window coordinates.
QRect Ink(const DrawnLabel& label) {
    const QPoint origin(label.at.x - 16, label.at.y - 16);
    QImage image(640, 2 * label.height + 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-origin);
    DrawLabel(painter, label.text, label.at.x, label.at.y, label.height, kLabelColour,
              label.rightLimit);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) != 0)
                ink |= QRect(x, y, 1, 1);
    }
    return ink.translated(origin);
}

QRect Rect(const InclusiveRect& r) {
    return ToQRect(r);
}

// What lies on a window and may stand to the right of a text.
struct Layout {
    QRect window;
    std::vector<QRect> containers; // a text starting inside one ends before its right edge
    std::vector<QRect> obstacles;  // pictures and controls
};

// The first column a text starting at `label.at` must not reach, and what it is.
std::pair<int, QString> FreeRight(const DrawnLabel& label, const QRect& ink, const Layout& layout,
                                  const std::vector<DrawnLabel>& all) {
    const QPoint start(label.at.x, label.at.y);
    int limit = layout.window.right() + 1;
    QString what = QStringLiteral("the window's edge");
    // The innermost container: listed from the innermost out, the first that holds the start.
    for (const QRect& c : layout.containers) {
        if (c.contains(start)) {
            limit = c.right();
            what = QStringLiteral("the edge of the area at %1,%2").arg(c.left()).arg(c.top());
            break;
        }
    }
    const auto consider = [&](const QRect& r, const QString& name) {
        const bool rightOfStart = r.left() > label.at.x;
        const bool sameRows = r.top() <= ink.bottom() && ink.top() <= r.bottom();
        if (rightOfStart && sameRows && r.left() < limit) {
            limit = r.left();
            what = name;
        }
    };
    for (const QRect& r : layout.obstacles)
        consider(r, QStringLiteral("the picture at %1,%2").arg(r.left()).arg(r.top()));
    for (const DrawnLabel& other : all)
        consider(QRect(other.at.x, other.at.y, 1, other.height), u'"' + other.text + u'"');
    return {limit, what};
}

bool SameLabel(const DrawnLabel& a, const DrawnLabel& b) {
    return a.text == b.text && a.at == b.at && a.height == b.height;
}

// Checks the texts drawn since the recorder started. With `under` (the texts of the same
// window without its open list or menu), only the texts the list or menu adds are checked:
// the others lie under it or were checked without it.
void ExpectTextsFit(const Layout& layout, const char* where,
                    const std::vector<DrawnLabel>* under = nullptr) {
    std::vector<DrawnLabel> all = Drawn();
    if (under)
        std::erase_if(all, [&](const DrawnLabel& label) {
            return std::ranges::any_of(*under,
                                       [&](const DrawnLabel& u) { return SameLabel(u, label); });
        });
    ASSERT_FALSE(all.empty()) << where;
    for (const DrawnLabel& label : all) {
        const QRect ink = Ink(label);
        if (ink.isNull())
            continue; // a space-only text
        const auto [limit, what] = FreeRight(label, ink, layout, all);
        EXPECT_LT(ink.right(), limit)
            << where << ": \"" << label.text.toStdString() << "\" ends at " << ink.right()
            << ", into " << what.toStdString();
        EXPECT_TRUE(layout.window.contains(ink))
            << where << ": \"" << label.text.toStdString() << "\" leaves the window";
        EXPECT_GE(ink.top(), label.at.y) << where << ": " << label.text.toStdString();
        EXPECT_LT(ink.bottom(), label.at.y + label.height)
            << where << ": " << label.text.toStdString();
    }
}

class TextFitTest : public MainWindowTest {
protected:
    QRect picture(std::u16string_view name, Point at) {
        return QRect(ToQPoint(at), window().images().image(ToQString(name)).size());
    }

    // The main window's places in the state it is in now.
    Layout mainLayout() {
        const MainWindowState& state = window().state();
        Layout layout;
        layout.window = QRect(QPoint(0, 0), window().composedImage().size());
        // Innermost first: keys, buttons and selector bars, then the open list or menu, then
        // the left panel.
        for (const KeyPicture& key : KeyPictureTable) {
            if (!key.rect.empty())
                layout.containers.push_back(
                    Rect(key.rect).translated(kKeyboardOrigin.x, kKeyboardOrigin.y));
        }
        if (state.effectListOpen)
            layout.containers.push_back(QRect(QPoint(kEffectListArea.left, kEffectListArea.top),
                                              QPoint(kListRight, kEffectListArea.bottom)));
        if (state.palmListOpen)
            layout.containers.push_back(QRect(QPoint(kPalmListArea.left, kPalmListArea.top),
                                              QPoint(kListRight, kPalmListArea.bottom)));
        if (state.helpMenuOpen)
            layout.containers.push_back(Rect(kHelpMenuArea));
        for (MainRegion button : {kProfilesRegion, kMacrosRegion})
            layout.containers.push_back(Rect(RegionPlaceOf(button).hit));
        for (MainRegion selector : {kEffectSelectorRegion, kPalmSelectorRegion}) {
            QRect bar = Rect(RegionPlaceOf(selector).hit);
            bar.setRight(kSelectorArrowLeft); // the drop-down arrow
            layout.containers.push_back(bar);
        }
        layout.containers.push_back(Rect(kLeftPanelArea));

        // Under an open list or menu nothing else counts.
        if (state.effectListOpen || state.palmListOpen || state.helpMenuOpen)
            return layout;
        for (const PlacedPicture& logo : kLogoPictures)
            layout.obstacles.push_back(picture(logo.name, logo.at));
        // The regions' pictures, those of the effect's own controls only when it has them.
        const EffectControls controls =
            ControlsForEffect(config().image.byte(field::lightingEffect));
        for (int r = 0; r < static_cast<int>(kMainRegionCount) + 2; ++r) {
            const bool slot = r >= kFirstColourSlotRegion && r <= kLastColourSlotRegion;
            const bool arrow = r >= kDirectionTRegion && r <= kDirectionLRegion;
            const bool diySwitch = r == kKeymapSwitchRegion || r == kDiySwitchRegion;
            if ((slot && !controls.colourSlots) || (arrow && !controls.direction) ||
                (diySwitch && !controls.diySwitches))
                continue;
            const RegionPlace& place = RegionPlaceOf(static_cast<MainRegion>(r));
            if (!place.picture.empty())
                layout.obstacles.push_back(picture(place.picture, place.drawAt));
            else if (slot)
                layout.obstacles.push_back(Rect(place.hit)); // a filled colour square
        }
        // The palm-rest swatch's frame, both corners on the line.
        const int frame = lighting_ui::kPalmSwatchFrameSize;
        layout.obstacles.push_back(
            QRect(ToQPoint(lighting_ui::kPalmSwatchFrame), QSize(frame + 1, frame + 1)));
        return layout;
    }

    void composeAndCheck(const char* where) {
        LabelRecorder recorder;
        window().composeNow();
        ExpectTextsFit(mainLayout(), where);
    }
    // With `open` set, the texts the list or menu adds.
    void composeAndCheckOverlay(bool& open, const char* where) {
        std::vector<DrawnLabel> under;
        {
            LabelRecorder recorder;
            window().composeNow();
            under = Drawn();
        }
        open = true;
        LabelRecorder recorder;
        window().composeNow();
        ExpectTextsFit(mainLayout(), where, &under);
        window().state().closeOverlays();
    }
};

TEST_F(TextFitTest, EveryTextOfTheMainWindowFitsWhereItGoes) {
    start();
    SettingsImage& image = config().image;
    for (const Effect& effect : EffectList) {
        image.byte(field::lightingEffect) = effect.code;
        composeAndCheck(ToQString(effect.name).toUtf8().constData());
    }
    for (const Effect& effect : PalmEffectList) {
        image.byte(field::palmRest, palm::effect) = effect.code;
        composeAndCheck(ToQString(effect.name).toUtf8().constData());
    }

    MainWindowState& state = window().state();
    image.byte(field::lightingEffect) = EffectList[3].code; // the longest name
    state.hoveredEffectRow = 3;
    composeAndCheckOverlay(state.effectListOpen, "effect list");
    composeAndCheckOverlay(state.palmListOpen, "palm-rest list");
    composeAndCheckOverlay(state.helpMenuOpen, "help menu");

    // Every key labelled: a custom profile with every key coloured, in DIY mode.
    image.byte(field::lightingEffect) = kFirstCustomEffect;
    std::ranges::fill(image.customLightingTable(0), 0x80);
    state.diyMode = true;
    composeAndCheck("DIY keys");
    state.diyMode = false;

    window().setKeyboardMissing(true);
    composeAndCheck("keyboard unplugged");
}

TEST_F(TextFitTest, EveryTextOfTheColourDialogFitsWhereItGoes) {
    CCustomColorDialog dialog(ImageFolderOf(executable()));
    LabelRecorder recorder;
    dialog.grab();
    Layout layout;
    layout.window = QRect(QPoint(0, 0), dialog.size());
    for (int x : {kRgbFieldX, kHslFieldX})
        for (int y : kFieldRowY)
            layout.obstacles.push_back(QRect(QPoint(x, y), kFieldSize));
    ExpectTextsFit(layout, "colour dialog");
    for (const PlacedText& label : kColourFieldLabels)
        EXPECT_TRUE(std::ranges::any_of(Drawn(), [&](const DrawnLabel& drawn) {
            return drawn.text == label.text.toString();
        })) << label.text.toString().toStdString();
}

// Pictures of the window, its open effect list and its help menu, for the README.
TEST_F(TextFitTest, Screenshots) {
    CBrisoldeDlg& w = start();
    const auto shoot = [&](const char* name) { SaveWindowPicture(w, name); };
    shoot("screenshot-main.png");
    w.state().effectListOpen = true;
    w.state().hoveredEffectRow = 3;
    shoot("screenshot-effect-list.png");
    w.state().closeOverlays();
    w.state().helpMenuOpen = true;
    shoot("screenshot-help-menu.png");
    w.state().closeOverlays();
    w.setKeyboardMissing(true);
    shoot("screenshot-unplugged.png");
}

} // namespace
} // namespace orvo::test
