#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program read as a screen reader reads it, over AT-SPI, while real keys choose
colours: each list keeps its band's name, with the colour chosen as its text, and the result
label's name is the reading. It starts an X server of its own; run it in a D-Bus session of its
own:  dbus-run-session -- lectura_atspi.py PROGRAM"""
import os
import subprocess
import sys
import time

import pyatspi

BANDAS = ["Banda 1: primera cifra", "Banda 2: segunda cifra", "Banda 3: multiplicador",
          "Banda 4: tolerancia"]


def esperar(que, cuanto=20.0):
    limite = time.monotonic() + cuanto
    while time.monotonic() < limite:
        valor = que()
        if valor:
            return valor
        time.sleep(0.1)
    sys.exit("timed out waiting for " + que.__doc__)


def aplicacion():
    """the program on the accessibility bus"""
    return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Coltavenira"), None)


def bus():
    """the accessibility bus"""
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                           "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def gestor():
    """the window manager"""
    return "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                         stdout=subprocess.PIPE, text=True).stdout


def enfocada():
    """the program's window to have the focus"""
    return subprocess.run(["xdotool", "getactivewindow", "getwindowname"], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True).stdout.strip() == "Coltavenira"


def controles(app):
    encontrados = {}
    def recorrer(nodo):
        if nodo.getRoleName() in ("combo box", "label"):
            encontrados.setdefault(nodo.getRoleName(), []).append(nodo)
        for hijo in nodo:
            recorrer(hijo)
    recorrer(app)
    return encontrados["combo box"], encontrados["label"]


def lectura(app):
    """What a screen reader hears: each list's name, its text and its edit field's name, then
    the labels' names."""
    listas, etiquetas = controles(app)
    vistas = [(l.name, l.queryText().getText(0, -1), l[1].name) for l in listas]
    return vistas, sorted(e.name for e in etiquetas)


def comprobar(app, colores, resultado):
    vistas, etiquetas = lectura(app)
    esperadas = [(b, c, b) for b, c in zip(BANDAS, colores)]
    if vistas != esperadas or resultado not in etiquetas:
        sys.exit(f"heard {vistas} {etiquetas}\nwanted {esperadas} and {resultado!r}")


def teclas(*nombres):
    subprocess.run(["xdotool", "key", "--delay", "50", *nombres], check=True)
    time.sleep(0.5)


def servidor_x():
    """Starts a private X server on a free display, which the server picks itself."""
    lectura, escritura = os.pipe()
    servidor = subprocess.Popen(["Xvfb", "-displayfd", str(escritura), "-screen", "0",
                                 "1024x768x24", "-nolisten", "tcp", "-noreset"], pass_fds=[escritura],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(escritura)
    with os.fdopen(lectura) as pantalla:
        os.environ["DISPLAY"] = ":" + pantalla.readline().strip()
    return servidor


def main():
    programa = sys.argv[1]
    procesos = [servidor_x()]
    try:
        probar(programa, procesos)
    finally:
        for proceso in reversed(procesos):
            proceso.kill()
    print("names and values over AT-SPI: ok")


def probar(programa, procesos):
    sin_salida = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    procesos.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                     **sin_salida))
    procesos.append(subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL))
    # As on a desktop, the accessibility bus and its registry are up before any program starts.
    esperar(bus)
    pyatspi.Registry.getDesktop(0).childCount
    esperar(gestor)
    # In the locale whose separator the reading below has, whatever the caller's.
    entorno = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LC_ALL="C.UTF-8")
    procesos.append(subprocess.Popen([programa], env=entorno))
    esperar(enfocada)
    app = esperar(aplicacion)
    time.sleep(0.5)
    comprobar(app, ["", "", "", ""], "0 Ohms ± 0")
    # The focus starts on b1; Tab goes on to b4, b2, b3.
    teclas(*["Down"] * 5)
    comprobar(app, ["Amarillo", "", "", ""], "4 Ohms ± 0")
    teclas("Tab", "Down", "Tab", "Down", "Down", "Tab", *["Down"] * 11)
    comprobar(app, ["Amarillo", "Marron", "Dorado", "Dorada"], "4.1 Ohms ± 5%")

main()
