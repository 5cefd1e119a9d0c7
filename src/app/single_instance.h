#pragma once
// Only one program runs at a time. The first start listens on a local socket named after the
// program's mutex; a later start connects to it, asks the first to show its window and ends.

#include <QObject>
#include <QString>

class QLocalServer;

namespace orvo {

// The name begins with a space, which is part of the name.
inline constexpr auto kSingleInstanceName = u" {57D1171D-1a34-0804-8A3A-65ABA2150001}";
inline constexpr auto kShowRequest = "show\n";

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = QString::fromUtf16(kSingleInstanceName),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first and now answers later starts; false when another
    // instance runs (it has been asked to show its window).
    bool claim();

Q_SIGNALS:
    // A later start asked for the window.
    void showRequested();

private:
    bool askRunningInstance();
    void readRequests();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace orvo
