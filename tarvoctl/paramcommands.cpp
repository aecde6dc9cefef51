// get, send and verify: the parameter set and the teach table between the
// sensor and a parameter file, the file the scope loads and saves.
#include "commands.h"

#include "paramfile.h"

#include <QFileInfo>

namespace tarvo::ctl {

namespace {

constexpr qint64 kParameterFileBytes = 64 * 1024;

QString wordName(int index)
{
    if (index < kParamCount)
        return QStringLiteral("word %1 (%2)").arg(index).arg(QString::fromLatin1(kParamNames[index]));
    const int t = index - kParamCount;
    return QStringLiteral("word %1 (teach row %2, column %3)").arg(index).arg(t / kTeachCols).arg(t % kTeachCols);
}

QStringList differences(const ParameterBlock& a, const ParameterBlock& b, const QString& form)
{
    QStringList lines;
    for (int i = 0; i < kBlockWords; ++i)
        if (a[static_cast<size_t>(i)] != b[static_cast<size_t>(i)])
            lines << form.arg(wordName(i)).arg(a[static_cast<size_t>(i)]).arg(b[static_cast<size_t>(i)]);
    return lines;
}

QString memoryName(bool eeprom)
{
    return eeprom ? QStringLiteral("EEPROM") : QStringLiteral("RAM");
}

// The sensor's set from RAM, or from EEPROM through command 8, into *set.
// True when every frame went through.
bool readSet(Session& s, bool eeprom, ParameterBlock* set)
{
    s.params.target = eeprom ? EEPROM : RAM;
    if (!s.transfer.GetPara())
        return false;
    s.params.CopyVarsToPP();
    *set = s.params.pp;
    return true;
}

// The parameter file of the command's argument (or standard input) as the
// scope sends it: unpacked into the variables and packed again. Values the
// sensor does not take as they are (maxno above 31) change on the way; each
// change is said. Then the connection; the exit code when any of it fails.
std::optional<int> readFileThenConnect(const Invocation& in, Session& s, ParameterBlock* sent, ParameterSet* params)
{
    const QString path = in.args[0];
    InputFile input;
    if (const auto failed = readInput(path, kParameterFileBytes, &input))
        return failed;
    ParameterBlock file{};
    const ParamFileResult read = parseParameterFile(input.content, input.name, file);
    if (!read.ok)
        return report(BadUsage, fileMessage(path, read.error));
    params->pp = file;
    params->CopyFileParatoVars();
    params->CopyVarsToPP();
    *sent = params->pp;
    for (const QString& change : differences(file, *sent, QStringLiteral("%1: the file holds %2, the sensor takes %3")))
        warn(fileMessage(path, change));
    return s.begin();
}

// Puts the working set back as it was read and reads it again to check it.
// After a signal it is still put back, every frame acknowledged, but not
// read again, to end soon (a second signal ends at once). Empty when it is back.
QString restoreWorkingSet(Session& s, const ParameterSet& working, const ParameterBlock& words)
{
    const bool interrupted = s.interrupted();
    s.resumeWaits();
    s.params = working;
    s.params.target = RAM;
    s.setStep(QStringLiteral("putting the working set back"));
    if (!s.transfer.SendPara())
        return QStringLiteral("it could not be written");
    if (interrupted)
        return {};
    s.setStep(QStringLiteral("checking the working set"));
    ParameterBlock now{};
    if (!readSet(s, false, &now))
        return QStringLiteral("it could not be read back");
    const QStringList changed = differences(words, now, QStringLiteral("  %1: was %2, is %3"));
    if (!changed.isEmpty())
        return QStringLiteral("%1 words differ:\n%2").arg(changed.size()).arg(changed.join(u'\n'));
    return {};
}

// The sensor's set into *set: the working set, or the EEPROM set. Only
// command 8 gives the EEPROM set, and it loads it into the working set; so
// the working set is read first and, when the two differ, written back and
// checked. The sensor runs on with the working set it had.
std::optional<int> readSensorSet(const Invocation& in, Session& s, bool eeprom, ParameterBlock* set)
{
    if (!eeprom) {
        if (!readSet(s, false, set) || s.interrupted())
            return s.failureExit(QStringLiteral("reading the parameters failed"));
        return std::nullopt;
    }
    ParameterBlock workingWords{};
    s.setStep(QStringLiteral("reading the working set"));
    if (!readSet(s, false, &workingWords) || s.interrupted())
        return s.failureExit(QStringLiteral("reading the working set failed"));
    const ParameterSet working = s.params;

    s.setStep(QStringLiteral("reading the EEPROM set"));
    const bool read = readSet(s, true, set) && !s.interrupted();
    if (read && *set == workingWords)
        return std::nullopt;  // command 8 changed nothing

    // Command 8 may have replaced the working set: back it goes.
    const int failed = read ? Done : s.failureExit(QStringLiteral("reading the EEPROM set failed"));
    const QString notBack = restoreWorkingSet(s, working, workingWords);
    if (!notBack.isEmpty()) {
        s.forbidRetry();  // a second run would take the EEPROM set for the working set
        return report(SensorFailed,
                      QStringLiteral("%1: the working set could not be put back (%2); the sensor may now "
                                     "run with its EEPROM set")
                          .arg(s.where(), notBack));
    }
    if (!read) {
        warn(QStringLiteral("%1: the working set was put back as it was").arg(s.where()));
        return failed;
    }
    note(
        in,
        QStringLiteral("%1: the working set differed from the EEPROM set; it was put back and checked").arg(s.where()));
    return std::nullopt;
}

}  // namespace

int getParameters(const Invocation& in, Session& s)
{
    wantArguments(in, "get [--eeprom] [-o FILE] [--no-clobber]", 0);
    const QString output = in.value(opt::output);
    const bool toFile = !output.isEmpty() && output != u"-";
    if (in.isSet(opt::noClobber) && !toFile)
        usage(QStringLiteral("--no-clobber goes with -o FILE"));
    if (in.isSet(opt::noClobber) && QFileInfo::exists(output))
        return report(
            BadUsage,
            fileMessage(output, QStringLiteral("cannot be written: the file exists (--no-clobber keeps it)")));
    if (const auto failed = s.begin())
        return *failed;
    ParameterBlock set{};
    if (const auto failed = readSensorSet(in, s, in.isSet(opt::eeprom), &set))
        return *failed;
    if (!toFile) {
        in.out->write(formatParameterFile(set));
        return Done;
    }
    const ParamFileResult written = writeParameterFile(output, set);
    if (!written.ok)
        return report(BadUsage, fileMessage(output, QStringLiteral("cannot be written: ") + written.error));
    return Done;
}

int sendParameters(const Invocation& in, Session& s)
{
    wantArguments(in, "send FILE [--eeprom]", 1);
    const bool eeprom = in.isSet(opt::eeprom);
    ParameterSet fromFile;
    ParameterBlock sent{};
    if (const auto failed = readFileThenConnect(in, s, &sent, &fromFile))
        return *failed;

    s.params = fromFile;
    s.params.target = eeprom ? EEPROM : RAM;
    if (!s.transfer.SendPara() || s.failed() || s.interrupted()) {
        const int failed = s.failureExit(QStringLiteral("sending the parameters failed"));
        if (const auto& cut = s.transfer.lastCut())
            warn(QStringLiteral("%1: the write was cut short, the sensor now holds a mixed set: %2; "
                                "send the file again to finish the write")
                     .arg(s.where(), describeCutWrite(*cut, 0)));
        return failed;
    }

    // Read back from where it went; the EEPROM read loads it into RAM first,
    // where it is now anyway.
    s.setStep(QStringLiteral("read-back"));
    ParameterBlock back{};
    if (!readSet(s, eeprom, &back) || s.interrupted())
        return s.failureExit(QStringLiteral("reading back failed"));
    const QStringList differing = differences(sent, back, QStringLiteral("  %1: sent %2, read back %3"));
    if (!differing.isEmpty())
        return report(SensorFailed,
                      QStringLiteral("%1: read-back: %2 of %3 words differ:\n%4")
                          .arg(s.where())
                          .arg(differing.size())
                          .arg(kBlockWords)
                          .arg(differing.join(u'\n')));
    if (!in.quiet)
        in.out->line(
            QStringLiteral("%1 words sent to %2 and read back unchanged.").arg(kBlockWords).arg(memoryName(eeprom)));
    return Done;
}

int verifyParameters(const Invocation& in, Session& s)
{
    wantArguments(in, "verify FILE [--eeprom]", 1);
    const bool eeprom = in.isSet(opt::eeprom);
    ParameterSet fromFile;
    ParameterBlock expected{};
    // A sensor that could not be read has its own code: a job that runs
    // verify tells a dead line from a drifted set.
    const auto notRead = [&](int code) { return code == SensorFailed && !s.interrupted() ? NotRead : code; };
    if (const auto failed = readFileThenConnect(in, s, &expected, &fromFile))
        return notRead(*failed);
    ParameterBlock actual{};
    if (const auto failed = readSensorSet(in, s, eeprom, &actual))
        return notRead(*failed);
    const QString file = displayName(in.args[0]);
    const QStringList differing = differences(expected, actual, QStringLiteral("  %1: file %2, sensor %3"));
    if (differing.isEmpty()) {
        if (!in.quiet)
            in.out->line(
                QStringLiteral("%1 words in %2 are the same as in %3.").arg(kBlockWords).arg(memoryName(eeprom), file));
        return Done;
    }
    in.out->line(QStringLiteral("%1 of %2 words in %3 differ from %4:\n%5")
                     .arg(differing.size())
                     .arg(kBlockWords)
                     .arg(memoryName(eeprom), file, differing.join(u'\n')));
    return SensorFailed;
}

}  // namespace tarvo::ctl
