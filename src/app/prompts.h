#pragma once
// The modal questions the program asks: OK/Cancel confirmations, warnings and notes, the
// colour dialog and the file and folder pickers. The program shows the real dialogs
// (DialogPrompts); tests answer them directly through their own Prompts.

#include "model/colour_model.h"

#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace orvo {

class CCustomColorDialog;

// The caption of the program's warnings.
inline constexpr auto kWarningCaption = u"Advertencia";

class Prompts {
public:
    virtual ~Prompts() = default;
    // An OK/Cancel question; true only for OK.
    virtual bool confirm(const QString& caption, const QString& text) = 0;
    // A warning with an OK button.
    virtual void warn(const QString& caption, const QString& text) = 0;
    // The colour dialog opened at `preset`; the colour picked on OK, nullopt on Cancel.
    virtual std::optional<ColorRef> pickColour(ColorRef preset) = 0;

    // The questions of the dialogs. Tests answer only those they expect; by default a note
    // is a warning and every picker is cancelled.
    // A note with an OK button and no warning sign.
    virtual void inform(const QString& caption, const QString& text) { warn(caption, text); }
    // An existing file to open, starting in `folder`; `filter` as QFileDialog takes it.
    virtual std::optional<QString> openFile(const QString& title, const QString& folder,
                                            const QString& filter) {
        (void)title, (void)folder, (void)filter;
        return std::nullopt;
    }
    // A file to save into (it may exist), starting in `folder`.
    virtual std::optional<QString> saveFile(const QString& title, const QString& folder,
                                            const QString& filter) {
        (void)title, (void)folder, (void)filter;
        return std::nullopt;
    }
    // An existing folder, starting in `folder`.
    virtual std::optional<QString> pickFolder(const QString& title, const QString& folder) {
        (void)title, (void)folder;
        return std::nullopt;
    }
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
    void inform(const QString& caption, const QString& text) override;
    std::optional<QString> openFile(const QString& title, const QString& folder,
                                    const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& folder,
                                    const QString& filter) override;
    std::optional<QString> pickFolder(const QString& title, const QString& folder) override;

private:
    // The window a box or picker belongs to: the open modal dialog, else the owner window.
    QWidget* parentWindow() const;

    QWidget* m_owner = nullptr;
    QString m_imageFolder;
    QPointer<CCustomColorDialog> m_colourDialog;
};

} // namespace orvo
