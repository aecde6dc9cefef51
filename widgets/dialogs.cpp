#include "dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace tarvo {

namespace {
std::unique_ptr<Dialogs>& slot()
{
    static std::unique_ptr<Dialogs> service = std::make_unique<QtDialogs>();
    return service;
}

// The names of the kinds of file the programs read and write.
QString filterName(const QString& pattern)
{
    static const struct {
        const char* pattern;
        const char* name;
    } names[] = {{"*.dat", QT_TRANSLATE_NOOP("Dialogs", "Record files")},
                 {"*.ini", QT_TRANSLATE_NOOP("Dialogs", "Parameter files")},
                 {"*.cfg", QT_TRANSLATE_NOOP("Dialogs", "Calibration tables")},
                 {"*.equ", QT_TRANSLATE_NOOP("Dialogs", "Equation files")},
                 {"*.txt", QT_TRANSLATE_NOOP("Dialogs", "Text files")},
                 {"*.png", QT_TRANSLATE_NOOP("Dialogs", "PNG pictures")},
                 {"*.csv", QT_TRANSLATE_NOOP("Dialogs", "CSV files")}};
    for (const auto& n : names)
        if (pattern == QLatin1String(n.pattern))
            return QCoreApplication::translate("Dialogs", n.name);
    return QCoreApplication::translate("Dialogs", "Files");
}

// The boxes' titles as the code gives them; shown in the language in use.
[[maybe_unused]] const char* const kTitles[] = {
    QT_TRANSLATE_NOOP("Dialogs", "ATTENTION!"),
    QT_TRANSLATE_NOOP("Dialogs", "INFO!"),
    QT_TRANSLATE_NOOP("Dialogs", "Info"),
    QT_TRANSLATE_NOOP("Dialogs", "CONFIRM!"),
    QT_TRANSLATE_NOOP("Dialogs", "TCP Client"),
    QT_TRANSLATE_NOOP("Dialogs", "START CALIBRATION!"),
    // The file dialogs' titles.
    QT_TRANSLATE_NOOP("Dialogs", "Parameter"),
    QT_TRANSLATE_NOOP("Dialogs", "trace"),
    QT_TRANSLATE_NOOP("Dialogs", "equation"),
    QT_TRANSLATE_NOOP("Dialogs", "calib"),
    QT_TRANSLATE_NOOP("Dialogs", "REPORT!"),
    QT_TRANSLATE_NOOP("Dialogs", "FILENAME!"),
    QT_TRANSLATE_NOOP("Dialogs", "EXPORT CALIBRATION LOG"),
    QT_TRANSLATE_NOOP("Dialogs", "CERTIFICATE"),
};

QString shown(const QString& title)
{
    return QCoreApplication::translate("Dialogs", title.toUtf8().constData());
}

QMessageBox::Icon iconOf(const QString& title)
{
    if (title == QLatin1String("ATTENTION!"))
        return QMessageBox::Warning;
    if (title.compare(QLatin1String("INFO!"), Qt::CaseInsensitive) == 0 || title == QLatin1String("Info"))
        return QMessageBox::Information;
    return QMessageBox::Critical;
}

QString folderKey(const FileDialogRequest& request)
{
    return QStringLiteral("folders/") + (request.filter.isEmpty() ? QStringLiteral("any") : request.filter.mid(2));
}

}  // namespace

Dialogs& dialogs()
{
    return *slot();
}

void setDialogs(std::unique_ptr<Dialogs> service)
{
    slot() = service ? std::move(service) : std::make_unique<QtDialogs>();
}

QString fileDialogFilter(const FileDialogRequest& request)
{
    return request.filter.isEmpty() ? QString()
                                    : QStringLiteral("%1 (%2)").arg(filterName(request.filter), request.filter);
}

QString Dialogs::selectFile(const FileDialogRequest& request)
{
    FileDialogRequest r = request;
    const QString key = folderKey(request);
    if (m_folders) {
        const QString last = m_folders->value(key).toString();
        if (!last.isEmpty() && QFileInfo(last).isDir())
            r.directory = last;
    }
    QString path = chooseFile(r);
    if (m_folders && !path.isEmpty())
        m_folders->setValue(key, QFileInfo(path).absolutePath());
    return path;
}

void QtDialogs::message(const QString& title, const QString& text)
{
    QMessageBox box(iconOf(title), shown(title), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtDialogs::success(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Information, shown(title), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtDialogs::notice(const QString& title, const QString& text)
{
    auto* box = new QMessageBox(iconOf(title), shown(title), text, QMessageBox::Ok, QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

bool QtDialogs::offer(const QString& title, const QString& text, const QString& action)
{
    QMessageBox box(iconOf(title), shown(title), text, QMessageBox::Ok, QApplication::activeWindow());
    QPushButton* chosen = box.addButton(action, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == chosen;
}

namespace {

bool askYesNo(const QString& title, const QString& text, QMessageBox::StandardButton byDefault)
{
    QMessageBox box(QMessageBox::Question, shown(title), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(byDefault);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool QtDialogs::confirm(const QString& title, const QString& text)
{
    return askYesNo(title, text, QMessageBox::No);
}

bool QtDialogs::confirmToGoOn(const QString& title, const QString& text)
{
    return askYesNo(title, text, QMessageBox::Yes);
}

Dialogs::Answer QtDialogs::ask(const QString& title, const QString& text, const QString& yes, const QString& no)
{
    QMessageBox box(QMessageBox::Question, shown(title), text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yesButton = box.addButton(yes, QMessageBox::YesRole);
    QPushButton* noButton = box.addButton(no, QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(yesButton);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yesButton)
        return Answer::Yes;
    if (box.clickedButton() == noButton)
        return Answer::No;
    return Answer::Cancel;
}

bool QtDialogs::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

QString QtDialogs::chooseFile(const FileDialogRequest& r)
{
    const QString start = QDir(r.directory).filePath(r.defaultFile);
    const QString filter = fileDialogFilter(r);
    if (r.save)
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), shown(r.title), start, filter, nullptr,
                                            r.askBeforeReplacing ? QFileDialog::Options()
                                                                 : QFileDialog::DontConfirmOverwrite);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), shown(r.title), start, filter);
}

}  // namespace tarvo
