#include "keymap/c_key_map.h"

#include "app/prompts.h"
#include "controls/draw_label.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/skin_resources.h"
#include "controls/vivid_tree.h"
#include "keymap/key_map_pickers.h"
#include "keymap/key_map_texts.h"
#include "macro/keyboard_hook.h"
#include "model/config_state.h"
#include "model/function_table.h"
#include "model/host_actions.h"
#include "model/key_tables.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

namespace orvo {

namespace {

inline constexpr std::u16string_view kSelectSubItemText = u"Seleccione Sub-item";

QString Text(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString CustomImage(std::u16string_view name) {
    return kKeyMapImageFolder.toString() + Text(name);
}

void DrawCustomPng(QPainter& p, const ImageStore& images, std::u16string_view name, Point at) {
    DrawPng(p, images, CustomImage(name), at.x, at.y);
}

void DrawText(QPainter& p, const KeyMapText& text, QColor colour, int dy = 0) {
    DrawLabel(p, Text(text.text), text.at.x, text.at.y + dy, text.height, colour, text.rightLimit);
}

Point ButtonCorner(KeyMapButton button) {
    const InclusiveRect& r = KeyMapButtonTable[static_cast<std::size_t>(button)].rect;
    return {r.left, r.top};
}

// White text on black, as the dialog paints its edits and its list.
void MakeDark(QWidget& control) {
    QPalette palette = control.palette();
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        palette.setColor(role, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        palette.setColor(role, Qt::white);
    control.setPalette(palette);
    control.setFont(LabelFont(kControlTextHeight));
}

QLineEdit* MakeEdit(QWidget* parent, const QRect& place) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(place);
    edit->setFrame(false);
    // The edits show what was captured; keys reach the dialog through the hook, and nothing
    // may be typed, pasted or dropped into them.
    edit->setReadOnly(true);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setAcceptDrops(false);
    MakeDark(*edit);
    return edit;
}

// A focus change the user made inside the dialog; a window coming back to the front, or a
// menu closing, gives the focus back to where it was and chooses nothing.
bool IsUserFocus(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

CKeyMap::CKeyMap(const ImageStore& images, const ConfigState& config, Prompts& prompts,
                 KeyboardHook& hook, QWidget* parent)
    : QDialog(parent), m_images(images), m_config(config), m_prompts(prompts), m_hook(hook),
      m_skin(*this, images, kKeyMapBackgroundImage, kKeymapShapeImage) {
    m_skin.setFreeSpots([](QPoint p) { return HitTestKeyMapButton({p.x(), p.y()}) < 0; });
    setMouseTracking(true);

    m_tree = new VividTree(this);
    m_tree->setGeometry(kFunctionTreeRect);
    m_tree->setFrameShape(QFrame::NoFrame);
    m_tree->LoadTreeImages(images);
    m_tree->setBackgroundMode(VividTree::Background::Solid);
    m_tree->setIconSize(kAppIconSize);
    m_tree->setFont(LabelFont(kControlTextHeight));
    fillTree();

    m_singleKeyEdit = MakeEdit(this, kSingleKeyEditRect);
    m_combinationEdit = MakeEdit(this, kCombinationEditRect);
    for (QLineEdit* edit : {m_singleKeyEdit, m_combinationEdit})
        edit->installEventFilter(this);

    m_macroList = new QListWidget(this);
    m_macroList->setGeometry(kKeyMapMacroListRect);
    m_macroList->setFrameShape(QFrame::NoFrame);
    MakeDark(*m_macroList);

    connect(&m_hook, &KeyboardHook::hookEvent, this, &CKeyMap::onHookEvent);
    syncControls();
}

CKeyMap::~CKeyMap() {
    releaseHook();
}

void CKeyMap::fillTree() {
    m_treeItems.assign(FunctionTable.size(), nullptr);
    for (std::size_t row = 0; row < FunctionTable.size(); ++row) {
        const QStringList text{Text(FunctionTable[row].label)};
        const int group = FunctionGroupRowOf(row);
        m_treeItems[row] =
            group < 0 ? new QTreeWidgetItem(m_tree, text)
                      : new QTreeWidgetItem(m_treeItems[static_cast<std::size_t>(group)], text);
    }
}

void CKeyMap::fillMacroList() {
    m_macroList->clear();
    for (std::size_t slot = 0; slot < m_state.macroCount; ++slot)
        m_macroList->addItem(QString::fromStdU16String(m_config.macros[slot].name()));
    m_macroList->setCurrentRow(m_state.macroSelection);
    if (m_state.macroSelection < 0)
        m_macroList->clearSelection();
}

void CKeyMap::prepare(std::size_t keyIndex) {
    releaseHook();
    OpenKeyAssignment(m_state, m_config, keyIndex);
    m_record =
        keyIndex < m_config.keyActions.size() ? m_config.keyActions[keyIndex] : KeyActionRecord{};
    m_hover = {};
    setWindowTitle(QString::fromStdU16String(KeyMapCaption(m_state)));
    fillMacroList();

    m_tree->collapseAll();
    m_tree->clearSelection();
    m_tree->setCurrentItem(nullptr);
    const FunctionTreeChoice choice = TreeChoiceFor(m_state.chosenFunction);
    if (choice.expandedGroupRow >= 0)
        m_treeItems[static_cast<std::size_t>(choice.expandedGroupRow)]->setExpanded(true);
    if (choice.selectedRow >= 0) {
        QTreeWidgetItem* item = m_treeItems[static_cast<std::size_t>(choice.selectedRow)];
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }

    m_hookInstalled = m_hook.installhook(this, kHookStrokes);
    syncControls();
    update();
}

void CKeyMap::done(int result) {
    releaseHook();
    QDialog::done(result);
}

void CKeyMap::releaseHook() {
    if (!m_hookInstalled)
        return;
    m_hook.removehook();
    m_hookInstalled = false;
}

// --- What the state says ---------------------------------------------------------------

void CKeyMap::syncControls() {
    m_syncing = true;
    const KeyMapPage page = m_state.currentPage;
    // Focus moves made here are not the user's (m_syncing keeps the edits' rules out of
    // them); the new page's controls show first, so a focus leaving a hidden one lands there.
    QWidget* shown[] = {m_singleKeyEdit, m_combinationEdit, m_macroList, m_tree};
    const bool visible[] = {page == KeyMapPage::Keys, page == KeyMapPage::Keys,
                            page == KeyMapPage::Macro, page == KeyMapPage::Basic};
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        if (visible[i])
            shown[i]->show();
    }
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        if (!visible[i])
            shown[i]->hide();
    }
    const QString single = QString::fromStdU16String(m_state.singleKeyText);
    const QString combination = QString::fromStdU16String(m_state.combinationText);
    // setText leaves the caret at the end.
    if (m_singleKeyEdit->text() != single)
        m_singleKeyEdit->setText(single);
    if (m_combinationEdit->text() != combination)
        m_combinationEdit->setText(combination);
    m_syncing = false;
    applyFocus();
}

void CKeyMap::applyFocus() {
    const KeyMapFocus focus = m_state.focus;
    m_state.focus = KeyMapFocus::None;
    QWidget* target = nullptr;
    switch (focus) {
    case KeyMapFocus::None:
        return;
    case KeyMapFocus::SingleKeyEdit:
        target = m_singleKeyEdit;
        break;
    case KeyMapFocus::CombinationEdit:
        target = m_combinationEdit;
        break;
    case KeyMapFocus::MacroList:
        target = m_macroList;
        break;
    }
    m_syncing = true;
    target->setFocus(Qt::OtherFocusReason);
    m_syncing = false;
    // The edit's focus rule runs once for this focus, whether or not the window is active
    // yet to deliver it.
    if (target == m_singleKeyEdit || target == m_combinationEdit)
        onEditFocused(static_cast<QLineEdit*>(target));
}

void CKeyMap::onEditFocused(QLineEdit* edit) {
    if (edit == m_singleKeyEdit)
        SingleKeyEditFocused(m_state);
    else
        CombinationEditFocused(m_state);
    syncControls();
}

bool CKeyMap::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && !m_syncing &&
        (watched == m_singleKeyEdit || watched == m_combinationEdit) &&
        IsUserFocus(static_cast<QFocusEvent*>(event)->reason()))
        onEditFocused(static_cast<QLineEdit*>(watched));
    return QDialog::eventFilter(watched, event);
}

