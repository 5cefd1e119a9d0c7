#pragma once
// CMacroRecordDlg: the macro manager. A skinned dialog over a MacroEditor, which holds every
// rule: the dialog forwards each click, menu command, list notification, repeat-count edit and
// hooked key stroke to it and then shows what it holds (both lists, the tick boxes, the record
// button's text, the repeat count) and holds the keyboard hook exactly while it asks for it.
//
// One dialog lives for the whole run. openOn() shows it, window-modal over its parent, on a
// copy of the program's macro store; it ends with finished(QDialog::Accepted) after OK, when
// acceptedStore() holds the macros to keep, or with Rejected after "Cancelar", the close box or
// the window manager's close, when nothing is kept. Enter and Escape never end it.

#include "controls/draw_label.h"
#include "model/colour_model.h"
#include "model/macro_editor.h"

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QStringView>

#include <array>
#include <chrono>
#include <cstddef>

class QAction;
class QLineEdit;
class QMenu;

namespace orvo {

class CTransparentListBox;
class ImageStore;
class KeyboardHook;
class Prompts;
class SkinnedWindow;

// Pictures, relative to the image folder.
inline constexpr QStringView kMacroPictureFolder = u"MacroManagement/";
inline constexpr QStringView kMacroBackgroundImage = u"MacroManagement/MacroManagement.png";

// The controls (x, y, width, height).
inline constexpr QRect kMacroListRect{20, 88, 112, 240};
inline constexpr QRect kEventListRect{163, 88, 100, 240};
inline constexpr QRect kRepeatEditRect{295, 318, 84, 18};

// Both lists: "Arial" 16 in white, the selected row 0xFFFF00 (a colour value, red in the low
// byte), a black shadow 2 pixels right and down.
inline constexpr int kMacroListTextHeight = 16;
inline constexpr auto kMacroListFace = u"Arial";
inline constexpr ColorRef kMacroListTextColour = 0xFFFFFF;
inline constexpr ColorRef kMacroListSelectedColour = 0xFFFF00;
inline constexpr ColorRef kMacroListShadowColour = 0x000000;
inline constexpr int kMacroListShadowOffset = 2;

// The painted texts. The record button's text follows the recording state (kRecordLabel);
// the buttons' texts end before the buttons' right edges.
inline constexpr std::array<PlacedText, 13> kMacroDialogLabels{{
    {u"Gestión de macros", {6, 9}, 16},
    {u"Macro(s)", {22, 60}, 15},
    {u"Entrada de", {160, 60}, 15},
    {u"Opciones", {288, 60}, 15},
    {u"Empezar a grabar", {292, 103}, 13, 379},
    {u"Retrasar", {290, 153}, 15},
    {u"Entre", {290, 168}, 15},
    {u"Teclas", {290, 183}, 15},
    {u"Loop", {325, 300}, 15},
    {u"Nuevo", {35, 372}, 13, 77},
    {u"Borrar", {95, 372}, 13, 137},
    {u"OK", {270, 372}, 13, 307},
    {u"Cancelar", {314, 372}, 13, 367},
}};
inline constexpr std::size_t kRecordLabel = 4;

// Ours: OK could not write the macros or "keymap.bin" (they are kept in memory).
inline constexpr auto kMacrosNotSavedText =
    u"No se pudieron guardar las macros; los cambios siguen en memoria";

class CMacroRecordDlg : public QDialog {
    Q_OBJECT
public:
    // `images` is the main image folder (the dialog's pictures lie in its "MacroManagement/",
    // the shape and the list icons in the folder itself). The clock times recorded strokes.
    CMacroRecordDlg(const ImageStore& images, Prompts& prompts, KeyboardHook& hook,
                    MacroEditor::Clock clock = &std::chrono::steady_clock::now,
                    QWidget* parent = nullptr);
    ~CMacroRecordDlg() override;

    // Starts from a copy of `store` and shows the dialog; returns at once.
    void openOn(const MacroStore& store);
    // What OK copied back.
    const MacroStore& acceptedStore() const { return m_accepted; }
    // Where the macros the dialog opened on went (keys playing them follow them).
    MacroRenumbering acceptedRenumbering() const { return m_editor.renumbering(); }

    const MacroEditor& editor() const { return m_editor; }
    CTransparentListBox* macroList() const { return m_macroList; }
    CTransparentListBox* eventList() const { return m_eventList; }
    QLineEdit* repeatEdit() const { return m_repeatEdit; }
    QMenu* eventMenu() const { return m_eventMenu; }
    // The button the pointer lights up, or -1.
    int litButton() const { return m_lit; }
    // The picture the dialog shows now.
    QImage compose() const;

public Q_SLOTS:
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void click(int button);
    void onHookEvent(QWidget* window, int virtualKey, quint32 flags);
    void onMacroRowChanged(int row);
    void onEventRowChanged(int row);
    void onRenamed(int before, int after);
    void onDelayEdited(int line, int value);
    void onEditBegin();
    void onRepeatTextChanged(const QString& text);
    void onMenuCommand(QAction* action);
    void openEventMenu(QPoint global);
    void tell(const Notice& notice);
    // Shows what the editor holds and puts the hook in place or away as it asks.
    void refresh();
    void syncHook();

    const ImageStore& m_images;
    Prompts& m_prompts;
    KeyboardHook& m_hook;
    MacroEditor m_editor;
    MacroStore m_accepted;
    SkinnedWindow* m_skin = nullptr;
    CTransparentListBox* m_macroList = nullptr;
    CTransparentListBox* m_eventList = nullptr;
    QLineEdit* m_repeatEdit = nullptr;
    QMenu* m_eventMenu = nullptr;
    int m_lit = -1;
    bool m_refreshing = false; // the controls are being set from the editor
};

} // namespace orvo
