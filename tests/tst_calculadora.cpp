// The calculator driven through its public header, as the window and outside programs do.
#include "core/calculadora.h"

#include <QRegularExpression>
#include <QTest>

#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>

using namespace coltavenira;

namespace {

QString qs(const std::string& texto)
{
    return QString::fromStdString(texto);
}

// Chooses the named colours band by band; an empty name leaves that band never chosen.
std::string leer(const QStringList& colores, std::string_view separador = ".")
{
    Lectura lectura;
    valoresIniciales(lectura);
    std::string resultado;
    for (int banda = 1; banda <= 4; ++banda) {
        const QString& color = colores[banda - 1];
        if (color.isEmpty())
            continue;
        elegirColor(lectura, banda, color.toStdString());
        resultado = Calcular(lectura, separador);
    }
    return resultado;
}

} // namespace

class TestCalculadora : public QObject
{
    Q_OBJECT

private slots:
    void tablas_data();
    void tablas();
    void colorDeOtraTablaNoCambiaNada_data();
    void colorDeOtraTablaNoCambiaNada();
    void bandaFueraDeRango();
    void valoresDeInicio();
    void repetirUnColorNoCambiaNada();
    void lectura_data();
    void lectura();
    void cadaCalculoParteDeLasBandas();
    void numeroDeTexto_data();
    void numeroDeTexto();
    void textoQueNoEsNumero_data();
    void textoQueNoEsNumero();
    void textoDeNumero_data();
    void textoDeNumero();
    void banda1VaciaEsUnFallo();
    void localeDelProcesoNoInfluye_data();
    void localeDelProcesoNoInfluye();
};

void TestCalculadora::tablas_data()
{
    QTest::addColumn<int>("banda");
    QTest::addColumn<QString>("colores");
    QTest::addColumn<QString>("textos");

    const QString diez = "Negro,Marron,Rojo,Naranja,Amarillo,Verde,Azul,Violeta,Gris,Blanco";
    QTest::newRow("banda 1") << 1 << diez << "0,1,2,3,4,5,6,7,8,9";
    QTest::newRow("banda 2") << 2 << diez << "0,1,2,3,4,5,6,7,8,9";
    QTest::newRow("banda 3") << 3 << diez + ",Dorado,Plateado"
                             << ",0,00,000,0000,00000,000000,0000000,00000000,000000000,1,2";
    QTest::newRow("banda 4") << 4 << "Dorada,Plateada,Ninguna"
                             << QString::fromUtf8(" ± 5%, ± 10%, ± 20%");
}

// Each name, in the order offered, sets exactly its band's field to its text.
void TestCalculadora::tablas()
{
    QFETCH(int, banda);
    QFETCH(QString, colores);
    QFETCH(QString, textos);
    const QStringList nombres = colores.split(',');
    const QStringList esperados = textos.split(',');

    QStringList ofrecidos;
    for (const Par& par : tablaDeBanda(banda))
        ofrecidos << qs(std::string(par.color));
    QCOMPARE(ofrecidos, nombres);

    for (qsizetype i = 0; i < nombres.size(); ++i) {
        Lectura lectura;
        valoresIniciales(lectura);
        Lectura esperada = lectura;
        std::string* campos[] = {&esperada.banda1, &esperada.banda2, &esperada.multiplicador,
                                 &esperada.tolerancia};
        *campos[banda - 1] = esperados[i].toStdString();

        elegirColor(lectura, banda, nombres[i].toStdString());
        QCOMPARE(qs(lectura.banda1), qs(esperada.banda1));
        QCOMPARE(qs(lectura.banda2), qs(esperada.banda2));
        QCOMPARE(qs(lectura.multiplicador), qs(esperada.multiplicador));
        QCOMPARE(qs(lectura.tolerancia), qs(esperada.tolerancia));
        QCOMPARE(qs(lectura.valor), QString());
        QCOMPARE(qs(lectura.unidad), QString(" Ohms"));
    }
}

