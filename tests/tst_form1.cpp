// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The window driven as a user drives it: real mouse clicks and key presses, on the offscreen
// platform. Random sessions of every kind of choice are in tst_secuencias.
#include "ui/form1.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleHints>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

// What the window told assistive technology of the result label.
QStringList anuncios;
QObject* etiquetaVigilada = nullptr;
void registrarAnuncio(QAccessibleEvent* evento)
{
    if (evento->object() == etiquetaVigilada && evento->type() == QAccessible::NameChanged)
        anuncios
            << QAccessible::queryAccessibleInterface(evento->object())->text(QAccessible::Name);
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Form1> ventana;

    QComboBox* lista(int banda)
    {
        return ventana->findChild<QComboBox*>(QString("b%1").arg(banda));
    }
    QLabel* etiqueta(const char* nombre) { return ventana->findChild<QLabel*>(nombre); }
    void abrir(std::unique_ptr<Form1> nueva = std::make_unique<Form1>(std::string(".")));
    void elegirConElRaton(QComboBox* combo, const QString& color);
    void elegirConElTeclado(QComboBox* combo, const QString& color);

private slots:
    // A drop-down ignores releases for this long after it opens; short keeps the suite quick.
    void initTestCase() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(100); }
    void cleanup() { ventana.reset(); }
    void alAbrir();
    void disposicion();
    void elecciones_data();
    void elecciones();
    void loEscritoNoCuenta_data();
    void loEscritoNoCuenta();
    void separadorDelSistema();
    void fallo();
    void accesibilidad();
    void elResultadoCabe_data();
    void elResultadoCabe();
};

void TestForm1::abrir(std::unique_ptr<Form1> nueva)
{
    ventana = std::move(nueva);
    ventana->show();
    QApplication::setActiveWindow(ventana.get());
    QVERIFY(QTest::qWaitForWindowActive(ventana.get()));
}

// Opens the list with its arrow, as a user does, and clicks the colour in the drop-down.
void TestForm1::elegirConElRaton(QComboBox* combo, const QString& color)
{
    QStyleOptionComboBox opcion;
    opcion.initFrom(combo);
    opcion.editable = true;
    opcion.subControls = QStyle::SC_All;
    const QRect flecha = combo->style()->subControlRect(QStyle::CC_ComboBox, &opcion,
                                                        QStyle::SC_ComboBoxArrow, combo);
    QTest::mouseClick(combo, Qt::LeftButton, {}, flecha.center());
    QAbstractItemView* vista = combo->view();
    QTRY_VERIFY(vista->isVisible());
    QTest::qWait(2 * QApplication::doubleClickInterval());
    const QModelIndex elemento = vista->model()->index(combo->findText(color), 0);
    vista->scrollTo(elemento);
    const QPoint centro = vista->visualRect(elemento).center();
    QTest::mouseMove(vista->viewport(), centro);
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, centro);
    QTRY_VERIFY(!vista->isVisible());
}

