// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Every reachable reading, each band never chosen or chosen with any colour of its list: the walk
// that the exhaustive test checks and that the web edition's test compares with WebAssembly.
#pragma once

#include "core/calculadora.h"

#include <array>
#include <string>

// Calls visitar(items, resultado) for every state: items[b] is the item chosen in band b + 1's
// list, -1 for none, and resultado what the window shows after those choices, in band order.
template <typename Visitar> void recorrerLecturas(const std::string& separador, Visitar visitar)
{
    using namespace coltavenira;
    std::array<int, 4> largos{};
    int estados = 1;
    for (int banda = 1; banda <= 4; ++banda) {
        largos[banda - 1] = static_cast<int>(tablaDeBanda(banda).size());
        estados *= largos[banda - 1] + 1;
    }
    for (int estado = 0; estado < estados; ++estado) {
        std::array<int, 4> e{};
        for (int banda = 0, resto = estado; banda < 4; ++banda) {
            e[banda] = resto % (largos[banda] + 1) - 1;
            resto /= largos[banda] + 1;
        }
        Lectura lectura;
        std::string resultado = valoresIniciales(lectura);
        for (int banda = 1; banda <= 4; ++banda) {
            if (e[banda - 1] >= 0) {
                elegirColor(lectura, banda, tablaDeBanda(banda)[e[banda - 1]].color);
                resultado = Calcular(lectura, separador);
            }
        }
        visitar(e, resultado);
    }
}
