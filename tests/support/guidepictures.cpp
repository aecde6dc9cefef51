// Takes the user guide's pictures from the real programs: builds TarvoV43
// (guide_pictures_scope) or TarvoTempCompV43 (guide_pictures_tool; the two
// programs' main panels share a form name, so each has a program of its own)
// on its real panels, connected to a simulated sensor, walks through the
// panels the guide shows and writes each one as a PNG. Boxes are answered by
// the tests' dialog service and listed at the end. tools/guide-pictures.sh
// starts the simulator and runs these programs.
//
//   guide_pictures_scope|guide_pictures_tool PROGRAMDIR PORT OUTDIR
#include "scripteddialogs.h"
#include "settingsfiles.h"
#ifdef GUIDE_PICTURES_TOOL
#include "tempcompapp.h"
#else
#include "calibrationlogpanel.h"
#include "scopeapp.h"
#include "tracewindow.h"
#include "ui_CALIBP.h"
#include "ui_CALIBP2.h"
#include "ui_GRAPHP.h"
#include "ui_MONITORP.h"
#include "ui_P.h"
#include "ui_RECP.h"
#endif

#include "language.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

// Steps run one after another, each after its pause. The next step is
// scheduled before a step runs, so that a step which stays in a loop of its
// own (GO, START) is followed by the steps that look at it and stop it.
class Walk {
public:
    void add(int pauseMs, std::function<void()> step) { m_steps.emplace_back(pauseMs, std::move(step)); }
    void start() { next(); }

private:
    void next()
    {
        const auto& [pause, step] = m_steps.at(m_at++);
        QTimer::singleShot(pause, [this, &step = step] {
            const bool last = m_at == m_steps.size();
            if (!last)
                next();
            step();
            if (last)
                QCoreApplication::quit();  // closes every window
        });
    }
    std::vector<std::pair<int, std::function<void()>>> m_steps;
    std::size_t m_at = 0;
};

int failures = 0;

