#pragma once
// Only one program runs at a time. The first start listens on a local socket named after the
// program's mutex; a later start connects to it, asks the first to show its window and ends.
// orvoctl asks the running program through the same socket to re-read what it changed.
// The socket lies in a folder only this user can enter ($XDG_RUNTIME_DIR, or a private folder
// of ours), so another user can neither take the name first nor send requests; the first
// start also takes requests only from processes of its own user.

#include "model/instance_socket.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

#include <sys/types.h>

class QSocketNotifier;

namespace orvo {

// The folder for the socket (UserRuntimeFolder, model/runtime_folder.h).
std::optional<QString> PrivateRuntimeFolder();

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = QString::fromLatin1(kSingleInstanceSocketName),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first and now answers later starts; false when another
    // instance runs (it has been asked to show its window).
    bool claim();

    // Where the socket is; empty when no private folder could be found.
    QString socketPath() const { return m_path; }
    // Requests are taken from processes of this user only (by default the one running this).
    void setAllowedUser(uid_t uid) { m_allowedUser = uid; }

Q_SIGNALS:
    // A later start asked for the window.
    void showRequested();
    // orvoctl changed the keyboard or the data files: the program re-reads them.
    void refreshRequested();

private:
    bool askRunningInstance() const;
    void acceptConnections();
    void readFrom(QSocketNotifier* connection, QByteArray* received);

    QString m_path;
    uid_t m_allowedUser;
    int m_listening = -1;
};

} // namespace orvo
