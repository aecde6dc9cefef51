#include "dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tarvo {

namespace {
std::unique_ptr<Dialogs>& slot()
{
    static std::unique_ptr<Dialogs> service = std::make_unique<QtDialogs>();
    return service;
}
} // namespace

Dialogs& dialogs() { return *slot(); }

void setDialogs(std::unique_ptr<Dialogs> service)
{
    slot() = service ? std::move(service) : std::make_unique<QtDialogs>();
}

QString fileDialogFilter(const FileDialogRequest& request)
{
    return request.filter.isEmpty() ? QString() : QStringLiteral("%1 (%1)").arg(request.filter);
}

void QtDialogs::message(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool QtDialogs::confirm(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Dialogs::Answer QtDialogs::ask(const QString& title, const QString& text, const QString& yes, const QString& no)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
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

QString QtDialogs::selectFile(const FileDialogRequest& r)
{
    const QString start = QDir(r.directory).filePath(r.defaultFile);
    const QString filter = fileDialogFilter(r);
    if (r.save)
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), r.title, start, filter, nullptr,
                                            r.askBeforeReplacing ? QFileDialog::Options()
                                                                 : QFileDialog::DontConfirmOverwrite);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), r.title, start, filter);
}

} // namespace tarvo
