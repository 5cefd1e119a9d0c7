// Main window measurements:
//  1. RedrawMainWindow with and without the image cache (same pixels, cache >= 5x faster);
//  2. process start to first painted frame of ZorvantaOrvo, against a minimal Qt window
//     started the same way (`minimal_window`, Qt Widgets only), as the median of 11 pairs
//     after warm starts (ratio <= 1.5);
//  3. CPU time of the idle program over 30 s with its window shown (< 1 % of one core).
// Arguments pick measurements by name (composition, startup, idle); none runs all three.

#include "app/application.h"
#include "app/brisolde_dlg.h"
#include "controls/image_store.h"
#include "model/config_state.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr double kCacheSpeedupTarget = 5.0;
constexpr double kStartupRatioTarget = 1.5;
constexpr double kIdleCpuTarget = 0.01;
constexpr int kIdleSeconds = 30;
constexpr int kWarmStarts = 2;
constexpr int kWarmRunMs = 2000;
constexpr int kStartPairs = 11;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString BinDir() {
    return QCoreApplication::applicationDirPath();
}

void WaitForReadBack(orvo::CBrisoldeDlg& window) {
    QElapsedTimer t;
    t.start();
    while (window.readBackPending() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

template <typename F> double MillisecondsPerRun(int runs, F&& f) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        f();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

bool MeasureComposition(const QTemporaryDir& dir) {
    qputenv("ZORVANTA_SIMULATOR", QDir(dir.path()).filePath(QStringLiteral("sim")).toUtf8());
    qputenv("ZORVANTA_DATA_DIR", QDir(dir.path()).filePath(QStringLiteral("data")).toUtf8());
    orvo::CBrisoldeApp::Setup setup;
    setup.executable = (BinDir() + QStringLiteral("/ZorvantaOrvo")).toStdString();
    orvo::CBrisoldeApp application(std::move(setup));
    orvo::CBrisoldeDlg& window = application.window();
    window.show();
    WaitForReadBack(window);
    window.state().helpMenuOpen = true; // every layer of the window's own
    window.config().customisedKeys.fill(1);

    window.images().setCaching(false);
    const QImage uncachedPicture = window.composeNow();
    const double uncached = MillisecondsPerRun(30, [&] { window.RedrawMainWindow(); });
    window.images().setCaching(true);
    window.composeNow();
    const QImage cachedPicture = window.composeNow();
    const double cached = MillisecondsPerRun(300, [&] { window.RedrawMainWindow(); });
    const bool same = cachedPicture == uncachedPicture;
    const double ratio = uncached / cached;
    std::printf("RedrawMainWindow: %.3f ms uncached, %.3f ms cached: %.1fx faster (target >= "
                "%.0fx), pixels %s\n",
                uncached, cached, ratio, kCacheSpeedupTarget, same ? "identical" : "DIFFER");
    application.shutdown();
    return same && ratio >= kCacheSpeedupTarget;
}

// Milliseconds from starting `program` to its "first frame" line; the program is ended then,
// or `lingerMs` later.
double TimeToFirstFrame(const QString& program, const QString& workDir, int lingerMs = 0) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORVANTA_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    env.insert(QStringLiteral("ZORVANTA_SIMULATOR"), workDir + QStringLiteral("/sim"));
    env.insert(QStringLiteral("ZORVANTA_DATA_DIR"), workDir + QStringLiteral("/data"));
    env.insert(QStringLiteral("TMPDIR"), workDir); // its own single-instance socket
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, QStringList{});
    double ms = -1;
    while (process.waitForReadyRead(10000)) {
        if (process.readAllStandardOutput().contains("first frame")) {
            ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            break;
        }
    }
    if (lingerMs > 0)
        process.waitForFinished(lingerMs);
    process.kill();
    process.waitForFinished();
    return ms;
}

bool MeasureStartup(const QTemporaryDir& dir) {
    const QString app = BinDir() + QStringLiteral("/ZorvantaOrvo");
    const QString minimal = BinDir() + QStringLiteral("/minimal_window");
    // One folder for every run, as for a user: the data files exist after the first start.
    // The first starts of each warm the caches and are not counted; the program's run on as a
    // user's would, until it has read the keyboard and kept its start-up picture.
    const QString work = dir.path() + QStringLiteral("/start");
    QDir().mkpath(work);
    for (int i = 0; i < kWarmStarts; ++i) {
        TimeToFirstFrame(minimal, work);
        TimeToFirstFrame(app, work, kWarmRunMs);
    }
    // Pairs started back to back, so that a load that comes and goes touches both alike.
    std::vector<double> appMs, minimalMs, ratios;
    for (int i = 0; i < kStartPairs; ++i) {
        const double m = TimeToFirstFrame(minimal, work);
        const double a = TimeToFirstFrame(app, work);
        if (m <= 0 || a <= 0)
            return false;
        minimalMs.push_back(m);
        appMs.push_back(a);
        ratios.push_back(a / m);
    }
    const double ratio = Median(ratios);
    std::printf("First frame (median of %d pairs): ZorvantaOrvo %.1f ms, minimal Qt window %.1f "
                "ms: ratio %.2f (target <= %.1f)\n",
                kStartPairs, Median(appMs), Median(minimalMs), ratio, kStartupRatioTarget);
    return ratio <= kStartupRatioTarget;
}

double CpuSeconds(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int i = 3; i < 14; ++i)
        rest >> field;
    long long utime = 0, stime = 0;
    rest >> utime >> stime;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool MeasureIdleCpu(const QTemporaryDir& dir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORVANTA_SIMULATOR"), dir.path() + QStringLiteral("/idle/sim"));
    env.insert(QStringLiteral("ZORVANTA_DATA_DIR"), dir.path() + QStringLiteral("/idle/data"));
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    process.setProcessEnvironment(env);
    process.start(BinDir() + QStringLiteral("/ZorvantaOrvo"), {});
    if (!process.waitForStarted())
        return false;
    QThread::sleep(3); // start-up and read-back are over
    const double before = CpuSeconds(process.processId());
    QThread::sleep(kIdleSeconds);
    const double after = CpuSeconds(process.processId());
    process.kill();
    process.waitForFinished();
    const double share = (after - before) / kIdleSeconds;
    std::printf("Idle CPU over %d s: %.3f s, %.2f %% of one core (target < %.0f %%)\n",
                kIdleSeconds, after - before, 100 * share, 100 * kIdleCpuTarget);
    return before >= 0 && share < kIdleCpuTarget;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Arguments pick measurements by name ("composition", "startup", "idle"); none: all.
    const QStringList picked = QCoreApplication::arguments().mid(1);
    const auto wanted = [&](const char* name) {
        return picked.isEmpty() || picked.contains(QLatin1StringView(name));
    };
    QTemporaryDir dir;
    bool ok = true;
    if (wanted("composition"))
        ok = MeasureComposition(dir) && ok;
    if (wanted("startup"))
        ok = MeasureStartup(dir) && ok;
    if (wanted("idle"))
        ok = MeasureIdleCpu(dir) && ok;
    return ok ? 0 : 1;
}
