// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include "ui/anuncio.h"
#include "ui/listadecolores.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>

namespace {

constexpr qreal tamanoDelResultado = 27.75; // points

// The layout is laid out in twips; at 96 dots per inch 15 of them make a logical pixel, and Qt
// scales logical pixels on high-density screens.
QRect enTwips(int izquierda, int arriba, int ancho, int alto)
{
    const auto px = [](int twips) { return qRound(twips / 15.0); };
    return {px(izquierda), px(arriba), px(ancho), px(alto)};
}

const QRect cajaDeLaInstruccion = enTwips(120, 120, 5055, 255);

QString instruccion()
{
    return Form1::tr("Ingrese las bandas de colores para hallar el valor de la COLTAVENIRA:");
}

} // namespace

// The layout was drawn for a small dialog font: a desktop's larger default would clip the
// instruction in its fixed box, so the font is the largest up to 8 points that fits it,
// whatever font stands in for Arial here.
QFont Form1::fuenteDelDialogo()
{
    QFont dialogo(QStringLiteral("Arial"));
    dialogo.setPointSizeF(8);
    while (dialogo.pointSizeF() > 6 &&
           QFontMetricsF(dialogo).horizontalAdvance(instruccion()) > cajaDeLaInstruccion.width()) {
        dialogo.setPointSizeF(dialogo.pointSizeF() - 0.25);
    }
    return dialogo;
}

Form1::Form1(QWidget* parent) : Form1(QLocale::system().decimalPoint().toStdString(), parent) {}

Form1::Form1(std::string separadorDecimal, QWidget* parent)
    : QWidget(parent), separadorDecimal(std::move(separadorDecimal))
{
    setWindowTitle(QStringLiteral("Coltavenira"));
    setFixedSize(enTwips(0, 0, 5865, 2250).size());
    // A window of fixed size has nothing to maximize: minimize and close only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    // Set before the controls exist, so that none of them loads another font for nothing.
    setFont(fuenteDelDialogo());

    Label2 = new QLabel(instruccion(), this);
    b1 = new ListaDeColores(coltavenira::tablaDeBanda(1), tr("Banda 1: primera cifra"), this);
    b2 = new ListaDeColores(coltavenira::tablaDeBanda(2), tr("Banda 2: segunda cifra"), this);
    b3 = new ListaDeColores(coltavenira::tablaDeBanda(3), tr("Banda 3: multiplicador"), this);
    b4 = new ListaDeColores(coltavenira::tablaDeBanda(4), tr("Banda 4: tolerancia"), this);
    Label1 = new QLabel(this);

    Label2->setObjectName("Label2");
    Label2->setGeometry(cajaDeLaInstruccion);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // One row, left to right in band order, 140 twips apart.
    int banda = 0;
    for (ListaDeColores* lista : {b1, b2, b3, b4}) {
        lista->setObjectName(QStringLiteral("b%1").arg(banda + 1));
        lista->setGeometry(enTwips(120 + 1440 * banda++, 500, 1300, 315));
    }

    Label1->setObjectName("Label1");
    Label1->setGeometry(enTwips(120, 1200, 5655, 975));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont grande(QStringLiteral("Arial"));
    grande.setPointSizeF(tamanoDelResultado);
    grande.setWeight(QFont::Normal);
    Label1->setFont(grande);
    // Not an accessible name: that would hide the reading, which is the label's name.
    Label1->setAccessibleDescription(tr("Valor de la resistencia"));
    anuncio = new Anuncio(Label1);

    // The tolerance list comes second, right after the first digit.
    setTabOrder(b1, b4);
    setTabOrder(b4, b2);
    setTabOrder(b2, b3);
    b1->setFocus();

    conectar(b1, &Form1::b1_Click);
    conectar(b2, &Form1::b2_Click);
    conectar(b3, &Form1::b3_Click);
    conectar(b4, &Form1::b4_Click);

    Form_Load();
}

void Form1::Form_Load()
{
    mostrar(coltavenira::valoresIniciales(lectura));
}

void Form1::b1_Click()
{
    elegir(1, b1);
}
void Form1::b2_Click()
{
    elegir(2, b2);
}
void Form1::b3_Click()
{
    elegir(3, b3);
}
void Form1::b4_Click()
{
    elegir(4, b4);
}

void Form1::elegir(int banda, const ListaDeColores* lista)
{
    coltavenira::elegirColor(lectura, banda, lista->currentText().toStdString());
    mostrar(coltavenira::Calcular(lectura, separadorDecimal));
    // The label's new name goes unheard while the focus stays on the list; a user who chose again
    // is owed the reading all the same.
    anuncio->decir(Label1->text());
}

void Form1::mostrar(const std::string& resultado)
{
    const QString texto = QString::fromStdString(resultado);
    // A few readings ("00000000000 Ohms ± 10%") are wider than the label at its size: a clipped
    // reading would show the wrong value, so only those are drawn smaller, to fit.
    QFont fuente = Label1->font();
    fuente.setPointSizeF(tamanoDelResultado);
    const qreal ancho = QFontMetricsF(fuente).horizontalAdvance(texto);
    if (ancho > Label1->contentsRect().width())
        fuente.setPointSizeF(tamanoDelResultado * Label1->contentsRect().width() / ancho * 0.98);
    Label1->setFont(fuente);
    Label1->setText(texto);
}

// A failure must not unwind through Qt's event delivery: it ends the handler here instead.
void Form1::conectar(ListaDeColores* lista, void (Form1::*manejador)())
{
    connect(lista, &ListaDeColores::colorElegido, this, [this, manejador] {
        try {
            (this->*manejador)();
        } catch (const std::exception& fallo) {
            informarFallo(fallo);
        }
    });
}

// Like any program's unhandled failure: say what went wrong. Ending the program is main's.
void Form1::informarFallo(const std::exception& fallo)
{
    QMessageBox::critical(this, windowTitle(),
                          tr("Se produjo un error y el programa se cerrará:\n\n%1")
                              .arg(QString::fromUtf8(fallo.what())));
    emit falloInformado();
}
