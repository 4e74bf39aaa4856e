#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace bm {

UiLanguage chooseLanguage(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QString lower = name.toLower();
        if (lower.startsWith(QLatin1String("zh")))
            return UiLanguage::Chinese;
        if (lower == QLatin1String("en") || lower.startsWith(QLatin1String("en_"))
            || lower.startsWith(QLatin1String("en-")) || lower.startsWith(QLatin1String("en.")))
            return UiLanguage::English;
    }
    return UiLanguage::Chinese;
}

QStringList preferredLanguages()
{
#ifndef Q_OS_WIN
    // Qt reads a C or POSIX locale as American English; for this program those
    // mean "no preference", so the environment is read here, LANGUAGE first.
    const QString language = qEnvironmentVariable("LANGUAGE");
    if (!language.isEmpty())
        return language.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return {value};
    }
    return {};
#else
    return QLocale::system().uiLanguages();
#endif
}

void installTranslators(QCoreApplication& app, UiLanguage language)
{
    const auto load = [&app](const QString& name, const QString& folder) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(name, folder))
            return;
        translator->setParent(&app);
        QCoreApplication::installTranslator(translator.release());
    };
    if (language == UiLanguage::English) {
        load(QStringLiteral("brackenmoor_en"), QStringLiteral(":/i18n"));
        return;
    }
    // Qt's own dialogs speak Chinese too, where Qt's translations are installed.
    load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace bm
