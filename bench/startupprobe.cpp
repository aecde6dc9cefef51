#include "startupprobe.h"

#include "benchutil.h"
#include "dialogs.h"
#include "eventpump.h"
#include "scopeapp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace tarvo::bench {

namespace {

// Notes the first paint of the main panel or any control on it, then closes
// the panel so the program ends as soon as its start-up is over.
class FirstPaintProbe final : public QObject {
public:
    explicit FirstPaintProbe(QWidget* panel)
        : m_panel(panel)
    {
    }
    std::int64_t paintedAt = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (paintedAt == 0 && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w == m_panel || m_panel->isAncestorOf(w)) {
                paintedAt = steadyNs();
                QTimer::singleShot(0, m_panel, [p = m_panel] { p->close(); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_panel;
};

constexpr int kChildSafetyMs = 15000;  // the child closes itself if it never paints

}  // namespace

int runStartupChild(int argc, char** argv)
{
    const std::int64_t tMain = steadyNs();
    QApplication app(argc, argv);
    const std::int64_t tApp = steadyNs();
    QApplication::setApplicationName(QStringLiteral("TarvoV43"));
    QApplication::setQuitOnLastWindowClosed(false);
    silenceDialogs();

    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    ScopeApp scope(dir);
    const std::int64_t tScope = steadyNs();

    QWidget* panel = scope.panel().widget.get();
    FirstPaintProbe probe(panel);
    app.installEventFilter(&probe);
    QTimer::singleShot(kChildSafetyMs, panel, [panel] { panel->close(); });

    scope.run();
    const std::int64_t tEnd = steadyNs();
    app.removeEventFilter(&probe);

    QString status;
    if (auto* display = panel->findChild<QWidget*>(QStringLiteral("DispStatus")))
        status = display->property("text").toString();
    std::printf("probe main=%lld app=%lld scope=%lld paint=%lld end=%lld platform=%s status=%s\n",
                static_cast<long long>(tMain), static_cast<long long>(tApp), static_cast<long long>(tScope),
                static_cast<long long>(probe.paintedAt), static_cast<long long>(tEnd),
                qPrintable(QGuiApplication::platformName()), qPrintable(status.simplified()));
    std::fflush(stdout);
    return probe.paintedAt != 0 ? 0 : 3;
}

std::optional<StartupRun> launchStartupChild(const QString& dir, double limitSeconds, QString* error)
{
    EventPump pump;
    QProcess child;
    prepareBenchChild(child, pump);

    child.setArguments({QString::fromLatin1(kStartupChildFlag), dir});
    const std::int64_t t0 = steadyNs();
    child.start();
    if (!waitForChild(child, pump, limitSeconds, error))
        return std::nullopt;

    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const qsizetype at = out.indexOf(QStringLiteral("probe "));
    QString failure;
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        // Qt's notes about the offscreen platform are no reason; the last other line may be.
        QString reason;
        for (const QString& l : QString::fromLocal8Bit(child.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts))
            if (!l.contains(QStringLiteral("XDG_RUNTIME_DIR"))
                && !l.contains(QStringLiteral("This plugin does not support")))
                reason = l.trimmed();
        failure = QStringLiteral("the child %1%2")
                      .arg(child.exitStatus() == QProcess::NormalExit
                               ? QStringLiteral("ended with exit code %1").arg(child.exitCode())
                               : QStringLiteral("crashed"),
                           reason.isEmpty() ? QString() : QStringLiteral(": ") + reason.left(200));
    }
    if (at < 0) {
        if (error)
            *error = failure.isEmpty() ? QStringLiteral("the child reported nothing") : failure;
        return std::nullopt;
    }

    // "probe main=N app=N scope=N paint=N end=N platform=NAME status=TEXT..."
    const QString line = out.mid(at).section(u'\n', 0, 0);
    auto field = [&](const QString& key) { return reportField(line, key); };
    auto seconds = [&](const QString& key) { return static_cast<double>(field(key).toLongLong() - t0) * 1e-9; };

    StartupRun run;
    run.mainEntered = seconds(QStringLiteral("main"));
    run.appBuilt = seconds(QStringLiteral("app"));
    run.scopeBuilt = seconds(QStringLiteral("scope"));
    run.runReturned = seconds(QStringLiteral("end"));
    run.platform = field(QStringLiteral("platform"));
    const qsizetype s = line.indexOf(QStringLiteral("status="));
    run.status = s < 0 ? QString() : line.mid(s + 7);
    run.warning = failure;
    if (field(QStringLiteral("paint")).toLongLong() == 0) {
        if (error)
            *error = QStringLiteral("the main panel was never painted (platform %1)").arg(run.platform);
        return std::nullopt;
    }
    run.firstPaint = seconds(QStringLiteral("paint"));
    return run;
}

}  // namespace tarvo::bench
