// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The colour-code calculator of a four-band resistor: the reading as six texts, the band
// tables, and the computation of the result text. Standard library only, no windows: the
// window and any other program drive it through this header.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace coltavenira {

// What the program knows about the resistor being read. Every text is UTF-8 and starts empty.
struct Lectura
{
    std::string valor;         // the number part of the result, as shown
    std::string banda1;        // digit of band 1
    std::string banda2;        // digit of band 2
    std::string multiplicador; // a run of "0"s to append, or the marker "1" (÷10) or "2" (÷100)
    std::string tolerancia;    // shown after the unit, with its leading blank
    std::string unidad;        // shown after the number, with its leading blank
};

// One row of a band table: the colour name offered to the user and the text the band gives.
struct Par
{
    std::string_view color;
    std::string_view texto;
};

// The table of band 1 to 4, in the order its colours are offered.
// Throws std::invalid_argument for any other band number.
std::span<const Par> tablaDeBanda(int banda);

// Sets the start values and gives the start result text, "0 Ohms ± 0".
std::string valoresIniciales(Lectura& lectura);

// Applies the colour chosen for band 1 to 4: the first row of that band's table whose name is
// exactly `color` sets the band's field. A name in no row changes nothing.
// Throws std::invalid_argument, changing nothing, for any other band number.
void elegirColor(Lectura& lectura, int banda, std::string_view color);

// Rebuilds `valor` and `unidad` from the bands and gives the result text, e.g. "4.7 Kohms ± 5%".
// `separadorDecimal` is the user's locale's decimal separator as UTF-8 text ("." or ","); the
// process's C and C++ locales are never consulted. A text that is not a number (an empty
// `banda1`, say) throws std::invalid_argument; a division that does not give a finite number
// throws std::overflow_error.
std::string Calcular(Lectura& lectura, std::string_view separadorDecimal);

// Reads a decimal number: digits, optionally a separator and more digits, optionally a leading
// '-'. Throws std::invalid_argument naming the text when it is anything else, the empty text
// included, and for a separator that is empty or holds a digit or a '-'.
double numeroDeTexto(std::string_view texto, std::string_view separadorDecimal);

// Writes a finite number rounded to 15 significant digits, without exponent, grouping or
// trailing zeros, with a "0" before the separator below 1 and no separator for a whole number.
// Throws std::domain_error for infinity and NaN, std::invalid_argument for a separator as above.
std::string textoDeNumero(double numero, std::string_view separadorDecimal);

} // namespace coltavenira
