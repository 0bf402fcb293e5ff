// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one window: an instruction, a drop-down list for each of the four colour bands,
// and the large label that shows the reading after every choice.
#pragma once

#include "core/calculadora.h"

#include <QFont>
#include <QWidget>

#include <exception>
#include <string>

class Anuncio;
class QLabel;
class ListaDeColores;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    // Reads numbers with the user's locale's decimal separator.
    explicit Form1(QWidget* parent = nullptr);
    // With a decimal separator of the caller's, as UTF-8 text.
    explicit Form1(std::string separadorDecimal, QWidget* parent = nullptr);

    // The font the window lays out its instruction and lists in. An application that shows
    // nothing but this window takes it as its own font before the window exists: an edit field
    // first lays out its text in the application's font, which would load the desktop's for
    // nothing.
    static QFont fuenteDelDialogo();

signals:
    // A handler failed and the user has been told so: the program cannot go on.
    void falloInformado();

private:
    void Form_Load();
    void b1_Click();
    void b2_Click();
    void b3_Click();
    void b4_Click();

    void elegir(int banda, const ListaDeColores* lista);
    void mostrar(const std::string& resultado);
    void conectar(ListaDeColores* lista, void (Form1::*manejador)());
    void informarFallo(const std::exception& fallo);

    coltavenira::Lectura lectura;
    std::string separadorDecimal;

    QLabel* Label2 = nullptr;
    ListaDeColores* b1 = nullptr;
    ListaDeColores* b2 = nullptr;
    ListaDeColores* b3 = nullptr;
    ListaDeColores* b4 = nullptr;
    QLabel* Label1 = nullptr;
    Anuncio* anuncio = nullptr; // speaks each new reading
};
