// The window driven as a user drives it: real mouse clicks and key presses, on the offscreen
// platform.
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

QString conPunto(const char* texto)
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

    QComboBox* lista(const char* nombre) { return ventana->findChild<QComboBox*>(nombre); }
    QString resultado() { return ventana->findChild<QLabel*>("Label1")->text(); }
    void abrir(std::unique_ptr<Form1> nueva = std::make_unique<Form1>(std::string(".")));
    void elegirConElRaton(QComboBox* combo, const QString& color);
    void elegirConElTeclado(QComboBox* combo, const QString& color);

private slots:
    void initTestCase();
    void cleanup() { ventana.reset(); }
    void alAbrir();
    void disposicion();
    void listas_data();
    void listas();
    void conElRaton();
    void conElTeclado();
    void rojoEnLaBanda2Primero();
    void lasFlechasEligen();
    void loEscritoNoCuenta_data();
    void loEscritoNoCuenta();
    void ordenDeTabulacion();
    void separadorDelSistema();
    void fallo();
    void nombresAccesibles();
    void elResultadoSeAnuncia();
    void elResultadoCabe_data();
    void elResultadoCabe();
};

void TestForm1::initTestCase()
{
    // A drop-down ignores releases for this long after it opens; a short one keeps the suite
    // quick.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(100);
}

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
    // It ignores a release for one double-click interval after it opened.
    QTest::qWait(2 * QApplication::doubleClickInterval());
    const QModelIndex elemento = vista->model()->index(combo->findText(color), 0);
    QVERIFY(elemento.isValid());
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
    QAbstractItemView* vista = combo->view();
    QTRY_VERIFY(vista->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    for (int i = 0; i < combo->findText(color); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!vista->isVisible());
}

void TestForm1::alAbrir()
{
    abrir();
    QCOMPARE(ventana->windowTitle(), QString("Coltavenira"));
    QCOMPARE(resultado(), conPunto("0 Ohms ± 0"));
    for (const char* nombre : {"b1", "b2", "b3", "b4"}) {
        QCOMPARE(lista(nombre)->currentIndex(), -1);
        QCOMPARE(lista(nombre)->currentText(), QString());
        QVERIFY(lista(nombre)->isEditable());
    }
    QCOMPARE(QApplication::focusWidget(), lista("b1"));
}

void TestForm1::disposicion()
{
    abrir();
    // The client area and every control, in twips at 15 to a pixel.
    QCOMPARE(ventana->size(), QSize(391, 150));
    QCOMPARE(ventana->findChild<QLabel*>("Label2")->geometry(), QRect(8, 8, 337, 17));
    QCOMPARE(lista("b1")->geometry(), QRect(8, 33, 87, 21));
    QCOMPARE(lista("b2")->geometry(), QRect(104, 33, 87, 21));
    QCOMPARE(lista("b3")->geometry(), QRect(200, 33, 87, 21));
    QCOMPARE(lista("b4")->geometry(), QRect(296, 33, 87, 21));
    const QLabel* label1 = ventana->findChild<QLabel*>("Label1");
    QCOMPARE(label1->geometry(), QRect(8, 80, 377, 65));
    QVERIFY(label1->alignment() & Qt::AlignHCenter);
    QCOMPARE(label1->font().family(), QString("Arial"));
    QCOMPARE(label1->font().pointSizeF(), 27.75);
    QCOMPARE(label1->font().weight(), QFont::Normal);
    QVERIFY(!label1->font().italic() && !label1->font().underline() && !label1->font().strikeOut());

    const QLabel* label2 = ventana->findChild<QLabel*>("Label2");
    QCOMPARE(label2->text(),
             QString("Ingrese las bandas de colores para hallar el valor de la COLTAVENIRA:"));
    QVERIFY(label2->alignment() & Qt::AlignLeft);
    QVERIFY(label2->fontMetrics().horizontalAdvance(label2->text()) <= label2->width());
}

void TestForm1::listas_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QStringList>("colores");
    const QStringList diez{"Negro", "Marron", "Rojo",    "Naranja", "Amarillo",
                           "Verde", "Azul",   "Violeta", "Gris",    "Blanco"};
    QTest::newRow("b1") << "b1" << diez;
    QTest::newRow("b2") << "b2" << diez;
    QTest::newRow("b3") << "b3" << diez + QStringList{"Dorado", "Plateado"};
    QTest::newRow("b4") << "b4" << QStringList{"Dorada", "Plateada", "Ninguna"};
}

