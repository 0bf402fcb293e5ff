// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints every reachable reading, each band never chosen or chosen with any colour of its list,
// one line a state: the item chosen in each list (-1 for none) and the result text. The web
// edition's test walks the same states through the WebAssembly core and compares the lines.
// Usage: recorrido_lecturas SEPARATOR
#include "core/calculadora.h"

#include <array>
#include <cstdio>
#include <string>

using namespace coltavenira;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("uso: recorrido_lecturas SEPARADOR\n", stderr);
        return 2;
    }
    const std::string separador = argv[1];
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
        std::printf("%d %d %d %d %s\n", e[0], e[1], e[2], e[3], resultado.c_str());
    }
}
