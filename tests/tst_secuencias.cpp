// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Random but reproducible sessions at the window: choices from the list with the keyboard and the
// mouse, arrow-key steps, repeated choices and typed text, after each of which the result label
// must show the reading of every choice made so far and of nothing else, and each list the
// colour last chosen in it.
#include "ui/form1.h"
#include "vigia_de_dialogos.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QStyleHints>
#include <QTest>

namespace {
constexpr int porFila = 30;
}

class TestSecuencias : public QObject
{
    Q_OBJECT

    VigiaDeDialogos vigia;

private slots:
    void initTestCase() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(25); }
    void secuencias_data();
    void secuencias();
};

// 300 sessions, in rows of 30 that take about a second each, so that a hang fails soon.
void TestSecuencias::secuencias_data()
{
    QTest::addColumn<int>("primera");
    for (int primera = 0; primera < 300; primera += porFila)
        QTest::addRow("sesiones %d a %d", primera, primera + porFila - 1) << primera;
}

void TestSecuencias::secuencias()
{
    QFETCH(int, primera);
    for (int secuencia = primera; secuencia < primera + porFila; ++secuencia) {
        const quint32 semilla = 20261207 + secuencia;
        QRandomGenerator azar(semilla);
        Form1 ventana(".");
        ventana.show();
        ventana.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ventana));
        const QLabel* label1 = ventana.findChild<QLabel*>("Label1");

        // The same reading kept beside the window, fed only the choices a user really made.
        coltavenira::Lectura modelo;
        QString esperado = QString::fromStdString(coltavenira::valoresIniciales(modelo));
        QString historia;
        QStringList elegidos(4); // what each list must show once typing has ended

        const int pasos = 2 + azar.bounded(8);
        for (int paso = 0; paso < pasos; ++paso) {
            const int banda = 1 + azar.bounded(4);
            auto* lista = ventana.findChild<QComboBox*>(QString("b%1").arg(banda));
            QTest::mouseClick(lista->lineEdit(), Qt::LeftButton); // the focus goes to the list
            QWidget* foco = QApplication::focusWidget();
            const int antes = lista->currentIndex();
            const int accion = azar.bounded(10);
            QString elegido;

            if (accion < 4) { // from the drop-down, with the keyboard; may repeat a colour
                const int item = accion == 0 && antes >= 0 ? antes : azar.bounded(lista->count());
                QTest::keyClick(foco, Qt::Key_Down, Qt::AltModifier);
                QTRY_VERIFY(lista->view()->isVisible());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
                for (int i = 0; i < item; ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QTRY_VERIFY(!lista->view()->isVisible());
                elegido = lista->itemText(item);
            } else if (accion < 5) { // from the drop-down, with the mouse
                const int item = azar.bounded(lista->count());
                QTest::keyClick(foco, Qt::Key_Down, Qt::AltModifier);
                QAbstractItemView* vista = lista->view();
                QTRY_VERIFY(vista->isVisible());
                // A drop-down ignores a release for one double-click interval after it opens.
                QTest::qWait(2 * QApplication::doubleClickInterval());
                const QModelIndex indice = vista->model()->index(item, 0);
                vista->scrollTo(indice); // as the mouse wheel would
                const QPoint centro = vista->visualRect(indice).center();
                QTest::mouseMove(vista->viewport(), centro);
                QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, centro);
                QTRY_VERIFY(!vista->isVisible());
                elegido = lista->itemText(item);
            } else if (accion < 7) { // an arrow key steps to the next or previous colour
                QTest::keyClick(foco, azar.bounded(2) ? Qt::Key_Down : Qt::Key_Up);
                if (lista->currentIndex() != antes)
                    elegido = lista->currentText();
            } else { // typed, never a choice: a colour of any list, or not a colour at all
                const QStringList textos{"Rojo", "Dorada", "Plateado", "Azul", "rojo", "Xyz"};
                lista->lineEdit()->selectAll();
                QTest::keyClicks(foco, textos[azar.bounded(textos.size())]);
                QTest::keyClick(foco, azar.bounded(2) ? Qt::Key_Return : Qt::Key_Tab);
            }

            historia += QString(" b%1:%2").arg(banda).arg(elegido.isEmpty() ? "-" : elegido);
            if (!elegido.isEmpty()) {
                coltavenira::elegirColor(modelo, banda, elegido.toStdString());
                esperado = QString::fromStdString(coltavenira::Calcular(modelo, "."));
                elegidos[banda - 1] = elegido;
            }
            QStringList mostrados;
            for (const char* nombre : {"b1", "b2", "b3", "b4"})
                mostrados << ventana.findChild<QComboBox*>(nombre)->lineEdit()->text();
            QVERIFY2(label1->text() == esperado && mostrados == elegidos,
                     qPrintable(QString("seed %1,%2: shows %3 with %4, not %5 with %6")
                                    .arg(semilla)
                                    .arg(historia, label1->text(), mostrados.join(' '), esperado,
                                         elegidos.join(' '))));
        }
    }
}

QTEST_MAIN(TestSecuencias)
#include "tst_secuencias.moc"