void CKeyMap::onHookEvent(QWidget* window, int virtualKey, quint32 /*flags*/) {
    if (window != this || !m_hookInstalled || virtualKey <= 0 || virtualKey > 0xFF)
        return;
    if (CaptureKey(m_state, static_cast<std::uint8_t>(virtualKey)))
        syncControls();
}

// --- Clicks ----------------------------------------------------------------------------

KeyMapSelections CKeyMap::selections() const {
    KeyMapSelections s;
    if (!m_macroList->selectedItems().isEmpty())
        s.macroRow = m_macroList->currentRow();
    if (const QList<QTreeWidgetItem*> items = m_tree->selectedItems(); !items.isEmpty())
        s.functionLabel = items.front()->text(0).toStdU16String();
    return s;
}

void CKeyMap::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (UpdateKeyMapHover(m_hover, HitTestKeyMapButton({at.x(), at.y()})))
        update();
    QDialog::mouseMoveEvent(event);
}

// A pointer that leaves the window over a button leaves no button lit behind.
void CKeyMap::leaveEvent(QEvent* event) {
    if (UpdateKeyMapHover(m_hover, -1))
        update();
    QDialog::leaveEvent(event);
}

void CKeyMap::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    click(event->position().toPoint());
}

void CKeyMap::click(QPoint p) {
    const KeyMapClick result = ClickKeyMap(m_state, m_record, {p.x(), p.y()}, selections());
    if (result.browseRow >= 0)
        browse(result.browseRow);
    syncControls();
    update();
    switch (result.outcome) {
    case KeyMapOutcome::Ok:
        accept();
        break;
    case KeyMapOutcome::Cancel:
        reject();
        break;
    case KeyMapOutcome::SelectSubItem:
        m_prompts.warn(Text(kKeyMapMessageCaption), Text(kSelectSubItemText));
        break;
    case KeyMapOutcome::Stay:
        break;
    }
}

