// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calculadora.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <version>

namespace coltavenira {

namespace {

constexpr std::array<Par, 10> cifras{{
    {"Negro", "0"},
    {"Marron", "1"},
    {"Rojo", "2"},
    {"Naranja", "3"},
    {"Amarillo", "4"},
    {"Verde", "5"},
    {"Azul", "6"},
    {"Violeta", "7"},
    {"Gris", "8"},
    {"Blanco", "9"},
}};

// Gold and silver are markers, not zeros: Calcular turns them into a division.
constexpr std::array<Par, 12> multiplicadores{{
    {"Negro", ""},
    {"Marron", "0"},
    {"Rojo", "00"},
    {"Naranja", "000"},
    {"Amarillo", "0000"},
    {"Verde", "00000"},
    {"Azul", "000000"},
    {"Violeta", "0000000"},
    {"Gris", "00000000"},
    {"Blanco", "000000000"},
    {"Dorado", "1"},
    {"Plateado", "2"},
}};

constexpr std::array<Par, 3> tolerancias{{
    {"Dorada", " ± 5%"},
    {"Plateada", " ± 10%"},
    {"Ninguna", " ± 20%"},
}};

constexpr std::string_view marcadorDorado = "1";
constexpr std::string_view marcadorPlateado = "2";

// The field each band sets, band 1 first.
constexpr std::array<std::string Lectura::*, 4> campos{
    &Lectura::banda1, &Lectura::banda2, &Lectura::multiplicador, &Lectura::tolerancia};

bool esCifra(char c)
{
    return c >= '0' && c <= '9';
}

void comprobarSeparador(std::string_view separador)
{
    // A separator made of digits or a sign would make the text of a number ambiguous.
    if (separador.empty() || std::any_of(separador.begin(), separador.end(),
                                         [](char c) { return esCifra(c) || c == '-'; })) {
        throw std::invalid_argument("El separador decimal «" + std::string(separador) +
                                    "» no es válido");
    }
}

std::string_view::size_type saltarCifras(std::string_view texto, std::string_view::size_type i)
{
    while (i < texto.size() && esCifra(texto[i]))
        ++i;
    return i;
}

// The two conversions between double and text, free of every locale. Where the C++ library
// lacks from_chars and to_chars for double (libc++ 13, emscripten's), the C library's strtod and
// snprintf take their place. The radix character of the C locale still plays no part: strtod
// is given digits and an exponent, no point, and only the digits of snprintf's text are taken.
// (A WebAssembly build's C library knows no locale but "C" anyway.)
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
bool leerDouble(const std::string& texto, double& numero)
{
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    return error == std::errc{} && fin == texto.data() + texto.size();
}

// Rounded to 15 significant digits, as "d.dddddddddddddde±x".
std::string enCientifico(double numero)
{
    std::array<char, 32> buffer{};
    const auto resultado = std::to_chars(buffer.data(), buffer.data() + buffer.size(), numero,
                                         std::chars_format::scientific, 14);
    return std::string(buffer.data(), static_cast<std::size_t>(resultado.ptr - buffer.data()));
}
#else
bool leerDouble(const std::string& texto, double& numero)
{
    char* fin = nullptr;
    errno = 0;
    numero = std::strtod(texto.c_str(), &fin);
    return errno != ERANGE && fin == texto.c_str() + texto.size();
}

std::string enCientifico(double numero)
{
    std::array<char, 32> buffer{};
    const int largo = std::snprintf(buffer.data(), buffer.size(), "%.14e", numero);
    return std::string(buffer.data(), static_cast<std::size_t>(largo));
}
#endif

double dividir(double dividendo, double divisor)
{
    const double cociente = dividendo / divisor;
    if (!std::isfinite(cociente)) {
        throw std::overflow_error("La división de " + std::to_string(dividendo) + " entre " +
                                  std::to_string(divisor) + " no da un número finito");
    }
    return cociente;
}

} // namespace

std::span<const Par> tablaDeBanda(int banda)
{
    switch (banda) {
    case 1:
    case 2:
        return cifras;
    case 3:
        return multiplicadores;
    case 4:
        return tolerancias;
    }
    throw std::invalid_argument("No existe la banda " + std::to_string(banda) +
                                "; las bandas van de la 1 a la 4");
}

std::string valoresIniciales(Lectura& lectura)
{
    lectura.unidad = " Ohms";
    lectura.banda1 = "0";
    lectura.tolerancia = " ± 0";
    return lectura.banda1 + lectura.unidad + lectura.tolerancia;
}

void elegirColor(Lectura& lectura, int banda, std::string_view color)
{
    const auto tabla = tablaDeBanda(banda); // refuses a band outside 1 to 4
    const auto par = std::find_if(tabla.begin(), tabla.end(),
                                  [color](const Par& p) { return p.color == color; });
    if (par != tabla.end())
        lectura.*campos[banda - 1] = par->texto;
}

std::string Calcular(Lectura& lectura, std::string_view separadorDecimal)
{
    const std::string cifras = lectura.banda1 + lectura.banda2;
    if (lectura.multiplicador == marcadorDorado || lectura.multiplicador == marcadorPlateado) {
        const double divisor = lectura.multiplicador == marcadorDorado ? 10.0 : 100.0;
        lectura.valor = textoDeNumero(dividir(numeroDeTexto(cifras, separadorDecimal), divisor),
                                      separadorDecimal);
    } else {
        // Kept as joined: below 1000 a leading zero ("0200") is shown as it stands.
        lectura.valor = cifras + lectura.multiplicador;
    }

    const double v = numeroDeTexto(lectura.valor, separadorDecimal);
    if (v < 1000.0) {
        lectura.unidad = " Ohms";
    } else if (v < 1000000.0) {
        lectura.valor = textoDeNumero(dividir(v, 1000.0), separadorDecimal);
        lectura.unidad = " Kohms";
    } else {
        lectura.valor = textoDeNumero(dividir(v, 1000000.0), separadorDecimal);
        lectura.unidad = " Mohms";
    }
    return lectura.valor + lectura.unidad + lectura.tolerancia;
}

double numeroDeTexto(std::string_view texto, std::string_view separadorDecimal)
{
    comprobarSeparador(separadorDecimal);
    const auto noEsNumero = [&] {
        return std::invalid_argument("No se puede leer un número en el texto «" +
                                     std::string(texto) + "»");
    };

    // Rewritten as digits and a power of ten ("4.70" is "470e-2"), which every conversion
    // below reads alike, whatever the locale.
    std::string ascii;
    std::string_view::size_type i = 0;
    if (i < texto.size() && texto[i] == '-')
        ascii += texto[i++];
    const auto finEntera = saltarCifras(texto, i);
    ascii += texto.substr(i, finEntera - i);
    bool hayCifras = finEntera > i;
    std::string_view::size_type decimales = 0;
    i = finEntera;
    if (texto.substr(i).starts_with(separadorDecimal)) {
        i += separadorDecimal.size();
        const auto finDecimales = saltarCifras(texto, i);
        decimales = finDecimales - i;
        hayCifras = hayCifras || decimales > 0;
        ascii += texto.substr(i, decimales);
        i = finDecimales;
    }
    if (!hayCifras || i != texto.size())
        throw noEsNumero();
    ascii += "e-" + std::to_string(decimales);

    double numero = 0.0;
    if (!leerDouble(ascii, numero))
        throw noEsNumero();
    return numero;
}

std::string textoDeNumero(double numero, std::string_view separadorDecimal)
{
    comprobarSeparador(separadorDecimal);
    if (!std::isfinite(numero))
        throw std::domain_error("No se puede escribir como texto un número que no es finito");
    if (numero == 0.0)
        return "0"; // also for -0.0

    // 15 significant digits, correctly rounded, in scientific form, then laid out in positional
    // form by hand.
    const std::string cientifico = enCientifico(numero);

    const bool negativo = cientifico.front() == '-';
    const auto posE = cientifico.find('e');
    const int exponente = std::atoi(cientifico.data() + posE + 1);
    std::string cifras;
    for (char c : cientifico.substr(0, posE)) {
        if (esCifra(c))
            cifras += c;
    }
    cifras.erase(cifras.find_last_not_of('0') + 1);

    std::string entera;
    std::string decimales;
    if (exponente >= 0) {
        const auto largoEntero = static_cast<std::size_t>(exponente) + 1;
        if (cifras.size() <= largoEntero) {
            entera = cifras + std::string(largoEntero - cifras.size(), '0');
        } else {
            entera = cifras.substr(0, largoEntero);
            decimales = cifras.substr(largoEntero);
        }
    } else {
        entera = "0";
        decimales = std::string(static_cast<std::size_t>(-exponente - 1), '0') + cifras;
    }

    std::string texto = negativo ? "-" : "";
    texto += entera;
    if (!decimales.empty()) {
        texto += separadorDecimal;
        texto += decimales;
    }
    return texto;
}

} // namespace coltavenira
