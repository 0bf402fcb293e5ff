// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// A band's drop-down list: an edit field with the colours of one band table below it. It tells
// a colour chosen from the list apart from text typed into the edit field, which never counts.
#pragma once

#include "core/calculadora.h"

#include <QComboBox>

class ListaDeColores : public QComboBox
{
    Q_OBJECT

public:
    ListaDeColores(std::span<const coltavenira::Par> tabla, QWidget* parent);

signals:
    // An item was chosen from the list, with the mouse, the arrow keys or the mouse wheel.
    void colorElegido();

protected:
    bool event(QEvent* evento) override;

private:
    bool editando = false;
};
