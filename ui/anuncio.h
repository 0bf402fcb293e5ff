// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later

// Has a screen reader speak a widget's new text as soon as it shows, whatever has the focus:
// screen readers leave a label that changes unread unless it has the focus, and the focus stays
// on the list the user chooses in.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

class Anuncio : public QObject
{
public:
    // Speaks for `origen`, whose child it is.
    explicit Anuncio(QWidget* origen);

    // Spoken once for each call, the same text again included; nothing is shown or moved.
    void decir(const QString& texto);
};