void TestCalculadora::colorDeOtraTablaNoCambiaNada_data()
{
    QTest::addColumn<int>("banda");
    QTest::addColumn<QString>("color");
    QTest::newRow("texto vacío en la banda 1") << 1 << "";
    QTest::newRow("rojo en minúsculas") << 1 << "rojo";
    QTest::newRow("Dorado en la banda 1") << 1 << "Dorado";
    QTest::newRow("Dorada en la banda 3") << 3 << "Dorada";
    QTest::newRow("Dorado en la banda 4") << 4 << "Dorado";
    QTest::newRow("Marrón con tilde") << 2 << QString::fromUtf8("Marrón");
    QTest::newRow("blanco delante") << 3 << " Rojo";
    QTest::newRow("blanco detrás") << 4 << "Ninguna ";
    QTest::newRow("nombre a medias") << 2 << "Viol";
}

void TestCalculadora::colorDeOtraTablaNoCambiaNada()
{
    QFETCH(int, banda);
    QFETCH(QString, color);
    Lectura lectura;
    valoresIniciales(lectura);
    elegirColor(lectura, 2, "Rojo");
    const Lectura antes = lectura;

    elegirColor(lectura, banda, color.toStdString());
    QCOMPARE(qs(lectura.banda1), qs(antes.banda1));
    QCOMPARE(qs(lectura.banda2), qs(antes.banda2));
    QCOMPARE(qs(lectura.multiplicador), qs(antes.multiplicador));
    QCOMPARE(qs(lectura.tolerancia), qs(antes.tolerancia));
    // The reading is computed after every choice, matched or not.
    QCOMPARE(qs(Calcular(lectura, ".")), QString::fromUtf8("02 Ohms ± 0"));
}

void TestCalculadora::bandaFueraDeRango()
{
    Lectura lectura;
    valoresIniciales(lectura);
    for (int banda : {0, 5, -1}) {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, elegirColor(lectura, banda, "Rojo"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, tablaDeBanda(banda));
    }
    QCOMPARE(qs(lectura.banda1), QString("0"));
    QCOMPARE(qs(lectura.banda2), QString());
}

void TestCalculadora::valoresDeInicio()
{
    Lectura lectura;
    QCOMPARE(qs(valoresIniciales(lectura)), QString::fromUtf8("0 Ohms ± 0"));
    QCOMPARE(qs(lectura.valor), QString());
    QCOMPARE(qs(lectura.banda2), QString());
    QCOMPARE(qs(lectura.multiplicador), QString());
}

void TestCalculadora::repetirUnColorNoCambiaNada()
{
    Lectura lectura;
    valoresIniciales(lectura);
    elegirColor(lectura, 1, "Amarillo");
    const std::string primero = Calcular(lectura, ".");
    elegirColor(lectura, 1, "Amarillo");
    QCOMPARE(qs(Calcular(lectura, ".")), qs(primero));
    QCOMPARE(qs(lectura.banda1), QString("4"));
}