void CKeyMap::browse(int row) {
    const auto r = static_cast<std::size_t>(row);
    const std::u16string current =
        m_state.advancedRow == static_cast<std::uint8_t>(r) ? m_state.chosenPath : std::u16string();
    FinishBrowse(m_state, r, PickRowPath(m_prompts, r, current));
}

// --- Painting --------------------------------------------------------------------------

QImage CKeyMap::compose() const {
    QImage canvas = m_skin.backgroundPicture();
    if (canvas.isNull()) {
        canvas = QImage(size(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
    }
    QPainter p(&canvas);
    DrawLabel(p, QString::fromStdU16String(KeyMapCaption(m_state)), kCaptionAt.x, kCaptionAt.y,
              kCaptionHeight);
    DrawCustomPng(p, m_images, kSubPanelPicture.name, kSubPanelPicture.at);

    const KeyMapButtonInfo& close = KeyMapButtonTable[static_cast<int>(KeyMapButton::Close)];
    DrawCustomPng(p, m_images,
                  m_hover.over[static_cast<int>(KeyMapButton::Close)] ? close.overImage
                                                                      : close.normalImage,
                  ButtonCorner(KeyMapButton::Close));
    // The page buttons and the strip under them show their picture under the pointer only.
    for (const KeyMapButton b :
         {KeyMapButton::PageKeys, KeyMapButton::PageMacro, KeyMapButton::PageBasic,
          KeyMapButton::PageAdvanced, KeyMapButton::PageStrip}) {
        if (m_hover.over[static_cast<std::size_t>(b)])
            DrawCustomPng(p, m_images, KeyMapButtonTable[static_cast<std::size_t>(b)].normalImage,
                          ButtonCorner(b));
    }
    paintPageTexts(p);
    paintPage(p);
    DrawCustomPng(p, m_images,
                  m_state.disableChecked ? kDisableCheckedImage : kDisableUncheckedImage,
                  ButtonCorner(KeyMapButton::Disable));
    DrawText(p, kDisableLabel, kLabelColour);
    paintFooter(p);
    return canvas;
}

void CKeyMap::paintPageTexts(QPainter& p) const {
    for (std::size_t page = 0; page < kPageTabs.size(); ++page) {
        const PageTab& tab = kPageTabs[page];
        const bool current = static_cast<std::size_t>(m_state.currentPage) == page;
        const QColor colour = current ? kCurrentPageColour : kOtherPageColour;
        DrawText(p, tab.text, colour);
        if (current)
            p.fillRect(QRect(tab.text.at.x, kPageUnderlineY, tab.underlineLength, 1), colour);
    }
}

void CKeyMap::paintPage(QPainter& p) const {
    switch (m_state.currentPage) {
    case KeyMapPage::Keys:
        for (const PlacedPicture& frame : kEditFrames)
            DrawCustomPng(p, m_images, frame.name, frame.at);
        for (const KeyMapText& label : kKeysPageLabels)
            DrawText(p, label, kKeysPageLabelColour);
        break;
    case KeyMapPage::Macro:
    case KeyMapPage::Basic:
        DrawCustomPng(p, m_images, kListFrame.name, kListFrame.at);
        break;
    case KeyMapPage::Advanced:
        paintAdvancedRows(p);
        break;
    }
}

void CKeyMap::paintAdvancedRows(QPainter& p) const {
    const std::size_t markedRow = m_state.advancedMark / kAdvancedMarkStep;
    const bool marked = m_state.advancedMark != kNoAdvancedRow && markedRow < kAdvancedRowCount;
    for (std::size_t row = 0; row < kAdvancedRowCount; ++row) {
        const int top = AdvancedRowTop(row);
        auto at = [top](Point offset) { return Point{offset.x, top + offset.y}; };
        std::u16string_view icon = kRowIconImage;
        if (marked)
            icon = markedRow == row ? kRowMarkImage : kRowUnmarkedImage;
        DrawCustomPng(p, m_images, icon, at(kRowIconAt));
        DrawText(p, {AdvancedRowTable[row].label, kRowLabelAt, kRowTextHeight, kRowLabelRightLimit},
                 kAdvancedTextColour, top);
        DrawCustomPng(p, m_images, kRowFieldImage, at(kRowFieldAt));
        DrawCustomPng(p, m_images, kRowBrowseImage, at(kRowBrowseAt));
        if (m_state.advancedRow != static_cast<std::uint8_t>(row))
            continue;
        // A long last component is cut at the field's edge rather than run over the button.
        p.save();
        p.setClipRect(
            QRect(kRowPathAt.x, top, kRowPathRightLimit - kRowPathAt.x, 2 * kRowTextHeight));
        DrawLabel(p, QString::fromStdU16String(RowPathText(m_state.chosenPath)), kRowPathAt.x,
                  top + kRowPathAt.y, kRowTextHeight, kAdvancedTextColour);
        p.restore();
    }
}

void CKeyMap::paintFooter(QPainter& p) const {
    for (const KeyMapButton b : {KeyMapButton::Reset, KeyMapButton::Cancel, KeyMapButton::Save}) {
        const KeyMapButtonInfo& info = KeyMapButtonTable[static_cast<std::size_t>(b)];
        const bool over = m_hover.over[static_cast<std::size_t>(b)];
        DrawCustomPng(p, m_images, over ? info.overImage : info.normalImage, ButtonCorner(b));
    }
    for (const KeyMapText& label : kFooterLabels)
        DrawText(p, label, kLabelColour);
}

void CKeyMap::paintEvent(QPaintEvent* /*event*/) {
    QPainter(this).drawImage(0, 0, compose());
}

QImage CKeyMap::composeNow() {
    return grab().toImage();
}

} // namespace orvo