// Gives the list the focus, opens it with Alt+Down, walks to the colour and takes it with Enter.
void TestForm1::elegirConElTeclado(QComboBox* combo, const QString& color)
{
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(combo->view()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    for (int i = 0; i < combo->findText(color); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!combo->view()->isVisible());
}

// The start reading, four empty edit fields, and the focus order b1, b4, b2, b3.
void TestForm1::alAbrir()
{
    abrir();
    QCOMPARE(ventana->windowTitle(), QString("Coltavenira"));
    QCOMPARE(etiqueta("Label1")->text(), u("0 Ohms ± 0"));
    for (int banda = 1; banda <= 4; ++banda) {
        QVERIFY(lista(banda)->isEditable());
        QCOMPARE(lista(banda)->currentIndex(), -1);
        QCOMPARE(lista(banda)->currentText(), QString());
    }
    QStringList orden{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        orden << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(orden, (QStringList{"b1", "b4", "b2", "b3", "b1"}));
}

// Every control at its place in twips, at 15 to a pixel; the lists' items; the fonts.
void TestForm1::disposicion()
{
    abrir();
    QCOMPARE(ventana->size(), QSize(391, 150));
    QCOMPARE(etiqueta("Label2")->geometry(), QRect(8, 8, 337, 17));
    QCOMPARE(etiqueta("Label1")->geometry(), QRect(8, 80, 377, 65));
    const QString diez = "Negro Marron Rojo Naranja Amarillo Verde Azul Violeta Gris Blanco";
    const QStringList items{diez, diez, diez + " Dorado Plateado", "Dorada Plateada Ninguna"};
    for (int banda = 1; banda <= 4; ++banda) {
        QCOMPARE(lista(banda)->geometry(), QRect(8 + 96 * (banda - 1), 33, 87, 21));
        QStringList textos;
        for (int i = 0; i < lista(banda)->count(); ++i)
            textos << lista(banda)->itemText(i);
        QCOMPARE(textos.join(' '), items[banda - 1]);
    }

    const QLabel* label2 = etiqueta("Label2");
    QCOMPARE(label2->text(), u("Ingrese las bandas de colores para hallar el valor de la "
                               "COLTAVENIRA:"));
    QVERIFY(label2->alignment() & Qt::AlignLeft);
    QVERIFY(label2->fontMetrics().horizontalAdvance(label2->text()) <= label2->width());
    const QFont grande = etiqueta("Label1")->font();
    QVERIFY(etiqueta("Label1")->alignment() & Qt::AlignHCenter);
    QCOMPARE(grande.family(), QString("Arial"));
    QCOMPARE(grande.pointSizeF(), 27.75);
    QCOMPARE(grande.weight(), QFont::Normal);
    QVERIFY(!grande.italic() && !grande.underline() && !grande.strikeOut());
}

void TestForm1::elecciones_data()
{
    QTest::addColumn<QStringList>("pasos"); // "band colour=reading shown"
    QTest::newRow("Amarillo Violeta Rojo Dorada") << QStringList{
        u("1 Amarillo=4 Ohms ± 0"),   u("2 Violeta=47 Ohms ± 0"),   u("3 Rojo=4.7 Kohms ± 0"),
        u("4 Dorada=4.7 Kohms ± 5%"), u("4 Dorada=4.7 Kohms ± 5%"), u("3 Negro=47 Ohms ± 5%")};
    QTest::newRow("Rojo en b2 primero") << QStringList{u("2 Rojo=02 Ohms ± 0")};
}

// Each choice, clicked in the drop-down, shows its reading at once.
void TestForm1::elecciones()
{
    QFETCH(QStringList, pasos);
    abrir();
    for (const QString& paso : pasos) {
        const QString color = paso.section('=', 0, 0).section(' ', 1);
        elegirConElRaton(lista(paso.left(1).toInt()), color);
        QCOMPARE(etiqueta("Label1")->text(), paso.section('=', 1));
    }
}

void TestForm1::loEscritoNoCuenta_data()
{
    QTest::addColumn<int>("tecla");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Enter del teclado numérico") << int(Qt::Key_Enter);
    QTest::newRow("Tab") << int(Qt::Key_Tab);
}

// Typing "Rojo" is never a choice: not on Enter, not when the field loses the focus. It adds
// no item, and choosing "Rojo" from the list afterwards still counts.
void TestForm1::loEscritoNoCuenta()
{
    QFETCH(int, tecla);
    abrir();
    elegirConElRaton(lista(1), "Amarillo");
    lista(2)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(QApplication::focusWidget(), "Rojo");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
    QTest::mouseClick(lista(3)->lineEdit(), Qt::LeftButton);
    QCOMPARE(etiqueta("Label1")->text(), u("4 Ohms ± 0"));
    QCOMPARE(lista(2)->count(), 10);
    elegirConElRaton(lista(2), "Rojo");
    QCOMPARE(etiqueta("Label1")->text(), u("42 Ohms ± 0"));
}

// The user's locale's separator; CTest runs this in a Spanish locale too, where it is a comma.
void TestForm1::separadorDelSistema()
{
    abrir(std::make_unique<Form1>());
    const QString separador = qEnvironmentVariable("LC_ALL").startsWith("es_ES")
                                  ? QString(",")
                                  : QLocale::system().decimalPoint();
    elegirConElTeclado(lista(1), "Amarillo");
    elegirConElTeclado(lista(2), "Violeta");
    elegirConElTeclado(lista(3), "Rojo");
    QCOMPARE(etiqueta("Label1")->text(), "4" + separador + u("7 Kohms ± 0"));
}

// A failure in a handler is shown in a message box naming it, and the program then ends with a
// failing status. No colour can cause one: an unusable decimal separator stands in.
void TestForm1::fallo()
{
    abrir(std::make_unique<Form1>(std::string()));
    QString mensaje;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, this, [&] {
        if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            vigia.stop();
            mensaje = caja->text();
            QTest::keyClick(caja, Qt::Key_Return);
        }
    });
    vigia.start(10);
    QTimer::singleShot(0, this, [&] { elegirConElTeclado(lista(1), "Rojo"); });
    QCOMPARE(QApplication::exec(), 1);
    QVERIFY2(mensaje.contains(u("separador decimal")), qPrintable(mensaje));
}

