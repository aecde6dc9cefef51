#include "scripteddialogs.h"

namespace tarvo::test {

void ScriptedDialogs::message(const QString& title, const QString& text)
{
    shown.append({QStringLiteral("message"), title, text});
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

QString ScriptedDialogs::selectFile(const FileDialogRequest& request)
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

} // namespace tarvo::test
