#include "scripteddialogs.h"

#include <QUrl>

namespace tarvo::test {

void ScriptedDialogs::message(const QString& title, const QString& text)
{
    shown.append({QStringLiteral("message"), title, text});
}

void ScriptedDialogs::notice(const QString& title, const QString& text)
{
    shown.append({QStringLiteral("notice"), title, text});
}

bool ScriptedDialogs::offer(const QString& title, const QString& text, const QString& action)
{
    shown.append({QStringLiteral("offer"), title, text + QStringLiteral(" [") + action + u']'});
    return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
}

bool ScriptedDialogs::openUrl(const QUrl& url)
{
    shown.append({QStringLiteral("url"), QString(), url.toString()});
    return true;
}

bool ScriptedDialogs::confirm(const QString& title, const QString& text)
{
    shown.append({QStringLiteral("confirm"), title, text});
    return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
}

Dialogs::Answer ScriptedDialogs::ask(const QString& title, const QString& text, const QString&, const QString&)
{
    shown.append({QStringLiteral("ask"), title, text});
    return askAnswers.isEmpty() ? Answer::No : askAnswers.takeFirst();
}

QString ScriptedDialogs::chooseFile(const FileDialogRequest& request)
{
    shown.append({QStringLiteral("file"), request.title, request.defaultFile});
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

int ScriptedDialogs::count(const QString& title) const
{
    int n = 0;
    for (const auto& box : shown)
        n += box.title == title;
    return n;
}

ScriptedDialogs& installScriptedDialogs()
{
    auto service = std::make_unique<ScriptedDialogs>();
    auto& ref = *service;
    setDialogs(std::move(service));
    return ref;
}

}  // namespace tarvo::test
