#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tarvo {

std::optional<Language> parseLanguage(const QString& code)
{
    const QString c = code.trimmed().toLower();
    if (c == QLatin1String("de"))
        return Language::German;
    if (c == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language)
{
    return language == Language::German ? QStringLiteral("de") : QStringLiteral("en");
}

Language systemLanguage(const QLocale& system)
{
    // LANGUAGE, LC_ALL, LC_MESSAGES and LANG on Linux, the display language on Windows.
    const QStringList languages = system.uiLanguages();
    const QString first = languages.isEmpty() ? system.name() : languages.constFirst();
    return first.startsWith(QLatin1String("de"), Qt::CaseInsensitive) ? Language::German : Language::English;
}

Language chooseLanguage(std::optional<Language> commandLine, const QString& chosen, const QLocale& system)
{
    if (commandLine)
        return *commandLine;
    if (const auto language = parseLanguage(chosen))
        return *language;
    return systemLanguage(system);
}

bool applyLanguage(Language language)
{
    if (language == Language::English) {
        // Numbers as the source writes them, whatever the system's locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return true;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    bool loaded = true;
    // Qt's own texts (the buttons of message boxes, the file dialogs) from
    // the Qt installation; ours are compiled into the program.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        loaded = false;
    auto* ours = new QTranslator(QCoreApplication::instance());
    if (ours->load(QStringLiteral(":/i18n/tarvo_de.qm")))
        QCoreApplication::installTranslator(ours);
    else
        loaded = false;
    return loaded;
}

}  // namespace tarvo
