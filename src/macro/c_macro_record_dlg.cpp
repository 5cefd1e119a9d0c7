#include "macro/c_macro_record_dlg.h"

#include "app/prompts.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "controls/skinned_window.h"
#include "controls/transparent_list_box.h"
#include "macro/keyboard_hook.h"
#include "macro/macro_event_menu.h"
#include "model/macro_buttons.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

#include <utility>

namespace orvo {

namespace {

constexpr auto kRepeatEditStyle = u"QLineEdit { background: #000000; color: #ffffff;"
                                  " border: none; padding: 0px 2px; }"
                                  "QLineEdit:disabled { color: #6c6c6c; }";
constexpr int kRepeatEditTextHeight = 15;

// Makes the list show `texts` with `selected` selected. It is rebuilt only when its rows
// differ, and scrolled to the selection only when that changed, so that a list the user
// scrolled stays where it is.
void ShowRows(CTransparentListBox& list, const std::vector<std::u16string>& texts,
              std::optional<std::size_t> selected) {
    bool same = static_cast<std::size_t>(list.count()) == texts.size();
    for (std::size_t i = 0; same && i < texts.size(); ++i)
        same = list.item(static_cast<int>(i))->text() == ToQString(texts[i]);
    if (!same) {
        list.clear();
        for (const std::u16string& text : texts)
            list.addString(ToQString(text));
    }
    const int row = selected ? static_cast<int>(*selected) : -1;
    const bool moved = list.currentRow() != row || (row >= 0 && !list.item(row)->isSelected());
    if (moved)
        list.setCurrentRow(row);
    if (row >= 0 && (moved || !same))
        list.scrollToItem(list.item(row));
}

} // namespace

CMacroRecordDlg::CMacroRecordDlg(const ImageStore& images, Prompts& prompts, KeyboardHook& hook,
                                 MacroEditor::Clock clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_images(images), m_prompts(prompts),
      m_hook(hook), m_editor(std::move(clock)) {
    setWindowTitle(ToQString(kMacroCaption));
    setMouseTracking(true); // hover without a pressed button
    // Frame, size, shape and dragging; a press off every button may drag the window.
    m_skin = new SkinnedWindow(*this, images, kMacroBackgroundImage, kMacroShapeImage);
    m_skin->setFreeSpots([](QPoint p) { return HitTestMacroButton(ToPoint(p)) < 0; });
    createControls();
    connect(&m_hook, &KeyboardHook::hookEvent, this, &CMacroRecordDlg::onHookEvent);
}

CMacroRecordDlg::~CMacroRecordDlg() {
    if (m_hook.window() == this)
        m_hook.removehook();
}

void CMacroRecordDlg::createControls() {
    m_macroList = new CTransparentListBox(&m_images, this);
    m_macroList->setGeometry(kMacroListRect);
    m_macroList->setEditMode(CTransparentListBox::kNames);
    m_eventList = new CTransparentListBox(&m_images, this);
    m_eventList->setGeometry(kEventListRect);
    m_eventList->setEditMode(CTransparentListBox::kDelays);
    for (CTransparentListBox* list : {m_macroList, m_eventList}) {
        list->SetTextStyle(kMacroListTextHeight, ToQString(kMacroListFace), kMacroListTextColour,
                           kMacroListSelectedColour, true, kMacroListShadowColour,
                           kMacroListShadowOffset);
        connect(list, &CTransparentListBox::listEditBegin, this, &CMacroRecordDlg::onEditBegin);
    }
    connect(m_macroList, &QListWidget::currentRowChanged, this,
            &CMacroRecordDlg::onMacroRowChanged);
    connect(m_eventList, &QListWidget::currentRowChanged, this,
            &CMacroRecordDlg::onEventRowChanged);
    // The sender tells a rename from a delay edit.
    connect(m_macroList, &CTransparentListBox::listEditEnd, this, &CMacroRecordDlg::onRenamed);
    connect(m_eventList, &CTransparentListBox::listEditEnd, this, &CMacroRecordDlg::onDelayEdited);

    // The right button opens the event menu; the list shows no menu of its own.
    m_eventList->setContextMenuPolicy(Qt::PreventContextMenu);
    m_eventList->viewport()->installEventFilter(this);
    m_eventMenu = CreateEventMenu(this);
    connect(m_eventMenu, &QMenu::triggered, this, &CMacroRecordDlg::onMenuCommand);

    m_repeatEdit = new QLineEdit(this);
    m_repeatEdit->setGeometry(kRepeatEditRect);
    m_repeatEdit->setMaxLength(static_cast<int>(kRepeatTextMaxLength));
    m_repeatEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_repeatEdit->setFont(LabelFont(kRepeatEditTextHeight));
    m_repeatEdit->setStyleSheet(ToQString(kRepeatEditStyle));
    connect(m_repeatEdit, &QLineEdit::textChanged, this, &CMacroRecordDlg::onRepeatTextChanged);
}

void CMacroRecordDlg::openOn(const MacroStore& store) {
    m_editor.open(store);
    m_lit = kNoMacroButton;
    refresh();
    m_macroList->setFocus();
    open();
}

// ---- Showing the editor -------------------------------------------------------------------

void CMacroRecordDlg::refresh() {
    m_refreshing = true;
    ShowRows(*m_macroList, m_editor.macroNames(), m_editor.selectedMacro());
    ShowRows(*m_eventList, m_editor.eventLines(), m_editor.selectedLine());
    const QString repeat = ToQString(m_editor.repeatText());
    if (m_repeatEdit->text() != repeat)
        m_repeatEdit->setText(repeat);
    m_repeatEdit->setEnabled(m_editor.loopOption());
    m_refreshing = false;
    syncHook();
    update();
}

void CMacroRecordDlg::syncHook() {
    const bool held = m_hook.window() == this;
    if (m_editor.hookInstalled() && !held) {
        if (!m_hook.installhook(this, kHookPressAndRelease))
            m_editor.hookInstallFailed();
    } else if (!m_editor.hookInstalled() && held) {
        m_hook.removehook();
    }
}

void CMacroRecordDlg::tell(const Notice& notice) {
    if (notice)
        m_prompts.inform(ToQString(notice.caption), ToQString(notice.text));
}

QImage CMacroRecordDlg::compose() const {
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    DrawPng(painter, m_images, kMacroBackgroundImage.toString(), 0, 0);
    for (int row = kMacroRecordButton; row <= kMacroCancelButton; ++row) {
        bool on = row == m_lit;
        if (row == kMacroDelayBox)
            on = m_editor.delayOption();
        else if (row == kMacroLoopBox)
            on = m_editor.loopOption();
        const MacroButtonRow& button = kMacroButtonTable[static_cast<std::size_t>(row)];
        DrawPng(painter, m_images,
                kMacroPictureFolder.toString() + ToQString(button.pictures[on ? 1 : 0]),
                button.rect.left, button.rect.top);
    }
    // The texts go over the pictures, the buttons' own included.
    for (std::size_t i = 0; i < kMacroDialogLabels.size(); ++i) {
        PlacedText label = kMacroDialogLabels[i];
        const std::u16string_view record = m_editor.recordButtonText();
        if (i == kRecordLabel)
            label.text = QStringView(record.data(), static_cast<qsizetype>(record.size()));
        DrawLabel(painter, label);
    }
    return canvas;
}

void CMacroRecordDlg::paintEvent(QPaintEvent*) {
    // Composed off-screen and copied in one go.
    QPainter(this).drawImage(0, 0, compose());
}

// ---- Pointer and keys ---------------------------------------------------------------------

void CMacroRecordDlg::mouseMoveEvent(QMouseEvent* event) {
    const int lit = LitMacroButtonAfter(m_lit, HitTestMacroButton(ToPoint(event->position())));
    if (lit != m_lit) {
        m_lit = lit;
        update();
    }
    QDialog::mouseMoveEvent(event);
}

void CMacroRecordDlg::leaveEvent(QEvent* event) {
    if (m_lit != kNoMacroButton) {
        m_lit = kNoMacroButton;
        update();
    }
    QDialog::leaveEvent(event);
}

void CMacroRecordDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    // Releases that end a drag of the window never arrive here.
    const int button = HitTestMacroButton(ToPoint(event->position()));
    m_lit = LitMacroButtonAfter(m_lit, button);
    update();
    if (button != kNoMacroButton) {
        // The painted buttons take no focus, so an open in-place edit would stay open; a name
        // typed and then OK must not be lost, so the edit is confirmed first.
        m_macroList->endEdit(true);
        m_eventList->endEdit(true);
    }
    click(button);
}

void CMacroRecordDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape belong to the controls; they never end the dialog.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool CMacroRecordDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_eventList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            // The line under the pointer becomes the one the menu acts on.
            const QModelIndex index = m_eventList->indexAt(press->position().toPoint());
            if (index.isValid())
                m_eventList->setCurrentRow(index.row());
            openEventMenu(press->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CMacroRecordDlg::openEventMenu(QPoint global) {
    m_eventMenu->popup(global);
}

// ---- The ButtonTable ----------------------------------------------------------------------

void CMacroRecordDlg::click(int button) {
    switch (button) {
    case kMacroRecordButton: {
        const Notice notice = m_editor.toggleRecording();
        refresh();
        tell(notice);
        break;
    }
    case kMacroDelayBox:
        m_editor.toggleDelayOption();
        refresh();
        break;
    case kMacroLoopBox:
        m_editor.toggleLoopOption();
        refresh();
        if (m_editor.loopOption())
            m_repeatEdit->setFocus();
        break;
    case kMacroNewButton:
        m_editor.newMacro();
        refresh();
        break;
    case kMacroDeleteButton: {
        const Notice notice = m_editor.deleteMacro([this](const Notice& question) {
            return m_prompts.confirm(ToQString(question.caption), ToQString(question.text));
        });
        refresh();
        tell(notice);
        break;
    }
    case kMacroOkButton:
        m_editor.accept(m_accepted);
        syncHook();
        accept();
        break;
    case kMacroCancelButton:
    case kMacroCloseBox:
        reject();
        break;
    default:
        break;
    }
}

void CMacroRecordDlg::reject() {
    // Cancelar, the close box and the window manager's close keep nothing.
    m_editor.dismiss();
    syncHook();
    QDialog::reject();
}

// ---- Notifications ------------------------------------------------------------------------

void CMacroRecordDlg::onHookEvent(QWidget* window, int virtualKey, quint32 flags) {
    if (window != this)
        return;
    m_editor.hookEvent(static_cast<std::uint8_t>(virtualKey), (flags & kHookKeyReleased) != 0);
    refresh();
}

void CMacroRecordDlg::onMacroRowChanged(int row) {
    // A confirmed rename replaces its row, which moves the selection on the way; the end of
    // the edit follows (onRenamed).
    if (m_refreshing || m_macroList->itemBeingEdited() >= 0)
        return;
    m_editor.selectMacro(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
    refresh();
}

void CMacroRecordDlg::onEventRowChanged(int row) {
    if (m_refreshing)
        return;
    m_editor.selectLine(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
}

void CMacroRecordDlg::onRenamed(int, int after) {
    if (after < 0 || after >= m_macroList->count())
        return;
    const Notice notice = m_editor.renameMacro(static_cast<std::size_t>(after),
                                               m_macroList->item(after)->text().toStdU16String());
    refresh(); // a refused name goes back to the old one
    tell(notice);
}

void CMacroRecordDlg::onDelayEdited(int line, int value) {
    if (line < 0)
        return;
    m_editor.editDelay(static_cast<std::size_t>(line), value);
    refresh();
}

void CMacroRecordDlg::onEditBegin() {
    m_editor.editBegin();
    refresh();
}

void CMacroRecordDlg::onRepeatTextChanged(const QString& text) {
    if (m_refreshing)
        return;
    const QString shown = ToQString(m_editor.editRepeatText(text.toStdU16String()));
    if (shown != text) {
        m_refreshing = true;
        m_repeatEdit->setText(shown);
        m_refreshing = false;
    }
}

void CMacroRecordDlg::onMenuCommand(QAction* action) {
    const Notice notice = m_editor.menuCommand(static_cast<std::uint16_t>(action->data().toInt()));
    refresh();
    tell(notice);
}

} // namespace orvo
