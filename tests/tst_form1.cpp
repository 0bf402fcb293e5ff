// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The window driven as a user drives it: real mouse clicks and key presses, on the offscreen
// platform. Random sessions of every kind of choice are in tst_secuencias.
#include "ui/form1.h"
#include "ui/traduccion.h"
#include "vigia_de_dialogos.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QWindow>
#include <QtMath>

#include <algorithm>
#include <memory>

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformdrag.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtGui/qpa/qwindowsysteminterface.h>

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

// What the window had a screen reader speak: Qt 6.8's announcements, or before them a
// notification shown.
QStringList anuncios;
void registrarAnuncio(QAccessibleEvent* evento)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (evento->type() == QAccessible::Announcement)
        anuncios << static_cast<QAccessibleAnnouncementEvent*>(evento)->message();
#else
    if (evento->type() == QAccessible::ObjectShow &&
        evento->accessibleInterface()->role() == QAccessible::Notification)
        anuncios << evento->accessibleInterface()->text(QAccessible::Name);
#endif
}

QRgb masComun(const QImage& imagen, const QRect& caja)
{
    QHash<QRgb, int> cuantos;
    for (int y = caja.top(); y <= caja.bottom(); ++y)
        for (int x = caja.left(); x <= caja.right(); ++x)
            ++cuantos[imagen.pixel(x, y)];
    return std::max_element(cuantos.cbegin(), cuantos.cend()).key();
}

// The inside of the swatch at the left of a row of the open list, as drawn, and the row's
// background, which shows at its left end; invalid where no swatch is drawn. The swatch is the
// first run of columns that differ from the background.
QColor relleno(const QImage& fila, QColor& fondo)
{
    const QRect dentro = fila.rect().adjusted(1, 1, -1, -1); // clear of any focus frame
    fondo = fila.pixel(dentro.left(), dentro.center().y());
    QRect muestra;
    for (int x = dentro.left(); x <= dentro.right(); ++x) {
        QRect columna;
        for (int y = dentro.top(); y <= dentro.bottom(); ++y)
            if (fila.pixel(x, y) != fondo.rgb())
                columna |= QRect(x, y, 1, 1);
        if (columna.isEmpty() && !muestra.isEmpty())
            break;
        muestra |= columna;
    }
    const int borde = qCeil(fila.devicePixelRatio()) + 1;
    muestra.adjust(borde, borde, -borde, -borde);
    return muestra.isEmpty() ? QColor() : QColor(masComun(fila, muestra));
}

// What a user calls each colour: a hue (from, to, in degrees), saturation and value, from 0 to
// 1. Gold and silver are metallic: a yellow dulled towards grey, a grey lighter than Gris.
// "Ninguna" has no colour: its swatch shows the background.
bool eseColor(const QString& nombre, const QColor& color, const QColor& fondo)
{
    struct Rango
    {
        const char* nombres;
        int tonoDesde, tonoHasta; // -1: any hue
        double saturacionMin, saturacionMax, valorMin, valorMax;
    };
    // clang-format off
    static const Rango rangos[] = {
        {"Negro",             -1,  -1, 0,    1,    0,    0.2},
        {"Marron",            10,  40, 0.4,  1,    0.25, 0.7},
        {"Rojo",             345,  10, 0.6,  1,    0.5,  1},
        {"Naranja",           20,  40, 0.6,  1,    0.8,  1},
        {"Amarillo",          48,  65, 0.6,  1,    0.85, 1},
        {"Verde",             90, 150, 0.5,  1,    0.3,  1},
        {"Azul",             200, 245, 0.5,  1,    0.4,  1},
        {"Violeta",          260, 300, 0.4,  1,    0.4,  1},
        {"Gris",              -1,  -1, 0,    0.1,  0.35, 0.65},
        {"Blanco",            -1,  -1, 0,    0.1,  0.9,  1},
        {"Dorado Dorada",     35,  55, 0.25, 0.85, 0.5,  0.9},
        {"Plateado Plateada", -1,  -1, 0,    0.1,  0.65, 0.9},
    };
    // clang-format on
    if (nombre == "Ninguna")
        return color.isValid() && color == fondo;
    for (const Rango& r : rangos) {
        if (!QString(r.nombres).split(' ').contains(nombre))
            continue;
        const int tono = color.hsvHue();
        const bool enTono =
            r.tonoDesde < 0 || (r.tonoDesde <= r.tonoHasta
                                    ? tono >= r.tonoDesde && tono <= r.tonoHasta
                                    : tono >= r.tonoDesde || (tono >= 0 && tono <= r.tonoHasta));
        return color.isValid() && enTono && color.hsvSaturationF() >= r.saturacionMin &&
               color.hsvSaturationF() <= r.saturacionMax && color.valueF() >= r.valorMin &&
               color.valueF() <= r.valorMax;
    }
    return false;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private:
    VigiaDeDialogos vigia;
    std::unique_ptr<Form1> ventana;

    QComboBox* lista(int banda)
    {
        return ventana->findChild<QComboBox*>(QString("b%1").arg(banda));
    }
    QLabel* etiqueta(const char* nombre) { return ventana->findChild<QLabel*>(nombre); }
    void abrir(std::unique_ptr<Form1> nueva = std::make_unique<Form1>(std::string(".")));
    void activar(QWidget* cual);
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
    void soltarNoCuenta();
    void menuEnEspanol();
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
    activar(ventana.get());
}

