#pragma once
// CConfigureDlg: the profile manager. A skinned dialog laid over the main window's top-left
// corner that lists the profiles of the profile folder (at most six) and runs their commands:
// "+Nuevo" and "-Borrar" painted below the list, the list's context menu ("Nuevo", "Copiar",
// "Guardar", "Abrir", "Eliminar"), and a rename by editing the selected row in place (double
// click). The rules live in ProfileStore and the session; the dialog paints, routes clicks and
// shows their messages through Prompts (caption "Perfil"). Enter never closes it.
//
//     CConfigureDlg dialog(session, images, prompts, &mainWindow);
//     QObject::connect(&dialog, &QDialog::finished, ...); // refresh the window from the image
//     dialog.openOver(mainWindow.frameGeometry());

#include "model/notice.h"
#include "model/profile_store.h"

#include <QDialog>
#include <QImage>
#include <QSize>

#include <functional>
#include <optional>
#include <string>

class QMenu;

namespace orvo {

class CTransparentListBox;
class ImageStore;
class Prompts;
class Session;
class SkinnedWindow;

// Used only when "Profile_BK.png" cannot be read, so the dialog stays usable.
inline constexpr QSize kProfileDialogFallbackSize{265, 590};
inline constexpr auto kProfileFileFilter = u"bin Files(*.bin)";
inline constexpr auto kProfileSaveTitle = u"Guardar como";
inline constexpr auto kProfileOpenTitle = u"Abrir";

class CConfigureDlg : public QDialog {
    Q_OBJECT
public:
    // Works on the session's configuration and its data folder's profile folder; the skin
    // pictures and the questions outlive the dialog.
    CConfigureDlg(Session& session, const ImageStore& images, Prompts& prompts,
                  QWidget* parent = nullptr);
    ~CConfigureDlg() override;

    // Rebuilds the list from the folder, moves the dialog one pixel up and left of the
    // owner's top-left corner and shows it modal to its owner; finished() follows its end.
    void openOver(const QRect& ownerFrame);

    // The commands, as the painted texts and the context menu run them. Each first confirms
    // a running in-place edit, acts on the selected row, then lists the folder afresh.
    void newProfile();
    void copyProfile();
    void saveProfile();
    void openProfile();
    void deleteProfile();

    CTransparentListBox* list() const { return m_list; }
    QMenu* contextMenu() const { return m_menu; }
    const ProfileStore& profiles() const { return m_store; }
    // The dialog's picture without its list.
    QImage compose() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void run(const std::function<Notice()>& command);
    void tell(const Notice& notice);
    // The folder's profiles into the list; `keep` is selected again when it is still there.
    void fillList(const std::optional<std::u16string>& keep);
    std::optional<std::size_t> selectedRow() const;
    void onRowRenamed(int before, int after);
    // Asks for a profile file to save into or to open, starting in the profile folder.
    ChooseFile fileChooser(bool saving);

    Session& m_session;
    const ImageStore& m_images;
    Prompts& m_prompts;
    ProfileStore m_store;
    SkinnedWindow* m_skin = nullptr;       // owned as a child object
    CTransparentListBox* m_list = nullptr; // child widget
    QMenu* m_menu = nullptr;               // child widget
};

} // namespace orvo
