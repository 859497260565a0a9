// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLineTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace Tolvane::cli {
namespace {

// The language of messages as the C library picks it: LC_ALL, then LC_MESSAGES, then LANG.
QString messageLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value.section('.', 0, 0).section('@', 0, 0).section('_', 0, 0);
    }
    return {};
}

} // namespace

void installCommandLineTranslation() {
    const QString language = messageLanguage();
    if (language.isEmpty() || language == QLatin1String("C") || language == QLatin1String("POSIX") ||
        language == QLatin1String("en"))
        return;
    static QTranslator own, qt;
    const QString name = QStringLiteral("tolvane_") + language;
    for (const QString& dir :
         {QDir(QCoreApplication::applicationDirPath())
              .absoluteFilePath(QStringLiteral("../" TOLVANE_INSTALL_DATADIR "/tolvane/translations")),
          QStringLiteral(TOLVANE_BUILD_TRANSLATIONS_DIR)})
        if (own.load(name, dir)) {
            QCoreApplication::installTranslator(&own);
            break;
        }
    // Qt's own words in the help text ("Usage:", "Options:") when the distribution ships them.
    if (qt.load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
}

} // namespace Tolvane::cli
