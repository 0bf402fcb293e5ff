// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt's own texts (an edit field's menu, the buttons of a message box) in Spanish, as the rest of
// the window is, whatever the user's locale.
#pragma once

class QCoreApplication;

// Installs Qt's Spanish translation in the application. Without its file, Qt's texts stay in
// English and this gives false.
bool traducirQtAlEspanol(QCoreApplication& aplicacion);
