// Dialog service for tests: records every box and answers from a script.
#pragma once

#include "dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tarvo::test {

struct ShownBox {
    QString kind;  // "message", "notice", "offer", "confirm", "ask", "file" or "url"
    QString title;
    QString text;
};

class ScriptedDialogs final : public Dialogs {
public:
    void message(const QString& title, const QString& text) override;
    void notice(const QString& title, const QString& text) override;
    bool offer(const QString& title, const QString& text, const QString& action) override;
    bool confirm(const QString& title, const QString& text) override;
    Answer ask(const QString& title, const QString& text, const QString& yes, const QString& no) override;
    bool openUrl(const QUrl& url) override;

    QList<ShownBox> shown;       // in the order they appeared
    QList<bool> confirmAnswers;  // taken front first (also by offers); empty answers "no"
    QList<Answer> askAnswers;    // taken front first; empty answers the second button ("no")
    QStringList fileAnswers;     // taken front first; empty answers "cancel"
    QList<FileDialogRequest> fileRequests;

    int count(const QString& title) const;

protected:
    QString chooseFile(const FileDialogRequest& request) override;
};

// Installs a fresh ScriptedDialogs as the process-wide service and returns it.
ScriptedDialogs& installScriptedDialogs();

}  // namespace tarvo::test
