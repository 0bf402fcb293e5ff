// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints every reachable reading, each band never chosen or chosen with any colour of its list,
// one line a state: the item chosen in each list (-1 for none) and the result text. The web
// edition's test walks the same states through the WebAssembly core and compares the lines.
// Usage: recorrido_lecturas SEPARATOR
#include "recorrido.h"

#include <array>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("uso: recorrido_lecturas SEPARADOR\n", stderr);
        return 2;
    }
    recorrerLecturas(argv[1], [](const std::array<int, 4>& e, const std::string& resultado) {
        std::printf("%d %d %d %d %s\n", e[0], e[1], e[2], e[3], resultado.c_str());
    });
}
