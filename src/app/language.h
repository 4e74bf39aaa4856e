#pragma once

#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace bm {

enum class UiLanguage { Chinese, English };

// The interface speaks English only when the user's preferred languages put
// English before Chinese; Chinese is the program's own language otherwise.
UiLanguage chooseLanguage(const QStringList& uiLanguages);

// The user's preferred languages as the environment gives them (LANGUAGE, then
// LC_ALL, LC_MESSAGES, LANG), falling back to the system's list.
QStringList preferredLanguages();

// Installs the program's and Qt's own translators for the language; the
// translators are children of app.
void installTranslators(QCoreApplication& app, UiLanguage language);

} // namespace bm