void TestForm1::listas()
{
    QFETCH(QString, nombre);
    QFETCH(QStringList, colores);
    abrir();
    const QComboBox* combo = lista(nombre.toLatin1().constData());
    QStringList elementos;
    for (int i = 0; i < combo->count(); ++i)
        elementos << combo->itemText(i);
    QCOMPARE(elementos, colores);
}

void TestForm1::conElRaton()
{
    abrir();
    elegirConElRaton(lista("b1"), "Amarillo");
    QCOMPARE(resultado(), conPunto("4 Ohms ± 0"));
    elegirConElRaton(lista("b2"), "Violeta");
    QCOMPARE(resultado(), conPunto("47 Ohms ± 0"));
    elegirConElRaton(lista("b3"), "Rojo");
    QCOMPARE(resultado(), conPunto("4.7 Kohms ± 0"));
    elegirConElRaton(lista("b4"), "Dorada");
    QCOMPARE(resultado(), conPunto("4.7 Kohms ± 5%"));
    QCOMPARE(lista("b4")->currentText(), QString("Dorada"));
    // Choosing a colour again computes again, to the same reading.
    elegirConElRaton(lista("b4"), "Dorada");
    QCOMPARE(resultado(), conPunto("4.7 Kohms ± 5%"));
    elegirConElRaton(lista("b3"), "Negro");
    QCOMPARE(resultado(), conPunto("47 Ohms ± 5%"));
}

void TestForm1::conElTeclado()
{
    abrir();
    elegirConElTeclado(lista("b3"), "Plateado");
    QCOMPARE(resultado(), conPunto("0 Ohms ± 0"));
    elegirConElTeclado(lista("b1"), "Blanco");
    QCOMPARE(resultado(), conPunto("0.09 Ohms ± 0")); // "9" ÷ 100: band 2 not chosen yet
    elegirConElTeclado(lista("b2"), "Blanco");
    QCOMPARE(resultado(), conPunto("0.99 Ohms ± 0"));
    elegirConElTeclado(lista("b4"), "Ninguna");
    QCOMPARE(resultado(), conPunto("0.99 Ohms ± 20%"));
    elegirConElTeclado(lista("b3"), "Blanco");
    QCOMPARE(resultado(), conPunto("99000 Mohms ± 20%"));
}

void TestForm1::rojoEnLaBanda2Primero()
{
    abrir();
    elegirConElRaton(lista("b2"), "Rojo");
    QCOMPARE(resultado(), conPunto("02 Ohms ± 0"));
}

// With the list closed, the arrow keys step through the colours, each step a choice.
void TestForm1::lasFlechasEligen()
{
    abrir();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(resultado(), conPunto("0 Ohms ± 0")); // "Negro"
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(lista("b1")->currentText(), QString("Marron"));
    QCOMPARE(resultado(), conPunto("1 Ohms ± 0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(lista("b1")->currentText(), QString("Negro"));
    QCOMPARE(resultado(), conPunto("0 Ohms ± 0"));
}

void TestForm1::loEscritoNoCuenta_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("tecla");
    QTest::newRow("Rojo y Enter") << "Rojo" << int(Qt::Key_Return);
    QTest::newRow("Rojo y Enter del teclado numérico") << "Rojo" << int(Qt::Key_Enter);
    QTest::newRow("Rojo y Tab") << "Rojo" << int(Qt::Key_Tab);
    QTest::newRow("Azul y Enter") << "Azul" << int(Qt::Key_Return);
    QTest::newRow("texto ajeno y Enter") << "Morado" << int(Qt::Key_Return);
}

// Typed text is never a choice: not on Enter, not when the field loses focus.
void TestForm1::loEscritoNoCuenta()
{
    QFETCH(QString, texto);
    QFETCH(int, tecla);
    abrir();
    elegirConElRaton(lista("b1"), "Amarillo");
    elegirConElRaton(lista("b2"), "Violeta");
    QComboBox* b2 = lista("b2");
    b2->setFocus(Qt::TabFocusReason);
    b2->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), texto);
    QCOMPARE(b2->currentText(), texto);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
    QCOMPARE(resultado(), conPunto("47 Ohms ± 0"));
    QTest::mouseClick(lista("b1")->lineEdit(), Qt::LeftButton); // the focus leaves b2
    QCOMPARE(resultado(), conPunto("47 Ohms ± 0"));
    QCOMPARE(b2->count(), 10);

    // Choosing from the list still works afterwards, even the colour that was typed.
    elegirConElRaton(b2, texto == "Morado" ? "Rojo" : texto);
    QCOMPARE(resultado(), texto == "Azul" ? conPunto("46 Ohms ± 0") : conPunto("42 Ohms ± 0"));
}

