// Everything modal goes through one service: message box, yes/no question,
// file dialog, and the opening of a document in the desktop's viewer. The
// program installs the Qt one; tests install a scripted one.
#pragma once

#include <QPointer>
#include <QSettings>
#include <QString>
#include <functional>
#include <memory>

class QUrl;
class QWidget;

namespace tarvo {

struct FileDialogRequest {
    QString directory;    // starting directory
    QString defaultFile;  // proposed file name
    QString filter;       // e.g. "*.ini"
    QString title;
    bool save = false;  // true: a new file may be named
    // Whether the dialog itself asks before an existing file is chosen for
    // saving; false when the caller asks its own one question.
    bool askBeforeReplacing = true;
};

// The filter a file dialog offers: the format's own pattern alone, under
// its name ("Record files (*.dat)").
QString fileDialogFilter(const FileDialogRequest& request);

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString& title, const QString& text) = 0;
    // A message that tells of success under a title that otherwise warns
    // ("ATTENTION!"): shown with the information sign, not the warning one.
    virtual void success(const QString& title, const QString& text) { message(title, text); }
    // A message that holds nothing up: the program goes on while it is shown.
    virtual void notice(const QString& title, const QString& text) { message(title, text); }
    // A message with one more button, `action`; true when the user chose it.
    virtual bool offer(const QString& title, const QString& text, const QString& action)
    {
        (void)action;
        message(title, text);
        return false;
    }
    // Yes/No question; true for yes. No is the default button.
    virtual bool confirm(const QString& title, const QString& text) = 0;
    // A Yes/No question that checks a step the user asked for: Yes, which
    // goes on with it, is the default button, so Enter does not drop it.
    virtual bool confirmToGoOn(const QString& title, const QString& text) { return confirm(title, text); }
    // A question with three answers: the buttons read `yes`, `no` and
    // "Cancel"; Escape and closing the box cancel.
    enum class Answer { Yes, No, Cancel };
    virtual Answer ask(const QString& title, const QString& text, const QString& yes, const QString& no)
    {
        (void)yes;
        (void)no;
        return confirm(title, text) ? Answer::Yes : Answer::No;
    }
    // Empty string when cancelled. The dialog opens in the folder last chosen
    // for files of the same kind, when a store is set and the folder exists.
    QString selectFile(const FileDialogRequest& request);
    // Shows a document (the user guide) in the desktop's viewer.
    virtual bool openUrl(const QUrl& url)
    {
        (void)url;
        return false;
    }

    // Where the last folder of each kind of file is kept (the program's
    // session file); none: the folders the callers name.
    void rememberFoldersIn(QSettings* store) { m_folders = store; }

protected:
    virtual QString chooseFile(const FileDialogRequest& request) = 0;

private:
    QPointer<QSettings> m_folders;
};

// The real dialogs, modal over the active window. Boxes titled "ATTENTION!"
// carry the warning sign, the link's failure boxes (titled with the sensor's
// version text or "TCP Client") the critical one, "INFO!" boxes the
// information sign.
class QtDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override;
    void success(const QString& title, const QString& text) override;
    void notice(const QString& title, const QString& text) override;
    bool offer(const QString& title, const QString& text, const QString& action) override;
    bool confirm(const QString& title, const QString& text) override;
    bool confirmToGoOn(const QString& title, const QString& text) override;
    Answer ask(const QString& title, const QString& text, const QString& yes, const QString& no) override;
    bool openUrl(const QUrl& url) override;

protected:
    QString chooseFile(const FileDialogRequest& request) override;
};

// The process-wide service. Defaults to QtDialogs; a test replaces it.
Dialogs& dialogs();
void setDialogs(std::unique_ptr<Dialogs> service);

}  // namespace tarvo