void TestCalculadora::lectura_data()
{
    QTest::addColumn<QStringList>("colores");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<QString>("esperado");

    const auto fila = [](const char* b1, const char* b2, const char* b3, const char* b4,
                         const char* separador, const char* esperado) {
        const QStringList colores{b1, b2, b3, b4};
        QStringList nombres = colores;
        nombres.replaceInStrings(QRegularExpression("^$"), "-"); // a band never chosen
        QString nombre = nombres.join(' ');
        if (QByteArray(separador) != ".")
            nombre += QString::fromUtf8(" con «%1»").arg(QString::fromUtf8(separador));
        QTest::newRow(nombre.toUtf8().constData())
            << colores << QString::fromUtf8(separador) << QString::fromUtf8(esperado);
    };
    fila("Amarillo", "Violeta", "Rojo", "Dorada", ".", "4.7 Kohms ± 5%");
    fila("Amarillo", "Violeta", "Rojo", "Dorada", ",", "4,7 Kohms ± 5%");
    fila("Amarillo", "Violeta", "Rojo", "Dorada", "٫", "4٫7 Kohms ± 5%");
    fila("Marron", "Negro", "Negro", "", ".", "10 Ohms ± 0");
    fila("Negro", "Rojo", "Rojo", "", ".", "0200 Ohms ± 0");
    fila("Negro", "Marron", "Naranja", "", ".", "1 Kohms ± 0");
    fila("Negro", "Negro", "Blanco", "", ".", "00000000000 Ohms ± 0");
    fila("Marron", "Negro", "Rojo", "", ".", "1 Kohms ± 0");
    fila("Blanco", "Blanco", "Negro", "", ".", "99 Ohms ± 0");
    fila("Blanco", "Blanco", "Marron", "", ".", "990 Ohms ± 0");
    fila("Blanco", "Blanco", "Amarillo", "", ".", "990 Kohms ± 0");
    fila("Marron", "Negro", "Verde", "", ".", "1 Mohms ± 0");
    fila("Blanco", "Blanco", "Verde", "", ".", "9.9 Mohms ± 0");
    fila("Blanco", "Blanco", "Verde", "", ",", "9,9 Mohms ± 0");
    fila("Blanco", "Blanco", "Blanco", "Plateada", ".", "99000 Mohms ± 10%");
    fila("Amarillo", "Violeta", "Dorado", "", ".", "4.7 Ohms ± 0");
    fila("Amarillo", "Violeta", "Plateado", "", ".", "0.47 Ohms ± 0");
    fila("Amarillo", "Violeta", "Plateado", "", ",", "0,47 Ohms ± 0");
    fila("Negro", "Marron", "Plateado", "", ".", "0.01 Ohms ± 0");
    fila("Negro", "Negro", "Dorado", "", ".", "0 Ohms ± 0");
    fila("Amarillo", "", "Dorado", "", ".", "0.4 Ohms ± 0");
    fila("Amarillo", "", "", "", ".", "4 Ohms ± 0");
    fila("", "Rojo", "", "", ".", "02 Ohms ± 0");
    fila("", "", "Naranja", "", ".", "0000 Ohms ± 0");
    fila("", "", "", "Ninguna", ".", "0 Ohms ± 20%");
    fila("Marron", "Marron", "Rojo", "Ninguna", ",", "1,1 Kohms ± 20%");
}

void TestCalculadora::lectura()
{
    QFETCH(QStringList, colores);
    QFETCH(QString, separador);
    QFETCH(QString, esperado);
    QCOMPARE(qs(leer(colores, separador.toStdString())), esperado);
}

// The scaled "4.7" of one run must never feed the next one.
void TestCalculadora::cadaCalculoParteDeLasBandas()
{
    Lectura lectura;
    valoresIniciales(lectura);
    elegirColor(lectura, 1, "Amarillo");
    elegirColor(lectura, 2, "Violeta");
    elegirColor(lectura, 3, "Rojo");
    QCOMPARE(qs(Calcular(lectura, ",")), QString::fromUtf8("4,7 Kohms ± 0"));
    QCOMPARE(qs(Calcular(lectura, ",")), QString::fromUtf8("4,7 Kohms ± 0"));
    QCOMPARE(qs(lectura.valor), QString("4,7"));

    elegirColor(lectura, 3, "Negro");
    QCOMPARE(qs(Calcular(lectura, ",")), QString::fromUtf8("47 Ohms ± 0"));
    QCOMPARE(qs(lectura.unidad), QString(" Ohms"));
}

void TestCalculadora::numeroDeTexto_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<double>("numero");
    QTest::newRow("ceros delante") << "00000000000"
                                   << "." << 0.0;
    QTest::newRow("once cifras") << "99000000000"
                                 << "." << 99e9;
    QTest::newRow("punto") << "4.7"
                           << "." << 4.7;
    QTest::newRow("coma") << "4,7"
                          << "," << 4.7;
    QTest::newRow("separador de dos bytes")
        << QString::fromUtf8("0٫47") << QString::fromUtf8("٫") << 0.47;
    QTest::newRow("negativo") << "-0.5"
                              << "." << -0.5;
    QTest::newRow("sin parte entera") << ",25"
                                      << "," << 0.25;
}

void TestCalculadora::numeroDeTexto()
{
    QFETCH(QString, texto);
    QFETCH(QString, separador);
    QFETCH(double, numero);
    QCOMPARE(coltavenira::numeroDeTexto(texto.toStdString(), separador.toStdString()), numero);
}

