#include "platform/qt_translations.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

// QLocale reads the language from the environment, so this works whether or
// not the C library has the locale generated.
bool installQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

}
