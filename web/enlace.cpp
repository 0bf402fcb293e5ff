// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator as the web page sees it: one reading per Calculadora, the colours of each band
// and the result text after each choice. Every failure of the calculator reaches JavaScript as
// an Error carrying the calculator's own message.
#include "core/calculadora.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <exception>
#include <string>
#include <utility>

namespace {

// A C++ exception would reach JavaScript as a bare pointer: rethrown as an Error it says why.
template <typename Funcion> auto comoError(Funcion&& funcion)
{
    try {
        return std::forward<Funcion>(funcion)();
    } catch (const std::exception& error) {
        emscripten::val::global("Error").new_(std::string(error.what())).throw_();
    }
}

// The names of the colours of band 1 to 4, in the order the band's list offers them, as an
// array of JavaScript's own (nothing to free).
emscripten::val coloresDeBanda(int banda)
{
    return comoError([banda] {
        auto colores = emscripten::val::array();
        for (const auto& par : coltavenira::tablaDeBanda(banda))
            colores.call<void>("push", std::string(par.color));
        return colores;
    });
}

// The reading of the window: its start text, then the result text after each choice.
class Calculadora
{
public:
    explicit Calculadora(std::string separadorDecimal)
        : separadorDecimal(std::move(separadorDecimal))
    {
    }

    std::string valoresIniciales() { return coltavenira::valoresIniciales(lectura); }

    std::string elegir(int banda, const std::string& color)
    {
        return comoError([&] {
            coltavenira::elegirColor(lectura, banda, color);
            return coltavenira::Calcular(lectura, separadorDecimal);
        });
    }

private:
    coltavenira::Lectura lectura;
    std::string separadorDecimal;
};

} // namespace

EMSCRIPTEN_BINDINGS(coltavenira)
{
    emscripten::function("coloresDeBanda", &coloresDeBanda);
    emscripten::class_<Calculadora>("Calculadora")
        .constructor<std::string>()
        .function("valoresIniciales", &Calculadora::valoresIniciales)
        .function("elegir", &Calculadora::elegir);
}
