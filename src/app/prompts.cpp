#include "app/prompts.h"

#include "colour/c_custom_color_dialog.h"

#include <QApplication>
#include <QMessageBox>

namespace orvo {

namespace {

// A wait cursor set by the caller must not hide the arrow over a question.
class ArrowCursor {
public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

} // namespace

DialogPrompts::DialogPrompts(QWidget& owner, QString imageFolder)
    : m_owner(owner), m_imageFolder(std::move(imageFolder)) {}

DialogPrompts::~DialogPrompts() = default;

bool DialogPrompts::confirm(const QString& caption, const QString& text) {
    ArrowCursor arrow;
    return QMessageBox::question(&m_owner, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

void DialogPrompts::warn(const QString& caption, const QString& text) {
    ArrowCursor arrow;
    QMessageBox::warning(&m_owner, caption, text);
}

std::optional<ColorRef> DialogPrompts::pickColour(ColorRef preset) {
    if (!m_colourDialog)
        m_colourDialog = std::make_unique<CCustomColorDialog>(m_imageFolder, &m_owner);
    m_colourDialog->setPickedColour(preset);
    if (m_colourDialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return m_colourDialog->pickedColour();
}

} // namespace orvo
