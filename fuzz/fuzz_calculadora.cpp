// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer over the calculator's public API: arbitrary band numbers and colour bytes, any number
// of choices, then Calcular with an arbitrary separator. Every outcome must be a well-formed
// result text or an exception with a message; a valid reading must never fail.
#include "core/calculadora.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

using namespace coltavenira;

namespace {

void exigir(bool condicion)
{
    if (!condicion)
        std::abort();
}

void exigirMensaje(const std::exception& fallo)
{
    exigir(fallo.what() != nullptr && fallo.what()[0] != '\0');
}

bool separadorValido(const std::string& separador)
{
    return !separador.empty() && separador.find_first_of("0123456789-") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    FuzzedDataProvider entrada(datos, tamano);
    const std::string separador = entrada.ConsumeRandomLengthString(8);
    const std::string texto = entrada.ConsumeRandomLengthString(32);
    const bool conValoresIniciales = entrada.ConsumeBool();

    // A text in no table changes nothing, so after the start values every state is reachable.
    Lectura lectura;
    if (conValoresIniciales)
        valoresIniciales(lectura);
    while (entrada.remaining_bytes() > 0) {
        const int banda = entrada.ConsumeBool() ? entrada.ConsumeIntegralInRange(1, 4)
                                                : entrada.ConsumeIntegral<int>();
        std::string color;
        if (entrada.ConsumeBool() && banda >= 1 && banda <= 4) {
            const auto tabla = tablaDeBanda(banda);
            color = tabla[entrada.ConsumeIntegralInRange<std::size_t>(0, tabla.size() - 1)].color;
        } else {
            color = entrada.ConsumeRandomLengthString(16);
        }
        try {
            elegirColor(lectura, banda, color);
            exigir(banda >= 1 && banda <= 4);
        } catch (const std::invalid_argument& fallo) {
            exigir(banda < 1 || banda > 4);
            exigirMensaje(fallo);
        }
    }

    try {
        const std::string resultado = Calcular(lectura, separador);
        // Each run rebuilds the value from the bands: running again never scales it twice.
        exigir(Calcular(lectura, separador) == resultado);
        exigir(lectura.unidad == " Ohms" || lectura.unidad == " Kohms" ||
               lectura.unidad == " Mohms");
        exigir(numeroDeTexto(lectura.valor, separador) < 100000.0);
    } catch (const std::exception& fallo) {
        exigirMensaje(fallo);
        exigir(!(conValoresIniciales && separadorValido(separador)));
    }

    // The two conversions on their own: any bytes in, any double out and back.
    try {
        numeroDeTexto(texto, separador);
    } catch (const std::invalid_argument& fallo) {
        exigirMensaje(fallo);
    }
    if (tamano >= sizeof(double) && separadorValido(separador)) {
        double numero = 0;
        std::memcpy(&numero, datos, sizeof numero);
        try {
            const std::string escrito = textoDeNumero(numero, separador);
            const double leido = numeroDeTexto(escrito, separador);
            exigir(leido == numero || std::fabs(leido - numero) <= 1e-14 * std::fabs(numero));
        } catch (const std::domain_error& fallo) {
            exigir(!std::isfinite(numero));
            exigirMensaje(fallo);
        } catch (const std::invalid_argument& fallo) {
            // Rounded to 15 digits, the largest doubles write a number beyond any double.
            exigir(std::fabs(numero) > 1.79769313486231e308);
            exigirMensaje(fallo);
        }
    }
    return 0;
}
