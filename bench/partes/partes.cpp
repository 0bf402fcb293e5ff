// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The floor's window with one part of the program's window added, named by the argument:
// "listas" (the four band lists), "resultado" (the large result label) or "fuente" (the
// window's Arial dialog font). The benchmark times each against the bare floor to show what the
// part costs.
#include "core/calculadora.h"
#include "ui/listadecolores.h"

#include <QApplication>
#include <QFont>
#include <QLabel>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const char* parte = argc > 1 ? argv[1] : "";
    QLabel ventana(QStringLiteral("Ingrese las bandas de colores"));
    ventana.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ventana.resize(391, 150);
    if (std::strcmp(parte, "fuente") == 0) {
        QFont dialogo(QStringLiteral("Arial"));
        dialogo.setPointSizeF(7.5);
        ventana.setFont(dialogo);
    } else if (std::strcmp(parte, "listas") == 0) {
        for (int banda = 1; banda <= 4; ++banda) {
            auto* lista = new ListaDeColores(coltavenira::tablaDeBanda(banda),
                                             QStringLiteral("Banda"), &ventana);
            lista->setGeometry(8 + 96 * (banda - 1), 33, 87, 21);
        }
    } else if (std::strcmp(parte, "resultado") == 0) {
        auto* resultado = new QLabel(QString::fromUtf8("0 Ohms ± 0"), &ventana);
        QFont grande(QStringLiteral("Arial"));
        grande.setPointSizeF(27.75);
        resultado->setFont(grande);
        resultado->setGeometry(8, 80, 377, 65);
        resultado->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    ventana.show();
    return QApplication::exec();
}