void TestForm1::ordenDeTabulacion()
{
    abrir();
    QStringList orden{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        orden << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(orden, (QStringList{"b1", "b4", "b2", "b3", "b1"}));
}

// The window reads numbers with the user's locale's separator; CTest also runs this suite in
// a Spanish locale, where it is a comma.
void TestForm1::separadorDelSistema()
{
    abrir(std::make_unique<Form1>());
    const QString separador = qEnvironmentVariable("LC_ALL").startsWith("es_ES")
                                  ? QString(",")
                                  : QLocale::system().decimalPoint();
    elegirConElRaton(lista("b1"), "Amarillo");
    elegirConElRaton(lista("b2"), "Violeta");
    elegirConElRaton(lista("b3"), "Rojo");
    elegirConElRaton(lista("b4"), "Dorada");
    QCOMPARE(resultado(), "4" + separador + conPunto("7 Kohms ± 5%"));
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
    QTimer::singleShot(0, this, [&] { elegirConElTeclado(lista("b1"), "Rojo"); });
    QCOMPARE(QApplication::exec(), 1);
    QVERIFY2(mensaje.contains(QString::fromUtf8("separador decimal")), qPrintable(mensaje));
}

void TestForm1::nombresAccesibles()
{
    abrir();
    const QStringList esperados{"Banda 1: primera cifra", "Banda 2: segunda cifra",
                                "Banda 3: multiplicador", "Banda 4: tolerancia"};
    for (int banda = 1; banda <= 4; ++banda) {
        QAccessibleInterface* lista = QAccessible::queryAccessibleInterface(
            this->lista(qPrintable(QString("b%1").arg(banda))));
        QCOMPARE(lista->role(), QAccessible::ComboBox);
        QCOMPARE(lista->text(QAccessible::Name), esperados[banda - 1]);
    }
    // A screen reader reads the result as the label's name: nothing may stand in its place.
    QAccessibleInterface* resultado =
        QAccessible::queryAccessibleInterface(ventana->findChild<QLabel*>("Label1"));
    QCOMPARE(resultado->text(QAccessible::Name), conPunto("0 Ohms ± 0"));
    QVERIFY(!resultado->text(QAccessible::Description).isEmpty());
}

// Every choice, even one that leaves the reading as it was, is told to assistive technology.
void TestForm1::elResultadoSeAnuncia()
{
    abrir();
    anuncios.clear();
    etiquetaVigilada = ventana->findChild<QLabel*>("Label1");
    QAccessible::installUpdateHandler(registrarAnuncio);
    QPlatformAccessibility* plataforma =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(plataforma);
    plataforma->setActive(true); // as when a screen reader connects
    elegirConElTeclado(lista("b1"), "Amarillo");
    elegirConElTeclado(lista("b4"), "Dorada");
    elegirConElTeclado(lista("b4"), "Dorada");
    plataforma->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    QCOMPARE(anuncios, (QStringList{conPunto("4 Ohms ± 0"), conPunto("4 Ohms ± 5%"),
                                    conPunto("4 Ohms ± 5%")}));
}

void TestForm1::elResultadoCabe_data()
{
    QTest::addColumn<QStringList>("colores");
    QTest::addColumn<bool>("aSuTamano");
    QTest::newRow("Amarillo Violeta Rojo Dorada")
        << QStringList{"Amarillo", "Violeta", "Rojo", "Dorada"} << true;
    QTest::newRow("Blanco Blanco Blanco Plateada")
        << QStringList{"Blanco", "Blanco", "Blanco", "Plateada"} << true;
    QTest::newRow("Negro Negro Blanco Plateada")
        << QStringList{"Negro", "Negro", "Blanco", "Plateada"} << false;
    QTest::newRow("Negro Negro Gris Ninguna")
        << QStringList{"Negro", "Negro", "Gris", "Ninguna"} << false;
}

// The result fits its box at every scale; CTest runs this at 1.5 and 2 as well. Only a reading
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
        elegirConElTeclado(lista(qPrintable(QString("b%1").arg(banda))), colores[banda - 1]);
    const QLabel* label1 = ventana->findChild<QLabel*>("Label1");
    QVERIFY2(label1->fontMetrics().horizontalAdvance(label1->text()) <=
                 label1->contentsRect().width(),
             qPrintable(label1->text()));
    QCOMPARE(label1->font().pointSizeF() == 27.75, aSuTamano);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
