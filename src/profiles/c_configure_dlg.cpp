#include "profiles/c_configure_dlg.h"

#include "app/prompts.h"
#include "controls/draw_label.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "controls/skinned_window.h"
#include "controls/transparent_list_box.h"
#include "device/session.h"
#include "model/config_state.h"
#include "model/profile_dialog_layout.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace orvo {

namespace {

QColor ToQColor(ColorRef colour) {
    const Rgb rgb = ToRgb(colour);
    return {rgb.r, rgb.g, rgb.b};
}

} // namespace

CConfigureDlg::CConfigureDlg(Session& session, const ImageStore& images, Prompts& prompts,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_session(session), m_images(images),
      m_prompts(prompts), m_store(session.config().folders.profileFolder()) {
    setWindowTitle(ToQString(kProfileCaption));
    m_skin = new SkinnedWindow(*this, images, ToQString(kProfileBackgroundPicture), {},
                               kProfileDialogFallbackSize);
    // Presses beside the painted commands drag the dialog.
    m_skin->setFreeSpots(
        [](QPoint p) { return HitTestProfileDialog(ToPoint(p)) == ProfileDialogSpot::None; });

    m_list = new CTransparentListBox(&images, this);
    m_list->setGeometry(kProfileListAt.x, kProfileListAt.y, kProfileListWidth, kProfileListHeight);
    m_list->setEditMode(CTransparentListBox::kProfiles);
    m_list->setSorted(true); // a renamed row moves to its place until the folder is listed again
    const ListTextStyle& style = kProfileListStyle;
    m_list->SetTextStyle(style.height, ToQString(style.face), style.text, style.selectedText,
                         style.shadow, style.shadowColour, style.shadowOffset);
    // Direct: a command confirms a running edit first, and the rename must be done by then.
    connect(m_list, &CTransparentListBox::listEditEnd, this, &CConfigureDlg::onRowRenamed);

    m_menu = new QMenu(this);
    const std::pair<const char16_t*, void (CConfigureDlg::*)()> items[] = {
        {u"Nuevo", &CConfigureDlg::newProfile},       {u"Copiar", &CConfigureDlg::copyProfile},
        {u"Guardar", &CConfigureDlg::saveProfile},    {u"Abrir", &CConfigureDlg::openProfile},
        {u"Eliminar", &CConfigureDlg::deleteProfile},
    };
    for (const auto& [text, command] : items)
        connect(m_menu->addAction(QString::fromUtf16(text)), &QAction::triggered, this, command);
    // The menu opens where the right button went down over the list.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_menu->popup(m_list->viewport()->mapToGlobal(at)); });

    fillList(std::nullopt);
}

CConfigureDlg::~CConfigureDlg() = default;

void CConfigureDlg::openOver(const QRect& ownerFrame) {
    fillList(std::nullopt);
    move(ownerFrame.topLeft() - QPoint(1, 1));
    open();
    m_list->setFocus();
}

// ---- Commands -----------------------------------------------------------------------------

void CConfigureDlg::newProfile() {
    run([this] { return m_store.newProfile(); });
}

void CConfigureDlg::copyProfile() {
    run([this] { return m_store.copyProfile(); });
}

void CConfigureDlg::saveProfile() {
    run([this] { return m_session.SaveIntoProfile(m_store, fileChooser(true)); });
}

void CConfigureDlg::openProfile() {
    run([this] { return m_session.OpenIntoProfile(m_store, fileChooser(false)); });
}

void CConfigureDlg::deleteProfile() {
    run([this] {
        return m_store.deleteProfile([this](const Notice& question) {
            return m_prompts.confirm(ToQString(question.caption), ToQString(question.text));
        });
    });
}

void CConfigureDlg::run(const std::function<Notice()>& command) {
    m_list->endEdit(true);
    const std::optional<std::size_t> row = selectedRow();
    m_store.select(row);
    const std::optional<std::u16string> keep =
        row ? std::optional(m_store.rows()[*row]) : std::nullopt;
    const Notice notice = command();
    fillList(keep);
    tell(notice);
}

void CConfigureDlg::tell(const Notice& notice) {
    if (notice)
        m_prompts.inform(ToQString(notice.caption), ToQString(notice.text));
}

void CConfigureDlg::onRowRenamed(int before, int after) {
    if (before < 0 || static_cast<std::size_t>(before) >= m_store.rows().size() || after < 0 ||
        after >= m_list->count()) {
        fillList(std::nullopt);
        return;
    }
    const std::u16string oldName = m_store.rows()[static_cast<std::size_t>(before)];
    std::u16string newName = m_list->item(after)->text().toStdU16String();
    const Notice notice = m_store.renameProfile(static_cast<std::size_t>(before), newName);
    if (newName.ends_with(kProfileExtension))
        newName.resize(newName.size() - kProfileExtension.size());
    fillList(notice ? oldName : newName);
    tell(notice);
}

ChooseFile CConfigureDlg::fileChooser(bool saving) {
    return [this, saving]() -> std::optional<std::filesystem::path> {
        const QString folder = QString::fromStdString(m_store.folder().string());
        const QString filter = QString::fromUtf16(kProfileFileFilter);
        std::optional<QString> chosen =
            saving ? m_prompts.saveFile(QString::fromUtf16(kProfileSaveTitle), folder, filter)
                   : m_prompts.openFile(QString::fromUtf16(kProfileOpenTitle), folder, filter);
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        // A name typed without an extension is saved as a profile file.
        if (saving && QFileInfo(*chosen).suffix().isEmpty())
            *chosen += ToQString(kProfileExtension);
        return std::filesystem::path(chosen->toStdString());
    };
}

// ---- The list -----------------------------------------------------------------------------

void CConfigureDlg::fillList(const std::optional<std::u16string>& keep) {
    m_list->endEdit(false); // an edit left open when the dialog last ended is dropped
    m_store.refresh();
    m_list->clear();
    // In the store's order, so that list rows and store rows stay one and the same.
    for (const std::u16string& name : m_store.rows())
        m_list->insertString(m_list->count(), ToQString(name));
    if (!keep)
        return;
    const auto& rows = m_store.rows();
    const auto found = std::find(rows.begin(), rows.end(), *keep);
    if (found == rows.end())
        return;
    const auto row = static_cast<std::size_t>(found - rows.begin());
    m_list->setCurrentRow(static_cast<int>(row));
    m_store.select(row);
}

std::optional<std::size_t> CConfigureDlg::selectedRow() const {
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->item(row)->isSelected() ||
        static_cast<std::size_t>(row) >= m_store.rows().size())
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

// ---- Painting and input -------------------------------------------------------------------

QImage CConfigureDlg::compose() const {
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    DrawPng(painter, m_images, kProfileBackgroundPicture, {0, 0});
    DrawPng(painter, m_images, kProfileCloseButton);
    for (const ProfileDialogText& text : {kNewProfileText, kDeleteProfileText})
        DrawLabel(painter, ToQString(text.text), text.at.x, text.at.y, text.height,
                  ToQColor(kProfileTextColour));
    return canvas;
}

void CConfigureDlg::paintEvent(QPaintEvent*) {
    // Composed off-screen and copied in one go.
    QPainter(this).drawImage(QPoint(0, 0), compose());
}

void CConfigureDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    switch (HitTestProfileDialog(ToPoint(event->position()))) {
    case ProfileDialogSpot::New:
        newProfile();
        break;
    case ProfileDialogSpot::Delete:
        deleteProfile();
        break;
    case ProfileDialogSpot::Close:
        m_list->endEdit(true);
        accept();
        break;
    case ProfileDialogSpot::None:
        break;
    }
}

void CConfigureDlg::keyPressEvent(QKeyEvent* event) {
    // Enter would close the dialog: it is swallowed.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvo
