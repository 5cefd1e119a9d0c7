#pragma once
// CKeyMap: the key assignment dialog. It decides what one key does - a single key or a
// combination captured through the keyboard hook, a macro, a function of the tree, or a
// host-side action with a picked path - on four pages, with "Deshabilitar Tecla",
// "Resetear", "Cerrar" and "Guardar". Every rule lives in KeyAssignmentState and its
// functions; the dialog feeds them clicks, keys and focus changes and draws what they say.
//
// The caller prepares a showing for a key, runs the dialog (open() or exec()), and on
// Accepted stores state() with record(), the key's record as the dialog's page changes left
// it; on Rejected nothing the dialog did is kept.

#include "controls/skinned_window.h"
#include "model/key_actions.h"
#include "model/key_assignment.h"
#include "model/key_map_layout.h"

#include <QDialog>

#include <array>
#include <cstddef>
#include <vector>

class QLineEdit;
class QListWidget;
class QTreeWidgetItem;

namespace orvo {

class ImageStore;
class KeyboardHook;
class Prompts;
class VividTree;
struct ConfigState;

class CKeyMap : public QDialog {
    Q_OBJECT
public:
    CKeyMap(const ImageStore& images, const ConfigState& config, Prompts& prompts,
            KeyboardHook& hook, QWidget* parent = nullptr);
    ~CKeyMap() override;

    // Starts a showing for `keyIndex` from its stored record, its enable bit and the macros,
    // and takes the keyboard hook until the dialog ends.
    void prepare(std::size_t keyIndex);

    const KeyAssignmentState& state() const { return m_state; }
    const KeyActionRecord& record() const { return m_record; }
    bool hookInstalled() const { return m_hookInstalled; }

    QLineEdit* singleKeyEdit() const { return m_singleKeyEdit; }
    QLineEdit* combinationEdit() const { return m_combinationEdit; }
    QListWidget* macroList() const { return m_macroList; }
    VividTree* functionTree() const { return m_tree; }

    // The dialog as it is drawn now, controls included.
    QImage composeNow();

public Q_SLOTS:
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillTree();
    void fillMacroList();
    void onHookEvent(QWidget* window, int virtualKey, quint32 flags);
    void onEditFocused(QLineEdit* edit);
    void click(QPoint p);
    void browse(int row);
    // Controls after a change of the state: which show, what the edits say, and the focus
    // the state asks for.
    void syncControls();
    void applyFocus();
    void releaseHook();
    KeyMapSelections selections() const;

    QImage compose() const;
    void paintPageTexts(QPainter& p) const;
    void paintPage(QPainter& p) const;
    void paintAdvancedRows(QPainter& p) const;
    void paintFooter(QPainter& p) const;

    const ImageStore& m_images;
    const ConfigState& m_config;
    Prompts& m_prompts;
    KeyboardHook& m_hook;
    SkinnedWindow m_skin;

    KeyAssignmentState m_state;
    KeyActionRecord m_record;
    KeyMapHover m_hover;
    bool m_hookInstalled = false;
    // Set while the dialog moves the focus itself (showing a page, the focus the state asks
    // for): the edits' focus rules run for the user's focus changes only.
    bool m_syncing = false;

    QLineEdit* m_singleKeyEdit = nullptr;
    QLineEdit* m_combinationEdit = nullptr;
    QListWidget* m_macroList = nullptr;
    VividTree* m_tree = nullptr;
    std::vector<QTreeWidgetItem*> m_treeItems; // per function table row
};

} // namespace orvo
