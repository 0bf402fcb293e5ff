// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"
#include "ui/traduccion.h"

#include <QApplication>
#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    traducirQtAlEspanol(app);
    QApplication::setApplicationName(QStringLiteral("Coltavenira"));
    QApplication::setApplicationVersion(QStringLiteral(COLTAVENIRA_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Coltavenira"));
    // Lets Wayland and X11 desktops match the window with its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(COLTAVENIRA_ID));

    // The title bar and task switchers take small sizes; menus take the themed icon named by the
    // desktop entry. Raw pixels, because reading any image file makes Qt load every image
    // plugin at start.
    QIcon icono;
    for (int lado : {16, 32, 48}) {
        const QResource pixeles(QStringLiteral(":/icons/coltavenira-%1.rgba").arg(lado));
        const QByteArray rgba = pixeles.uncompressedData();
        const QImage imagen(reinterpret_cast<const uchar*>(rgba.constData()), lado, lado,
                            QImage::Format_RGBA8888);
        icono.addPixmap(QPixmap::fromImage(imagen));
    }
    QApplication::setWindowIcon(icono);

    QApplication::setFont(Form1::fuenteDelDialogo());
    Form1 ventana;
    QObject::connect(&ventana, &Form1::falloInformado, &app, [] { QApplication::exit(1); });
    ventana.show();
    return QApplication::exec();
}
