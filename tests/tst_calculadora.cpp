// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's tables, its refusals and its two conversions, through the public header.
// Every reading itself is checked by the walk in tst_todas_las_lecturas.
#include "core/calculadora.h"

#include <QTest>

#include <limits>
#include <stdexcept>
#include <string>

using namespace coltavenira;

namespace {

QString qs(std::string_view texto)
{
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

// The four fields a band choice may set, joined so that one comparison covers them all.
QString bandas(const Lectura& l)
{
    return QStringList{qs(l.banda1), qs(l.banda2), qs(l.multiplicador), qs(l.tolerancia)}.join('|');
}

} // namespace

class TestCalculadora : public QObject
{
    Q_OBJECT

private slots:
    void tablas_data();
    void tablas();
    void nombreAjenoNoCambiaNada_data();
    void nombreAjenoNoCambiaNada();
    void usoIndebido();
    void textoDeNumero_data();
    void textoDeNumero();
    void textoQueNoEsNumero_data();
    void textoQueNoEsNumero();
};

void TestCalculadora::tablas_data()
{
    QTest::addColumn<int>("banda");
    QTest::addColumn<QString>("pares");
    const QString cifras = "Negro=0 Marron=1 Rojo=2 Naranja=3 Amarillo=4 Verde=5 Azul=6 Violeta=7 "
                           "Gris=8 Blanco=9";
    // clang-format off
    QTest::newRow("banda 1") << 1 << cifras;
    QTest::newRow("banda 2") << 2 << cifras;
    QTest::newRow("banda 3") << 3 << "Negro= Marron=0 Rojo=00 Naranja=000 Amarillo=0000 Verde=00000 Azul=000000 Violeta=0000000 Gris=00000000 Blanco=000000000 Dorado=1 Plateado=2";
    QTest::newRow("banda 4") << 4 << QString::fromUtf8("Dorada= ± 5% Plateada= ± 10% Ninguna= ± 20%");
    // clang-format on
}

// Each band's colour names, exactly as offered and in their order, with the text each gives.
// What a choice does with that text is the walk's business (tst_todas_las_lecturas).
void TestCalculadora::tablas()
{
    QFETCH(int, banda);
    QFETCH(QString, pares);
    QStringList tabla;
    for (const Par& par : tablaDeBanda(banda))
        tabla << qs(par.color) + "=" + qs(par.texto);
    QCOMPARE(tabla.join(' '), pares);
}

void TestCalculadora::nombreAjenoNoCambiaNada_data()
{
    QTest::addColumn<int>("banda");
    QTest::addColumn<QString>("color");
    // clang-format off
    QTest::newRow("texto vacío")          << 1 << "";
    QTest::newRow("rojo en minúsculas")   << 1 << "rojo";
    QTest::newRow("Dorado en la banda 1") << 1 << "Dorado";
    QTest::newRow("Dorada en la banda 3") << 3 << "Dorada";
    QTest::newRow("Marrón con tilde")     << 2 << QString::fromUtf8("Marrón");
    QTest::newRow("blanco detrás")        << 4 << "Ninguna ";
    // clang-format on
}

void TestCalculadora::nombreAjenoNoCambiaNada()
{
    QFETCH(int, banda);
    QFETCH(QString, color);
    Lectura lectura;
    valoresIniciales(lectura);
    elegirColor(lectura, 2, "Rojo");
    const QString antes = bandas(lectura);
    elegirColor(lectura, banda, color.toStdString());
    QCOMPARE(bandas(lectura), antes);
}

// A band number outside 1 to 4 changes nothing; Calcular without the start values (an empty
// banda1) fails rather than reading nothing as 0; infinity and NaN have no text.
void TestCalculadora::usoIndebido()
{
    constexpr double infinito = std::numeric_limits<double>::infinity();
    for (double noFinito : {infinito, -infinito, std::numeric_limits<double>::quiet_NaN()})
        QVERIFY_THROWS_EXCEPTION(std::domain_error, coltavenira::textoDeNumero(noFinito, "."));
    Lectura sinInicio;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Calcular(sinInicio, "."));
    Lectura lectura;
    valoresIniciales(lectura);
    const QString antes = bandas(lectura);
    for (int banda : {0, 5, -1}) {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, elegirColor(lectura, banda, "Rojo"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, tablaDeBanda(banda));
    }
    QCOMPARE(bandas(lectura), antes);
}

// Beyond the values readings produce: what the conversions promise for any finite number.
void TestCalculadora::textoDeNumero_data()
{
    QTest::addColumn<double>("numero");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<QString>("texto");
    // clang-format off
    QTest::newRow("cero negativo")            << -0.0       << "." << "0";
    QTest::newRow("quince cifras")            << 1 / 3.0    << "." << "0.333333333333333";
    QTest::newRow("redondeo a quince cifras") << 0.1 + 0.2  << "." << "0.3";
    QTest::newRow("sin exponente, grande")    << 1.5e20     << "." << "150000000000000000000";
    QTest::newRow("sin exponente, pequeño")   << 2.5e-7     << "," << "0,00000025";
    QTest::newRow("negativo")                 << -4.7       << "." << "-4.7";
    // clang-format on
}

void TestCalculadora::textoDeNumero()
{
    QFETCH(double, numero);
    QFETCH(QString, separador);
    QFETCH(QString, texto);
    QCOMPARE(qs(coltavenira::textoDeNumero(numero, separador.toStdString())), texto);
    QCOMPARE(numeroDeTexto(texto.toStdString(), separador.toStdString()), numero);
}

void TestCalculadora::textoQueNoEsNumero_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<QString>("nombrado");
    // clang-format off
    QTest::newRow("vacío")                       << ""     << "."  << "«»";
    QTest::newRow("letras")                      << "abc"  << "."  << "abc";
    QTest::newRow("separador solo")              << ","    << ","  << "«,»";
    QTest::newRow("separador ajeno")             << "4.7"  << ","  << "4.7";
    QTest::newRow("blanco detrás")               << "47 "  << "."  << "47 ";
    QTest::newRow("exponente")                   << "1e3"  << "."  << "1e3";
    QTest::newRow("separador vacío")             << "47"   << ""   << "separador";
    QTest::newRow("separador con cifra")         << "4070" << "0"  << "separador";
    QTest::newRow("separador con cifra detrás")  << "4,07" << ",0" << "separador";
    QTest::newRow("separador con signo")         << "4-7"  << "-"  << "separador";
    // clang-format on
}

// Never read as 0: the failure names what could not be read. A separator refused in reading
// is refused in writing too.
void TestCalculadora::textoQueNoEsNumero()
{
    QFETCH(QString, texto);
    QFETCH(QString, separador);
    QFETCH(QString, nombrado);
    if (nombrado == "separador")
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 coltavenira::textoDeNumero(4.7, separador.toStdString()));
    try {
        numeroDeTexto(texto.toStdString(), separador.toStdString());
        QFAIL("a text that is not a number was read");
    } catch (const std::invalid_argument& fallo) {
        QVERIFY2(QString::fromUtf8(fallo.what()).contains(nombrado), fallo.what());
    }
}

QTEST_GUILESS_MAIN(TestCalculadora)
#include "tst_calculadora.moc"