void TestCalculadora::textoQueNoEsNumero_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("separador");
    QTest::newRow("vacío") << ""
                           << ".";
    QTest::newRow("letras") << "abc"
                            << ".";
    QTest::newRow("separador solo") << ","
                                    << ",";
    QTest::newRow("separador ajeno") << "4.7"
                                     << ",";
    QTest::newRow("dos separadores") << "4,7,1"
                                     << ",";
    QTest::newRow("blanco detrás") << "47 "
                                   << ".";
    QTest::newRow("exponente") << "1e3"
                               << ".";
    QTest::newRow("separador vacío") << "47"
                                     << "";
    QTest::newRow("separador con cifra") << "4070"
                                         << "0";
}

// Never read as 0: the failure names the text that could not be read.
void TestCalculadora::textoQueNoEsNumero()
{
    QFETCH(QString, texto);
    QFETCH(QString, separador);
    try {
        coltavenira::numeroDeTexto(texto.toStdString(), separador.toStdString());
        QFAIL("a text that is not a number was read");
    } catch (const std::invalid_argument& fallo) {
        const QString mensaje = QString::fromUtf8(fallo.what());
        QVERIFY2(mensaje.contains(separador.isEmpty() || separador == "0" ? separador : texto),
                 qPrintable(mensaje));
    }
}

void TestCalculadora::textoDeNumero_data()
{
    QTest::addColumn<double>("numero");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<QString>("texto");
    QTest::newRow("cero") << 0.0 << "."
                          << "0";
    QTest::newRow("cero negativo") << -0.0 << "."
                                   << "0";
    QTest::newRow("entero") << 99000.0 << ","
                            << "99000";
    QTest::newRow("cuarenta y siete décimas") << 47 / 10.0 << ","
                                              << "4,7";
    QTest::newRow("una centésima") << 1 / 100.0 << "."
                                   << "0.01";
    QTest::newRow("quince cifras") << 1 / 3.0 << "."
                                   << "0.333333333333333";
    QTest::newRow("redondeo a quince cifras") << 0.1 + 0.2 << "."
                                              << "0.3";
    QTest::newRow("sin exponente, grande") << 1.5e20 << "."
                                           << "150000000000000000000";
    QTest::newRow("sin exponente, pequeño") << 2.5e-7 << ","
                                            << "0,00000025";
    QTest::newRow("negativo") << -4.7 << "."
                              << "-4.7";
}

void TestCalculadora::textoDeNumero()
{
    QFETCH(double, numero);
    QFETCH(QString, separador);
    QFETCH(QString, texto);
    QCOMPARE(qs(coltavenira::textoDeNumero(numero, separador.toStdString())), texto);
}

void TestCalculadora::banda1VaciaEsUnFallo()
{
    Lectura lectura; // start values never applied: banda1 is empty
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Calcular(lectura, "."));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, coltavenira::textoDeNumero(1 / 0.0, "."));
}

void TestCalculadora::localeDelProcesoNoInfluye_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("es_ES") << "es_ES.UTF-8";
    QTest::newRow("de_DE") << "de_DE.UTF-8";
}

// Qt programs call setlocale(LC_ALL, "") at start: printf, strtod and iostreams then follow the
// user's locale. The separator argument must stay the only locale input.
void TestCalculadora::localeDelProcesoNoInfluye()
{
    QFETCH(QString, locale);
    const std::string anterior = std::setlocale(LC_ALL, nullptr);
    const std::locale anteriorCxx;
    QVERIFY2(std::setlocale(LC_ALL, locale.toLatin1().constData()),
             "the set-up generates this locale");
    std::locale::global(std::locale(locale.toStdString()));
    QCOMPARE(std::localeconv()->decimal_point, ",");

    const QStringList colores{"Amarillo", "Violeta", "Plateado", "Dorada"};
    const std::string conPunto = leer(colores, ".");
    const std::string conComa = leer(colores, ",");
    const double leido = coltavenira::numeroDeTexto("4.7", ".");

    std::setlocale(LC_ALL, anterior.c_str());
    std::locale::global(anteriorCxx);
    QCOMPARE(qs(conPunto), QString::fromUtf8("0.47 Ohms ± 5%"));
    QCOMPARE(qs(conComa), QString::fromUtf8("0,47 Ohms ± 5%"));
    QCOMPARE(leido, 4.7);
}

QTEST_GUILESS_MAIN(TestCalculadora)
#include "tst_calculadora.moc"
