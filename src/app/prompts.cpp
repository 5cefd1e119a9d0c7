#include "app/prompts.h"

#include "app/override_cursor.h"
#include "colour/c_custom_color_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace orvo {

DialogPrompts::DialogPrompts(QString imageFolder) : m_imageFolder(std::move(imageFolder)) {}

DialogPrompts::~DialogPrompts() {
    delete m_colourDialog; // null when the owner window already took it along
}

// A wait cursor set by the caller must not hide the arrow over a question.
bool DialogPrompts::confirm(const QString& caption, const QString& text) {
    OverrideCursor arrow(Qt::ArrowCursor);
    return QMessageBox::question(parentWindow(), caption, text,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

void DialogPrompts::warn(const QString& caption, const QString& text) {
    OverrideCursor arrow(Qt::ArrowCursor);
    QMessageBox::warning(parentWindow(), caption, text);
}

std::optional<ColorRef> DialogPrompts::pickColour(ColorRef preset) {
    if (!m_colourDialog)
        m_colourDialog = new CCustomColorDialog(m_imageFolder, m_owner);
    m_colourDialog->setPickedColour(preset);
    if (m_colourDialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return m_colourDialog->pickedColour();
}

QWidget* DialogPrompts::parentWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_owner;
}

void DialogPrompts::inform(const QString& caption, const QString& text) {
    OverrideCursor arrow(Qt::ArrowCursor);
    QMessageBox::information(parentWindow(), caption, text);
}

std::optional<QString> DialogPrompts::openFile(const QString& title, const QString& folder,
                                               const QString& filter) {
    OverrideCursor arrow(Qt::ArrowCursor);
    const QString file = QFileDialog::getOpenFileName(parentWindow(), title, folder, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> DialogPrompts::saveFile(const QString& title, const QString& folder,
                                               const QString& filter) {
    OverrideCursor arrow(Qt::ArrowCursor);
    const QString file = QFileDialog::getSaveFileName(parentWindow(), title, folder, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> DialogPrompts::pickFolder(const QString& title, const QString& folder) {
    OverrideCursor arrow(Qt::ArrowCursor);
    const QString chosen = QFileDialog::getExistingDirectory(parentWindow(), title, folder);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace orvo