void shoot(QWidget* w, const QString& file)
{
    QApplication::processEvents();
    if (!w->isVisible() || !w->grab().save(file)) {
        std::fprintf(stderr, "guide_pictures: %s was not written (panel %s)\n", qPrintable(file),
                     w->isVisible() ? "shown" : "not shown");
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

tarvo::ConnectionSettings tcpTo(const QString& port)
{
    tarvo::ConnectionSettings c;
    c.comprotocol = 1;
    c.ipBuf = QStringLiteral("127.0.0.1");
    c.portNumStr = port;
    return c;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    // TARVO_LANGUAGE=de: the panels in German, for the German guide and to look at their layout.
    if (const auto language = tarvo::parseLanguage(qEnvironmentVariable("TARVO_LANGUAGE")))
        tarvo::applyLanguage(*language);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: %s PROGRAMDIR PORT OUTDIR\n", qPrintable(args.value(0)));
        return 2;
    }
    const QString& programDir = args[1];
    const QString& port = args[2];
    const QDir out(args[3]);
    auto& dialogs = tarvo::test::installScriptedDialogs();
    auto path = [&out](const char* name) { return out.filePath(QString::fromLatin1(name)); };
    auto click = [](QPushButton* b) { b->click(); };
    Walk walk;

#ifndef GUIDE_PICTURES_TOOL
    auto scope = std::make_unique<tarvo::ScopeApp>(programDir);
    {
        scope->setConnectionForThisRun(tcpTo(port));
        tarvo::ScopeApp& app = *scope;
        Ui::P& p = *app.panel().ui;
        app.panel().widget->show();
        app.InitAll();

        // The main panel and the trace window while GO runs.
        walk.add(300, [&] { click(p.ButtonGo); });
        walk.add(1500, [&] { click(p.ButtonTrace); });
        walk.add(2500, [&] {
            shoot(app.panel().widget.get(), path("main-panel.png"));
            shoot(app.tracewindow().widget(), path("trace-window.png"));
            app.tracewindow().widget()->hide();
            click(p.ButtonStop);
        });
        walk.add(800, [&] { click(p.ButtonConnect); });
        walk.add(800, [&] {
            shoot(app.interfacepanel().widget(), path("interface-panel.png"));
            app.interfacepanel().widget()->hide();
        });
        // Both calibration panels; the second one after one MEASURE.
        walk.add(500, [&] { click(p.ButtonCalibrate); });
        walk.add(800, [&] {
            shoot(app.calibpanel().widget.get(), path("calibration-panel.png"));
            dialogs.confirmAnswers << true;
            click(app.calibpanel().ui->ButtonCalibToOtherSystem);
        });
        walk.add(800, [&] { click(app.calibpanel2().ui->ButtonMeasure); });
        walk.add(1500, [&] {
            // A few pairs of samples and the curve through them.
            const double pairs[][2] = {{50.0, 44.0}, {98.1, 91.5}, {400.0, 372.0}, {1000.0, 948.0}};
            QTableWidget* grid = app.calibpanel2().ui->GridMeasuredValues;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 2; ++c)
                    grid->item(r + 1, c)->setText(QString::number(pairs[r][c], 'f', 1));
            click(app.calibpanel2().ui->ButtonCalcCalibData);
        });
        walk.add(800, [&] {
            shoot(app.calibpanel2().widget.get(), path("calibration-other-panel.png"));
            click(app.calibpanel2().ui->ButtonSendCalibData);  // the curve to the sensor: a record in the log
        });
        // After the 78 frames of the curve, on a busy machine too.
        walk.add(3000, [&] { click(app.calibpanel().ui->ButtonCalibLog); });
        walk.add(800, [&] {
            auto* log = app.calibpanel().ui->ButtonCalibLog->findChild<tarvo::CalibrationLogPanel*>();
            shoot(log->widget(), path("calibration-log.png"));
            log->widget()->hide();
            click(app.calibpanel2().ui->ButtonCloseCalibP2);
        });
        // The recorder and the graph panel during a triggered recording.
        walk.add(800, [&] { click(p.ButtonOpenRecorder); });
        walk.add(500, [&] {
            Ui::RECP& r = *app.recpanel().ui;
            dialogs.fileAnswers << QDir(programDir).filePath(QStringLiteral("line3-monday.dat"));
            click(r.ButtonSelRecFile);
            r.EditSelectDataRec->setCurrentIndex(3);  // TRIGGERED
            dialogs.confirmAnswers << true << true << true;
        });
        walk.add(500, [&] { click(app.recpanel().ui->ButtonStartTrigRec); });
        walk.add(4000, [&] { click(app.recpanel().ui->ButtonShowGraph); });
        walk.add(1500, [&] {
            shoot(app.recpanel().widget.get(), path("recorder-panel.png"));
            shoot(app.graphpanel().widget.get(), path("graph-panel.png"));
            app.graphpanel().widget->hide();
            click(app.recpanel().ui->ButtonStopTrigRec);
        });
        walk.add(800, [&] { click(app.recpanel().ui->ButtonCloseRecorder); });
        // The monitor: TRIGGER SELF sent, as the guide says.
        walk.add(800, [&] {
            p.EditTrigger->setCurrentIndex(1);
            click(p.ButtonSend);
        });
        walk.add(800, [&] {
            if (!p.ButtonOpenMonitor->isVisibleTo(app.panel().widget.get())) {
                std::fprintf(stderr, "guide_pictures: MONITOR is not offered after TRIGGER SELF was sent\n");
                ++failures;
            }
            click(p.ButtonOpenMonitor);
        });
        walk.add(500, [&] {
            click(app.monitorpanel().ui->ButtonMonitorReset);  // a clean window, as the guide says
            click(app.monitorpanel().ui->ButtonStartMonitor);
        });
        // Long enough for the 100 scans of the window at the simulator's 25 parts a second.
        walk.add(5500, [&] {
            shoot(app.monitorpanel().widget.get(), path("monitor-panel.png"));
            click(app.monitorpanel().ui->ButtonStopMonitor);
        });
        walk.add(800, [&] { app.monitorpanel().widget->close(); });
    }
#else
    auto tool = std::make_unique<tarvo::tempcomp::TempCompApp>(programDir);
    {
        tool->setConnectionForThisRun(tcpTo(port));
        tool->panel()->show();
        tool->InitVars();
        // Curves of a plausible sensor, loaded as the user loads them.
        const QString equation = QDir(programDir).filePath(QStringLiteral("curves.equ"));
        QFile file(equation);
        if (!file.open(QIODevice::WriteOnly)
            || file.write("0\n0\n0.05\n-8\n3000\n0\n0\n0.03\n-5\n2500\n0\n0.0005\n0.02\n-6\n2000\n") < 0)
            return 1;
        file.close();
        dialogs.fileAnswers << equation;
        walk.add(800, [&] {
            auto button = [&](const char* name) {
                click(tool->panel()->findChild<QPushButton*>(QString::fromLatin1(name)));
            };
            button("ButtonGetEquation");
            button("ButtonCalcCurves");
            // The reference at step 25 takes the three reference values from the curves.
            tool->panel()->findChild<QSpinBox*>(QStringLiteral("EditTemp"))->setValue(25);
            button("ButtonCalcCalib");
        });
        walk.add(800, [&] { shoot(tool->panel(), path("tool-panel.png")); });
    }
#endif
    walk.start();
    QApplication::exec();
    for (const auto& box : std::as_const(dialogs.shown))
        std::fprintf(stderr, "box: %s: %s\n", qPrintable(box.title), qPrintable(box.text.simplified()));
    return failures == 0 ? 0 : 1;
}
