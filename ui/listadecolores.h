// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later

// A band's drop-down list: an edit field with the colours of one band table below it, each
// beside a swatch of its colour. Only a colour chosen from the list counts: text typed into the
// edit field never moves the list's current colour, and is put back when typing ends.
#pragma once

#include "core/calculadora.h"

#include <QComboBox>

class ListaDeColores : public QComboBox
{
    Q_OBJECT

public:
    // `nombre` is what assistive technology calls the list and its edit field at all times.
    ListaDeColores(std::span<const coltavenira::Par> tabla, const QString& nombre, QWidget* parent);

    void showPopup() override;

signals:
    // A colour was chosen from the list, with the mouse, the arrow keys or the mouse wheel.
    void colorElegido();

protected:
    bool event(QEvent* evento) override;

private:
    void devolverElColorElegido();
};
