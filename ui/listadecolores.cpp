// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/listadecolores.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

ListaDeColores::ListaDeColores(std::span<const coltavenira::Par> tabla, QWidget* parent)
    : QComboBox(parent)
{
    // Completion would turn typing into choosing. QComboBox gives an edit field without a
    // completer one of its own, built over the list's items; an empty one costs far less at start.
    auto* campo = new QLineEdit(this);
    campo->setCompleter(new QCompleter(campo));
    setLineEdit(campo);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    for (const auto& par : tabla)
        addItem(QString::fromUtf8(par.color.data(), static_cast<qsizetype>(par.color.size())));
    setCurrentIndex(-1);

    connect(this, &QComboBox::activated, this, [this] {
        if (!editando)
            emit colorElegido();
    });
}

bool ListaDeColores::event(QEvent* evento)
{
    // QComboBox chooses the item whose text was typed when Enter is pressed in the edit field
    // and when the field loses focus, and says so with activated(): not a choice from the list.
    bool desdeLaEdicion = evento->type() == QEvent::FocusOut;
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        desdeLaEdicion = tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
    }
    const QScopedValueRollback guarda(editando, editando || desdeLaEdicion);
    return QComboBox::event(evento);
}
