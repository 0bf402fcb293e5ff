// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Every reachable reading, each band never chosen or chosen with any colour of its list, checked
// against a formulation of its own: whole numbers of hundredths of an ohm, no floating point.
#include "core/calculadora.h"
#include "recorrido.h"

#include <QTest>

#include <array>
#include <clocale>
#include <cstdint>
#include <locale>
#include <string>

using namespace coltavenira;

namespace {

// An exact decimal, numero / 10^escala, written without trailing zeros.
std::string decimal(std::uint64_t numero, int escala, const std::string& separador)
{
    std::uint64_t potencia = 1;
    for (int i = 0; i < escala; ++i)
        potencia *= 10;
    std::string fraccion = std::to_string(numero % potencia);
    fraccion.insert(0, escala - fraccion.size(), '0');
    fraccion.erase(fraccion.find_last_not_of('0') + 1);
    return std::to_string(numero / potencia) + (fraccion.empty() ? "" : separador + fraccion);
}

// The reading for the given item of each list, -1 for a band never chosen.
std::string esperado(const std::array<int, 4>& elegido, const std::string& separador)
{
    const int cifra1 = elegido[0] < 0 ? 0 : elegido[0];
    const std::string cifras =
        std::to_string(cifra1) + (elegido[1] < 0 ? "" : std::to_string(elegido[1]));
    const std::uint64_t dos = std::stoull(cifras);
    const int multiplicador = elegido[2] < 0 ? 0 : elegido[2]; // 10 gold, 11 silver
    const std::array<const char*, 4> tolerancias{" ± 0", " ± 5%", " ± 10%", " ± 20%"};
    const std::string tolerancia = tolerancias[elegido[3] + 1];

    std::uint64_t centesimas = dos * 100; // of an ohm
    if (multiplicador == 10)
        centesimas = dos * 10;
    else if (multiplicador == 11)
        centesimas = dos;
    else
        for (int i = 0; i < multiplicador; ++i)
            centesimas *= 10;

    if (centesimas >= 100'000'000)
        return decimal(centesimas, 8, separador) + " Mohms" + tolerancia;
    if (centesimas >= 100'000)
        return decimal(centesimas, 5, separador) + " Kohms" + tolerancia;
    if (multiplicador >= 10)
        return decimal(centesimas, 2, separador) + " Ohms" + tolerancia;
    // Below a kilo-ohm the digits stand as joined, leading zeros and all.
    return cifras + std::string(multiplicador, '0') + " Ohms" + tolerancia;
}

#ifdef Q_OS_WIN
// MinGW's C++ library knows no locale but "C": a comma locale is the classic one with a comma.
struct ConComa : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};
#endif

} // namespace

class TestTodasLasLecturas : public QObject
{
    Q_OBJECT

private slots:
    void todas_data();
    void todas();
    void cleanup()
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

void TestTodasLasLecturas::todas_data()
{
    QTest::addColumn<QString>("separador");
    QTest::addColumn<QString>("localeDelProceso");
    // The process in comma locales too, by their names on each system.
#ifdef Q_OS_WIN
    for (const char* locale : {"C", "Spanish_Spain.1252", "German_Germany.1252"}) {
#else
    for (const char* locale : {"C", "es_ES.UTF-8", "de_DE.UTF-8"}) {
#endif
        for (const char* separador : {".", ",", "٫"}) {
            QTest::addRow("«%s» en %s", separador, locale)
                << QString::fromUtf8(separador) << QString(locale);
        }
    }
}

void TestTodasLasLecturas::todas()
{
    QFETCH(QString, separador);
    QFETCH(QString, localeDelProceso);
    const std::string sep = separador.toStdString();
    const bool coma = localeDelProceso != "C";
    QVERIFY(std::setlocale(LC_ALL, localeDelProceso.toLatin1().constData()));
    QCOMPARE(*std::localeconv()->decimal_point, coma ? ',' : '.');
#ifdef Q_OS_WIN
    std::locale::global(coma ? std::locale(std::locale::classic(), new ConComa)
                             : std::locale::classic());
#else
    std::locale::global(std::locale(localeDelProceso.toStdString()));
#endif
    QCOMPARE(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), coma ? ',' : '.');

    // Each band never chosen (-1) or chosen with any item of its list: 11 × 11 × 13 × 4 states.
    // The walk is whole only while the tables hold as many colours as the oracle knows.
    const std::array<int, 4> largos{10, 10, 12, 3};
    for (int banda = 1; banda <= 4; ++banda)
        QCOMPARE(tablaDeBanda(banda).size(), std::size_t(largos[banda - 1]));
    recorrerLecturas(sep, [&](const std::array<int, 4>& e, const std::string& resultado) {
        if (QTest::currentTestFailed())
            return; // the first wrong reading says enough
        const std::string debe = esperado(e, sep);
        QVERIFY2(resultado == debe, qPrintable(QString("items %1 %2 %3 %4: %5, not %6")
                                                   .arg(e[0])
                                                   .arg(e[1])
                                                   .arg(e[2])
                                                   .arg(e[3])
                                                   .arg(QString::fromStdString(resultado),
                                                        QString::fromStdString(debe))));
    });
}

QTEST_GUILESS_MAIN(TestTodasLasLecturas)
#include "tst_todas_las_lecturas.moc"
