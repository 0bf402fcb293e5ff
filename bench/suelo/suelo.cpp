// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The floor the window is measured against: a bare Qt Widgets program whose window shows one
// line of text, at the program's client size so that both draw and send as many pixels. Any
// window that shows text pays this much for the toolkit, the display connection and the fonts.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel etiqueta(QStringLiteral("Ingrese las bandas de colores"));
    etiqueta.resize(391, 150);
    etiqueta.show();
    return QApplication::exec();
}