// The lists' Spanish names, and the reading as the result label's name, told to assistive
// technology after every choice, even one that leaves it as it was.
void TestForm1::accesibilidad()
{
    abrir();
    const QStringList nombres{"Banda 1: primera cifra", "Banda 2: segunda cifra",
                              "Banda 3: multiplicador", "Banda 4: tolerancia"};
    for (int banda = 1; banda <= 4; ++banda) {
        QAccessibleInterface* interfaz = QAccessible::queryAccessibleInterface(lista(banda));
        QCOMPARE(interfaz->role(), QAccessible::ComboBox);
        QCOMPARE(interfaz->text(QAccessible::Name), nombres[banda - 1]);
    }
    QAccessibleInterface* resultado = QAccessible::queryAccessibleInterface(etiqueta("Label1"));
    QCOMPARE(resultado->text(QAccessible::Name), u("0 Ohms ± 0"));
    QVERIFY(!resultado->text(QAccessible::Description).isEmpty());

    anuncios.clear();
    etiquetaVigilada = etiqueta("Label1");
    QAccessible::installUpdateHandler(registrarAnuncio);
    QPlatformAccessibility* plataforma =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(plataforma);
    plataforma->setActive(true); // as when a screen reader connects
    elegirConElTeclado(lista(1), "Amarillo");
    elegirConElTeclado(lista(4), "Dorada");
    elegirConElTeclado(lista(4), "Dorada");
    plataforma->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    QCOMPARE(anuncios, (QStringList{u("4 Ohms ± 0"), u("4 Ohms ± 5%"), u("4 Ohms ± 5%")}));
}

void TestForm1::elResultadoCabe_data()
{
    QTest::addColumn<QStringList>("colores");
    QTest::addColumn<bool>("aSuTamano");
    QTest::newRow("Blanco Blanco Blanco Plateada")
        << QStringList{"Blanco", "Blanco", "Blanco", "Plateada"} << true;
    QTest::newRow("Negro Negro Blanco Plateada")
        << QStringList{"Negro", "Negro", "Blanco", "Plateada"} << false;
    QTest::newRow("Negro Negro Gris Ninguna")
        << QStringList{"Negro", "Negro", "Gris", "Ninguna"} << false;
}

// The result fits its box at every scale (CTest runs this at 1.5 and 2 as well): only a reading
// too wide for the label's size is drawn smaller.
void TestForm1::elResultadoCabe()
{
    QFETCH(QStringList, colores);
    QFETCH(bool, aSuTamano);
    abrir();
    const double escala = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                              ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                              : 1.0;
    QCOMPARE(ventana->size() * ventana->windowHandle()->devicePixelRatio(),
             QSize(391, 150) * escala);
    for (int banda = 1; banda <= 4; ++banda)
        elegirConElTeclado(lista(banda), colores[banda - 1]);
    const QLabel* label1 = etiqueta("Label1");
    QVERIFY2(label1->fontMetrics().horizontalAdvance(label1->text()) <=
                 label1->contentsRect().width(),
             qPrintable(label1->text()));
    QCOMPARE(label1->font().pointSizeF() == 27.75, aSuTamano);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
