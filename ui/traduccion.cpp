// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/traduccion.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool traducirQtAlEspanol(QCoreApplication& aplicacion)
{
    auto* traduccion = new QTranslator(&aplicacion);
    if (!traduccion->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduccion;
        return false;
    }
    return QCoreApplication::installTranslator(traduccion);
}
