#pragma once
// The modal questions the program asks: OK/Cancel confirmations, a warning, and the colour
// dialog. The program shows the real dialogs (DialogPrompts); tests answer them directly
// through their own Prompts.

#include "model/colour_model.h"

#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace orvo {

class CCustomColorDialog;

class Prompts {
public:
    virtual ~Prompts() = default;
    // An OK/Cancel question; true only for OK.
    virtual bool confirm(const QString& caption, const QString& text) = 0;
    // A warning with an OK button.
    virtual void warn(const QString& caption, const QString& text) = 0;
    // The colour dialog opened at `preset`; the colour picked on OK, nullopt on Cancel.
    virtual std::optional<ColorRef> pickColour(ColorRef preset) = 0;
};

// Message boxes and the colour dialog over the owner window (set once the window exists).
// The colour dialog is made on its first use and kept for every later one; the owner window
// takes it along when it goes first.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QString imageFolder);
    ~DialogPrompts() override;

    void setOwner(QWidget* owner) { m_owner = owner; }

    bool confirm(const QString& caption, const QString& text) override;
    void warn(const QString& caption, const QString& text) override;
    std::optional<ColorRef> pickColour(ColorRef preset) override;

private:
    QWidget* m_owner = nullptr;
    QString m_imageFolder;
    QPointer<CCustomColorDialog> m_colourDialog;
};

} // namespace orvo
