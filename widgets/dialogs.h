// Everything modal goes through one service: message box, yes/no question,
// file dialog. The program installs the Qt one; tests install a scripted one.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace tarvo {

struct FileDialogRequest {
    QString directory;    // starting directory
    QString defaultFile;  // proposed file name
    QString filter;       // e.g. "*.ini"
    QString title;
    bool save = false;    // true: a new file may be named
    // Whether the dialog itself asks before an existing file is chosen for
    // saving; false when the caller asks its own one question.
    bool askBeforeReplacing = true;
};

// The filter a file dialog offers: the format's own pattern alone.
QString fileDialogFilter(const FileDialogRequest& request);

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString& title, const QString& text) = 0;
    // Yes/No question; true for yes.
    virtual bool confirm(const QString& title, const QString& text) = 0;
    // A question with three answers: the buttons read `yes`, `no` and
    // "Cancel"; Escape and closing the box cancel.
    enum class Answer { Yes, No, Cancel };
    virtual Answer ask(const QString& title, const QString& text, const QString& yes, const QString& no)
    {
        (void)yes;
        (void)no;
        return confirm(title, text) ? Answer::Yes : Answer::No;
    }
    // Empty string when cancelled.
    virtual QString selectFile(const FileDialogRequest& request) = 0;
};

// The real dialogs, modal over the active window.
class QtDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override;
    bool confirm(const QString& title, const QString& text) override;
    Answer ask(const QString& title, const QString& text, const QString& yes, const QString& no) override;
    QString selectFile(const FileDialogRequest& request) override;
};

// The process-wide service. Defaults to QtDialogs; a test replaces it.
Dialogs& dialogs();
void setDialogs(std::unique_ptr<Dialogs> service);

} // namespace tarvo
