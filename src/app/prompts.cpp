#include "app/prompts.h"

#include "app/override_cursor.h"
#include "colour/c_custom_color_dialog.h"

#include <QMessageBox>

namespace orvo {

DialogPrompts::DialogPrompts(QString imageFolder) : m_imageFolder(std::move(imageFolder)) {}

DialogPrompts::~DialogPrompts() {
    delete m_colourDialog; // null when the owner window already took it along
}

// A wait cursor set by the caller must not hide the arrow over a question.
bool DialogPrompts::confirm(const QString& caption, const QString& text) {
    OverrideCursor arrow(Qt::ArrowCursor);
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

void DialogPrompts::warn(const QString& caption, const QString& text) {
    OverrideCursor arrow(Qt::ArrowCursor);
    QMessageBox::warning(m_owner, caption, text);
}

std::optional<ColorRef> DialogPrompts::pickColour(ColorRef preset) {
    if (!m_colourDialog)
        m_colourDialog = new CCustomColorDialog(m_imageFolder, m_owner);
    m_colourDialog->setPickedColour(preset);
    if (m_colourDialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return m_colourDialog->pickedColour();
}

} // namespace orvo
