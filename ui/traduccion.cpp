// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/traduccion.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool traducirQtAlEspanol(QCoreApplication& aplicacion)
{
#ifdef Q_OS_WIN
    // The Windows program is one file: it carries Qt's texts itself (ui/CMakeLists.txt).
    const QString carpeta = QStringLiteral(":/i18n");
#else
    const QString carpeta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    auto* traduccion = new QTranslator(&aplicacion);
    if (!traduccion->load(QStringLiteral("qtbase_es"), carpeta)) {
        delete traduccion;
        return false;
    }
    return QCoreApplication::installTranslator(traduccion);
}
