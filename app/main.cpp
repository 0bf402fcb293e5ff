#include "ui/form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Coltavenira"));
    QApplication::setApplicationVersion(QStringLiteral(COLTAVENIRA_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Coltavenira"));
    // Lets Wayland and X11 desktops match the window with its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("coltavenira"));

    QIcon icono;
    for (int lado : {16, 24, 32, 48, 64, 128, 256})
        icono.addFile(QStringLiteral(":/icons/coltavenira-%1.png").arg(lado), QSize(lado, lado));
    QApplication::setWindowIcon(icono);

    Form1 ventana;
    ventana.show();
    return QApplication::exec();
}