// A compositor that cannot activate windows (Weston's headless one has no seat) is told what a
// user's click would have done, so that the window has the keyboard as on a desktop.
void TestForm1::activar(QWidget* cual)
{
    cual->activateWindow();
    if (QGuiApplicationPrivate::platformIntegration()->hasCapability(
            QPlatformIntegration::WindowActivation)) {
        QVERIFY(QTest::qWaitForWindowActive(cual));
        return;
    }
    QVERIFY(QTest::qWaitForWindowExposed(cual));
    // Qt 6.7 gave the same call a new name.
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QWindowSystemInterface::handleFocusWindowChanged<QWindowSystemInterface::SynchronousDelivery>(
        cual->windowHandle());
#else
    QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
        cual->windowHandle());
#endif
    QTRY_VERIFY(cual->isActiveWindow());
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

// The start reading, four empty edit fields, and the focus order b1, b4, b2, b3 (Shift+Tab goes
// back the same way).
void TestForm1::alAbrir()
{
    abrir();
    QCOMPARE(ventana->windowTitle(), QString("Coltavenira"));
    // A title bar with minimize and close only: CustomizeWindowHint makes the window system
    // take the hints as they are instead of adding maximize or help.
    QCOMPARE(ventana->windowFlags(), Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint);
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
    orden = QStringList{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        orden << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(orden, (QStringList{"b1", "b3", "b2", "b4", "b1"}));
}

// Every control at its place in twips, at 15 to a pixel, in its font and alignment, nothing
// clipped, in a window of fixed size; each list holds its band's table and shows all of it when
// opened, without scrolling, each colour beside a swatch of the colour its name means.
void TestForm1::disposicion()
{
    abrir();
    QCOMPARE(ventana->size(), QSize(391, 150));
    QCOMPARE(ventana->minimumSize(), ventana->maximumSize()); // a fixed size
    QCOMPARE(etiqueta("Label2")->geometry(), QRect(8, 8, 337, 17));
    QCOMPARE(etiqueta("Label1")->geometry(), QRect(8, 80, 377, 65));
    const QLabel* label2 = etiqueta("Label2");
    QCOMPARE(label2->text(), u("Ingrese las bandas de colores para hallar el valor de la "
                               "COLTAVENIRA:"));
    QVERIFY(label2->fontMetrics().horizontalAdvance(label2->text()) <= label2->width());
    QCOMPARE(label2->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    // The instruction, like the lists, in the window's own font: Arial of 8 points at most,
    // regular.
    QCOMPARE(label2->font(), ventana->font());
    QCOMPARE(label2->font().family(), QString("Arial"));
    QVERIFY2(label2->font().pointSizeF() <= 8 && label2->font().weight() == QFont::Normal &&
                 !label2->font().italic(),
             qPrintable(label2->font().toString()));
    // The reading centred at the top of its box, in regular Arial of 27.75 points.
    const QLabel* label1 = etiqueta("Label1");
    QCOMPARE(label1->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    const QFont grande = label1->font();
    QCOMPARE(grande.family(), QString("Arial"));
    QCOMPARE(grande.pointSizeF(), 27.75);
    QVERIFY2(grande.weight() == QFont::Normal && !grande.italic() && !grande.underline() &&
                 !grande.strikeOut(),
             qPrintable(grande.toString()));

    for (int banda = 1; banda <= 4; ++banda) {
        QComboBox* combo = lista(banda);
        QCOMPARE(combo->geometry(), QRect(8 + 96 * (banda - 1), 33, 87, 21));
        QCOMPARE(combo->font(), ventana->font());
        QStringList items, tabla;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        for (const coltavenira::Par& par : coltavenira::tablaDeBanda(banda))
            tabla << QString::fromUtf8(par.color.data(), qsizetype(par.color.size()));
        QCOMPARE(items, tabla);

        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView* vista = combo->view();
        QTRY_VERIFY(vista->isVisible());
        const QModelIndex ultimo = vista->model()->index(combo->count() - 1, 0);
        QVERIFY2(!vista->verticalScrollBar()->isVisible() &&
                     vista->viewport()->rect().contains(vista->visualRect(ultimo)),
                 qPrintable(combo->objectName()));
        const QImage dibujo = vista->viewport()->grab().toImage();
        const qreal dpr = dibujo.devicePixelRatio();
        for (int fila = 0; fila < combo->count(); ++fila) {
            const QRectF caja = vista->visualRect(vista->model()->index(fila, 0));
            QColor fondo;
            const QColor color = relleno(
                dibujo.copy(QRectF(caja.topLeft() * dpr, caja.size() * dpr).toRect()), fondo);
            QVERIFY2(eseColor(combo->itemText(fila), color, fondo),
                     qPrintable(QString("%1: hue %2, saturation %3, value %4")
                                    .arg(combo->itemText(fila))
                                    .arg(color.hsvHue())
                                    .arg(color.hsvSaturationF(), 0, 'f', 2)
                                    .arg(color.valueF(), 0, 'f', 2)));
        }
        // Escape closes the list, choosing nothing, wherever the arrow keys went in it.
        QTest::keyClick(vista, Qt::Key_Down);
        QTest::keyClick(vista, Qt::Key_Escape);
        QTRY_VERIFY(!vista->isVisible());
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->lineEdit()->text(), QString());
        QCOMPARE(label1->text(), u("0 Ohms ± 0"));
    }
}

void TestForm1::elecciones_data()
{
    QTest::addColumn<QStringList>("pasos"); // "band colour=reading shown"
    // clang-format off
    QTest::newRow("Amarillo Violeta Rojo Dorada") << QStringList{u("1 Amarillo=4 Ohms ± 0"), u("2 Violeta=47 Ohms ± 0"), u("3 Rojo=4.7 Kohms ± 0"), u("4 Dorada=4.7 Kohms ± 5%"), u("4 Dorada=4.7 Kohms ± 5%"), u("3 Negro=47 Ohms ± 5%")};
    QTest::newRow("Rojo en b2 primero")           << QStringList{u("2 Rojo=02 Ohms ± 0")};
    // clang-format on
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
    QTest::addColumn<bool>("pegado");
    QTest::addColumn<QString>("fin");   // how typing ends
    QTest::addColumn<QString>("antes"); // the colour chosen in b2 before, if any
    // clang-format off
    QTest::newRow("Enter")                      << false << "Enter"   << "Amarillo";
    QTest::newRow("Enter del teclado numérico") << false << "Intro"   << "Amarillo";
    QTest::newRow("Escape")                     << false << "Escape"  << "Amarillo";
    QTest::newRow("Tab")                        << false << "Tab"     << "Amarillo";
    QTest::newRow("clic en otra lista")         << false << "clic"    << "Amarillo";
    QTest::newRow("otra ventana")               << false << "ventana" << "Amarillo";
    QTest::newRow("pegado, Enter")              << true  << "Enter"   << "Amarillo";
    QTest::newRow("pegado, Tab")                << true  << "Tab"     << "Amarillo";
    QTest::newRow("sin elegir antes, Enter")    << false << "Enter"   << "";
    QTest::newRow("sin elegir antes, Tab")      << false << "Tab"     << "";
    QTest::newRow("Alt+Abajo abre la lista")    << false << "Alt+Abajo" << "Amarillo";
    // clang-format on
}

// Typing "Rojo" or pasting it is never a choice. When typing ends, the list shows the colour
// last chosen again, and the arrow keys step on from that colour. Opening the list with
// Alt+Down ends typing too: the field and the open list show the colour last chosen.
void TestForm1::loEscritoNoCuenta()
{
    QFETCH(bool, pegado);
    QFETCH(QString, fin);
    QFETCH(QString, antes);
    abrir();
    QComboBox* b2 = lista(2);
    if (!antes.isEmpty())
        elegirConElRaton(b2, antes);
    const QString lectura = etiqueta("Label1")->text();

    b2->setFocus(Qt::TabFocusReason);
    b2->lineEdit()->selectAll();
    if (pegado) {
        QGuiApplication::clipboard()->setText("Rojo");
        QTest::keyClick(b2, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(b2, "Rojo");
    }
    QCOMPARE(b2->lineEdit()->text(), QString("Rojo"));
    QWidget otra;
    if (fin == "Enter" || fin == "Escape" || fin == "Tab")
        QTest::keyClick(b2, fin == "Enter"    ? Qt::Key_Return
                            : fin == "Escape" ? Qt::Key_Escape
                                              : Qt::Key_Tab);
    else if (fin == "Intro")
        QTest::keyClick(b2, Qt::Key_Enter, Qt::KeypadModifier);
    else if (fin == "Alt+Abajo") {
        QTest::keyClick(b2, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(b2->view()->isVisible());
        QCOMPARE(b2->view()->currentIndex().row(), b2->findText(antes));
        QCOMPARE(b2->lineEdit()->text(), antes);
        QTest::keyClick(b2->view(), Qt::Key_Escape);
        QTRY_VERIFY(!b2->view()->isVisible());
    } else if (fin == "clic")
        QTest::mouseClick(lista(3)->lineEdit(), Qt::LeftButton);
    else {
        otra.show();
        activar(&otra);
    }
    QCOMPARE(b2->lineEdit()->text(), antes);
    QCOMPARE(etiqueta("Label1")->text(), lectura);
    QCOMPARE(b2->count(), 10);

    activar(ventana.get());
    b2->setFocus(Qt::TabFocusReason);
    QTest::keyClick(b2, Qt::Key_Down);
    const QString siguiente = antes.isEmpty() ? "Negro" : b2->itemText(b2->findText(antes) + 1);
    QCOMPARE(b2->lineEdit()->text(), siguiente);
    QCOMPARE(etiqueta("Label1")->text(), antes.isEmpty() ? u("00 Ohms ± 0") : u("05 Ohms ± 0"));
}

// A drop, delivered as the window system delivers one, is refused by every edit field: it
// would put text in a field that has no focus, which no end of typing would then put back.
void TestForm1::soltarNoCuenta()
{
    abrir();
    QMimeData rojo;
    rojo.setText("Rojo");
    for (int banda = 1; banda <= 4; ++banda) {
        QLineEdit* campo = lista(banda)->lineEdit();
        const QPoint punto = campo->mapTo(ventana.get(), campo->rect().center());
        QWindow* nativa = ventana->windowHandle();
        const auto acciones = Qt::CopyAction | Qt::MoveAction;
        QVERIFY(
            !QWindowSystemInterface::handleDrag(nativa, &rojo, punto, acciones, Qt::LeftButton, {})
                 .isAccepted());
        QVERIFY(
            !QWindowSystemInterface::handleDrop(nativa, &rojo, punto, acciones, Qt::LeftButton, {})
                 .isAccepted());
        QCOMPARE(campo->text(), QString());
    }
    QCOMPARE(etiqueta("Label1")->text(), u("0 Ohms ± 0"));
}

// Qt's own texts are Spanish like the rest of the window: the edit field's menu, say. Opening
// that menu does not end typing, so that its Paste pastes into what is being typed.
void TestForm1::menuEnEspanol()
{
    QVERIFY(traducirQtAlEspanol(*QCoreApplication::instance()));
    abrir();
    QTest::keyClicks(lista(1), "Ro");
    // A right click, as the window system reports it to the edit field under the mouse.
    QLineEdit* campo = lista(1)->lineEdit();
    QContextMenuEvent clic(QContextMenuEvent::Mouse, QPoint(5, 5),
                           campo->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(campo, &clic);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QCOMPARE(campo->text(), QString("Ro"));
    QStringList acciones;
    for (const QAction* accion : menu->actions())
        acciones << accion->text().section('\t', 0, 0).remove('&');
    menu->close();
    QVERIFY2(acciones.contains("Deshacer") && acciones.contains("Pegar") &&
                 acciones.contains("Seleccionar todo"),
             qPrintable(acciones.join(", ")));
}

// The user's locale's decimal separator: CTest runs this in a Spanish locale too.
void TestForm1::separadorDelSistema()
{
    const QString locale = qEnvironmentVariable("LC_ALL", qEnvironmentVariable("LANG"));
    QString separador = ".";
    if (locale.startsWith("es_") || locale.startsWith("de_"))
        separador = ",";
    else if (!locale.isEmpty() && !locale.startsWith("en_") && !locale.startsWith("C.") &&
             locale != "C" && locale != "POSIX")
        QSKIP("no expected separator known for this locale");
    abrir(std::make_unique<Form1>());
    elegirConElTeclado(lista(1), "Amarillo");
    elegirConElTeclado(lista(2), "Violeta");
    elegirConElTeclado(lista(3), "Rojo");
    QCOMPARE(etiqueta("Label1")->text(), "4" + separador + u("7 Kohms ± 0"));
}

// A failure in a handler is shown in a message box naming it, and then reported, for the program
// to end. No colour can cause one: an unusable decimal separator stands in.
void TestForm1::fallo()
{
    abrir(std::make_unique<Form1>(std::string()));
    QSignalSpy informado(ventana.get(), &Form1::falloInformado);
    vigia.esperarUno();
    elegirConElTeclado(lista(1), "Rojo");
    QCOMPARE(vigia.vistos.size(), 1);
    QVERIFY2(vigia.vistos[0].contains(u("separador decimal")), qPrintable(vigia.vistos[0]));
    QCOMPARE(informado.count(), 1);
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
    QCOMPARE(resultado->text(QAccessible::Name), u("4 Ohms ± 5%"));
    QCOMPARE(QApplication::focusWidget(), lista(4));
    // Nothing shows what is spoken: the window holds its six controls alone.
    QStringList vistos;
    for (const QWidget* hijo : ventana->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (hijo->isVisible())
            vistos << hijo->objectName();
    }
    QCOMPARE(vistos, (QStringList{"Label2", "b1", "b2", "b3", "b4", "Label1"}));

    // The value, which Windows' UI Automation reads: the colour chosen, not the text typed.
    QComboBox* b1 = lista(1);
    b1->setFocus(Qt::TabFocusReason);
    b1->lineEdit()->selectAll();
    QTest::keyClicks(b1, "Rojo");
    QCOMPARE(QAccessible::queryAccessibleInterface(b1)->text(QAccessible::Value), "Amarillo");
    QCOMPARE(QAccessible::queryAccessibleInterface(lista(2))->text(QAccessible::Value), "");
}

void TestForm1::elResultadoCabe_data()
{
    QTest::addColumn<QStringList>("colores");
    QTest::addColumn<bool>("aSuTamano");
    // clang-format off
    QTest::newRow("Blanco Blanco Blanco Plateada") << QStringList{"Blanco", "Blanco", "Blanco", "Plateada"} << true;
    QTest::newRow("Negro Negro Blanco Plateada")   << QStringList{"Negro", "Negro", "Blanco", "Plateada"} << false;
    QTest::newRow("Negro Negro Gris Ninguna")      << QStringList{"Negro", "Negro", "Gris", "Ninguna"} << false;
    // clang-format on
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
