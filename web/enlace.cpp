// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator as the page's script sees it: plain C functions over the module's memory, so
// that the script that loads them is a few lines of our own (web/calculadora.js) rather than a
// binding library's. Texts cross as UTF-8: the script writes its texts where
// coltavenira_entrada says and reads each answer at the pointer it gets, coltavenira_largo
// bytes long. A failure of the calculator is caught here, and its message is the answer.
#include "core/calculadora.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <string_view>

namespace {

std::string entrada; // written by the script: a colour's bytes, then the separator's
std::string salida;  // the last answer, kept until the next call
bool fallo = false;

template <typename Funcion> const char* responder(Funcion&& funcion)
{
    try {
        salida = funcion();
        fallo = false;
    } catch (const std::exception& error) {
        salida = error.what();
        fallo = true;
    }
    return salida.c_str();
}

} // namespace

extern "C" {

// Room for `bytes` bytes of text from the script; valid until the next call.
EMSCRIPTEN_KEEPALIVE char* coltavenira_entrada(std::size_t bytes)
{
    entrada.resize(bytes);
    return entrada.data();
}

EMSCRIPTEN_KEEPALIVE std::size_t coltavenira_largo()
{
    return salida.size();
}

// Whether the last answer is a failure's message rather than a result.
EMSCRIPTEN_KEEPALIVE int coltavenira_fallo()
{
    return fallo ? 1 : 0;
}

// The names of band 1 to 4's colours, in the order its list offers them, one a line.
EMSCRIPTEN_KEEPALIVE const char* coltavenira_colores(int banda)
{
    return responder([banda] {
        std::string colores;
        for (const auto& par : coltavenira::tablaDeBanda(banda))
            colores.append(par.color).push_back('\n');
        return colores;
    });
}

// A new reading, or null when there is no memory for it.
EMSCRIPTEN_KEEPALIVE coltavenira::Lectura* coltavenira_nueva()
{
    return new (std::nothrow) coltavenira::Lectura;
}

EMSCRIPTEN_KEEPALIVE void coltavenira_borrar(coltavenira::Lectura* lectura)
{
    delete lectura;
}

// The start values, and the start text.
EMSCRIPTEN_KEEPALIVE const char* coltavenira_inicio(coltavenira::Lectura* lectura)
{
    return responder([lectura] { return coltavenira::valoresIniciales(*lectura); });
}

// A colour chosen for a band, then the result text. The colour is the first `largoDelColor`
// bytes of the input, the decimal separator the rest.
EMSCRIPTEN_KEEPALIVE const char* coltavenira_elegir(coltavenira::Lectura* lectura, int banda,
                                                    std::size_t largoDelColor)
{
    return responder([&] {
        const std::string_view texto(entrada);
        coltavenira::elegirColor(*lectura, banda, texto.substr(0, largoDelColor));
        return coltavenira::Calcular(*lectura, texto.substr(largoDelColor));
    });
}

} // extern "C"
