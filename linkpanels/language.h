// The language of what the programs show: German or English. The system's
// language decides unless the user chose one in the program (kept in the
// program's session file) or with --language for one run. Only what a person
// reads changes: every file keeps its format and its decimal point.
#pragma once

#include <QLocale>
#include <QString>
#include <optional>

class QCoreApplication;

namespace tarvo {

enum class Language { English, German };

// "de" or "en" (any case); nullopt for anything else.
std::optional<Language> parseLanguage(const QString& code);
QString languageCode(Language language);

// German when the system's first user-interface language is German,
// English for every other.
Language systemLanguage(const QLocale& system = QLocale::system());

// The key of the session file that keeps the user's choice ("de", "en";
// none or empty: the system's).
inline const QString kLanguageKey = QStringLiteral("language");

// The language of a run: --language, else the user's choice, else the system's.
Language chooseLanguage(std::optional<Language> commandLine, const QString& chosen,
                        const QLocale& system = QLocale::system());

// Loads and installs the translations of Qt's own dialogs and of the
// programs, and makes the language's number format the default of the
// input fields and displays. English installs nothing: the texts in the
// source are English. False when a translation could not be loaded.
bool applyLanguage(Language language);

}  // namespace tarvo
