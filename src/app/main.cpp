// ZorvantaOrvo: the configuration program. One instance runs; a second start shows the
// first one's window and ends.

#include "app/application.h"
#include "app/brisolde_dlg.h"
#include "app/single_instance.h"
#include "app/skin_prefetch.h"
#include "model/autostart.h"
#include "model/log.h"

#include <QApplication>
#include <QLoggingCategory>

#include <filesystem>

namespace {
Q_LOGGING_CATEGORY(lcOrvo, "orvo")
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The tray keeps the program alive while its window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    orvo::SetLogSink([](orvo::LogLevel level, std::string_view line) {
        const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        if (level == orvo::LogLevel::Warning)
            qCWarning(lcOrvo).noquote() << text;
        else
            qCInfo(lcOrvo).noquote() << text;
    });

    orvo::SingleInstance instance;
    if (!instance.claim())
        return 0;
    // The first frame's pictures and fonts are prepared while the window sets itself up.
    const std::filesystem::path exe = QCoreApplication::applicationFilePath().toStdString();
    orvo::SkinPrefetch prefetch(orvo::ImageFolderOf(exe));

    orvo::CBrisoldeApp::Setup setup;
    setup.executable = exe;
    setup.prefetch = &prefetch;
    setup.startHidden = orvo::IsHiddenStart(argc, argv);
    orvo::CBrisoldeApp application(std::move(setup));
    orvo::CBrisoldeDlg& window = application.window();
    QObject::connect(&instance, &orvo::SingleInstance::showRequested, &window,
                     &orvo::CBrisoldeDlg::showFromOutside);
    QObject::connect(&instance, &orvo::SingleInstance::refreshRequested, &application,
                     &orvo::CBrisoldeApp::reloadAfterScript);
    QObject::connect(&window, &orvo::CBrisoldeDlg::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!window.startsHidden())
        window.show();
    const int result = QApplication::exec();
    application.shutdown();
    orvo::SetLogSink({});
    return result;
}
