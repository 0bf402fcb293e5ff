// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the window suites: a modal dialog that a test did not ask for fails the running test
// at once, naming the dialog's text, and is closed. Left open, it would keep the test waiting
// until Qt Test's watchdog ended the whole suite.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

class VigiaDeDialogos : public QObject
{
public:
    VigiaDeDialogos() { QApplication::instance()->installEventFilter(this); }

    // The next modal dialog is the test's own: its text goes to `vistos`, and it is answered
    // with Enter, as a user would.
    void esperarUno()
    {
        esperados = 1;
        vistos.clear();
    }
    QStringList vistos;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        auto* dialogo = qobject_cast<QDialog*>(objeto);
        if (evento->type() != QEvent::Show || !dialogo || !dialogo->isModal())
            return false;
        const auto* caja = qobject_cast<QMessageBox*>(dialogo);
        const QString texto = caja ? caja->text() : dialogo->windowTitle();
        const bool esperado = esperados > 0;
        if (esperado) {
            --esperados;
            vistos << texto;
        } else {
            QTest::qFail(qPrintable("unexpected dialog: " + texto), __FILE__, __LINE__);
        }
        // Once the dialog's own event loop runs. The window under it is made active again before
        // the dialog is gone, as not every platform does it, so that the test goes on to its end.
        QTimer::singleShot(0, dialogo, [dialogo, esperado] {
            QWidget* debajo = dialogo->parentWidget() ? dialogo->parentWidget()->window() : nullptr;
            if (esperado)
                QTest::keyClick(dialogo, Qt::Key_Return);
            else
                dialogo->reject();
            if (debajo) {
                debajo->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(debajo));
            }
        });
        return false;
    }

private:
    int esperados = 0;
};
