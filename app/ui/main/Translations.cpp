// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace Tolvane {
namespace {

QStringList translationDirs() {
    return {QDir(QCoreApplication::applicationDirPath())
                .absoluteFilePath(QStringLiteral("../" TOLVANE_INSTALL_DATADIR "/tolvane/translations")),
            QStringLiteral(TOLVANE_BUILD_TRANSLATIONS_DIR)};
}

} // namespace

bool installTranslations(const QLocale& locale) {
    static QTranslator own, qt;
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&qt);
    // Qt's own texts (standard buttons, dialogs) when the distribution ships them.
    if (qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    // A language without a translation, or the C locale, reads English with this desktop's texts.
    for (const QLocale& candidate : {locale, QLocale(QLocale::English)})
        for (const QString& dir : translationDirs())
            if (own.load(candidate, QStringLiteral("tolvane"), QStringLiteral("_"), dir))
                return QCoreApplication::installTranslator(&own);
    return false;
}

} // namespace Tolvane
