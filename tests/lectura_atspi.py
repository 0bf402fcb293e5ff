#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program read as a screen reader reads it, over AT-SPI, while real keys choose
colours: Orca itself speaks each colour chosen and then the new reading, and each list keeps its
band's name, with the colour chosen as its text, and the result label's name is the reading.
Then what the window manager is told of the window (its icon, no maximize or resize), that Qt's
Spanish texts are loaded, and that closing the window ends the program with status 0, having
saved nothing. It starts an X server of its own; run it in a D-Bus session of its own:
dbus-run-session -- lectura_atspi.py PROGRAM"""
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
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


def propiedad(nombre, formato):
    """A property of the active window, as xprop prints its value."""
    ventana = subprocess.run(["xdotool", "getactivewindow"], stdout=subprocess.PIPE,
                             text=True).stdout.strip()
    return subprocess.run(["xprop", "-id", ventana, "-notype", "-f", nombre, formato, nombre],
                          stdout=subprocess.PIPE, text=True).stdout.partition("=")[2].strip()


def comprobar_ventana(pid):
    """The title bar's icon is data/icons' 16, 32 and 48 pixel one; minimize and close are
    offered, maximize and resize are not; Qt's Spanish texts are loaded."""
    numeros = [int(n) for n in propiedad("_NET_WM_ICON", "32c").split(",") if n.strip()]
    iconos = {}
    while len(numeros) > 2:
        ancho, alto = numeros[:2]
        iconos[(ancho, alto)] = numeros[2:2 + ancho * alto]
        del numeros[:2 + ancho * alto]
    carpeta = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "icons")
    for lado in (16, 32, 48):
        with open(os.path.join(carpeta, f"coltavenira-{lado}.rgba"), "rb") as rgba:
            pixeles = rgba.read()
        # RGBA bytes against ARGB numbers; a translucent pixel's colour may move by rounding.
        esperado = [pixeles[i:i + 4] for i in range(0, len(pixeles), 4)]
        visto = iconos.get((lado, lado), [])
        if len(visto) != len(esperado) or any(
                (n >> 24) != a or (a and max(abs((n >> 16 & 255) - r), abs((n >> 8 & 255) - g),
                                             abs((n & 255) - b)) > 255 // a + 1)
                for n, (r, g, b, a) in zip(visto, esperado)):
            sys.exit(f"the window's {lado} px icon is not coltavenira-{lado}.rgba "
                     f"(sizes {sorted(iconos)})")
    acciones = propiedad("_NET_WM_ALLOWED_ACTIONS", "32a")
    if ("_NET_WM_ACTION_CLOSE" not in acciones or "_NET_WM_ACTION_MINIMIZE" not in acciones
            or "MAXIMIZE" in acciones or "RESIZE" in acciones):
        sys.exit("the window manager offers " + acciones)
    with open(f"/proc/{pid}/maps") as mapa:
        if "qtbase_es.qm" not in mapa.read():
            sys.exit("Qt's Spanish texts are not loaded")


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
    vistas = [(c.name, c.queryText().getText(0, -1), c[1].name) for c in listas]
    return vistas, sorted(e.name for e in etiquetas)


def comprobar(app, colores, resultado):
    vistas, etiquetas = lectura(app)
    esperadas = [(b, c, b) for b, c in zip(BANDAS, colores)]
    if vistas != esperadas or resultado not in etiquetas:
        sys.exit(f"heard {vistas} {etiquetas}\nwanted {esperadas} and {resultado!r}")


def teclas(*nombres):
    subprocess.run(["xdotool", "key", "--delay", "50", *nombres], check=True)
    time.sleep(0.5)


def lanzar(orden, **opciones):
    """Starts a process in a process group of its own, so that whatever it starts in turn (the
    accessibility bus's dbus-daemon, the registry it activates) ends with it."""
    return subprocess.Popen(orden, start_new_session=True, **opciones)


def terminar(proceso):
    for senal in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proceso.pid, senal)
            proceso.wait(timeout=5)
            return
        except ProcessLookupError:
            return
        except subprocess.TimeoutExpired:
            pass


class Orca:
    """Orca, the screen reader, on the private display, with what it speaks read from its debug
    log as it writes it. The log goes to a terminal, where Python writes each line at once: to
    a file it would hold the last ones back."""

    def __init__(self, procesos, casa):
        """Starts Orca with a home of its own in `casa`."""
        if not shutil.which("orca"):
            sys.exit("Orca is not installed")
        self.lineas = []
        self.maestro, self.esclavo = os.openpty()
        threading.Thread(target=self.leer, daemon=True).start()
        # Orca looks for another Orca of the same user on the whole machine, and --replace ends
        # it: a pgrep that finds none leaves the user's own screen reader, and another run of
        # this test, alone. Without a speech server Orca logs what it would say all the same.
        herramientas = os.path.join(casa, "bin")
        os.mkdir(herramientas)
        with open(os.path.join(herramientas, "pgrep"), "w") as pgrep:
            pgrep.write("#!/bin/sh\nexit 1\n")
        os.chmod(pgrep.name, 0o755)
        entorno = {clave: valor for clave, valor in os.environ.items()
                   if not clave.startswith("XDG_") or clave == "XDG_RUNTIME_DIR"}
        entorno.update(HOME=casa, SPEECHD_CMD="/bin/false",
                       PATH=herramientas + os.pathsep + os.environ["PATH"])
        procesos.append(lanzar(["orca", "--replace", "--debug-file=" + os.ttyname(self.esclavo)],
                               env=entorno, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL))
        self.esperar("Orca to start", lambda dicho: dicho)

    def leer(self):
        resto = b""
        while True:
            try:
                trozo = os.read(self.maestro, 65536)
            except OSError:
                return
            *lineas, resto = (resto + trozo).split(b"\n")
            self.lineas += [linea.decode(errors="replace").rstrip("\r") for linea in lineas]

    def dicho(self):
        """What Orca has spoken so far, one utterance to a line."""
        return [linea.partition("SPEECH OUTPUT: ")[2] for linea in list(self.lineas)
                if "SPEECH OUTPUT: " in linea]

    def esperar(self, que, oido, desde=0, cuanto=20.0):
        limite = time.monotonic() + cuanto
        while not oido(self.dicho()[desde:]):
            if time.monotonic() > limite:
                sys.exit(f"timed out waiting for {que}; Orca said {self.dicho()[desde:]}")
            time.sleep(0.1)

    def oir(self, claves, colores, *resultados):
        """Real keys choose colours, and Orca speaks each new reading, in order. The colours
        themselves are not asked for: Orca speaks them by rules of its own, and Orca 48 was once
        seen to leave one out."""
        desde = len(self.dicho())
        teclas(*claves)
        lecturas = [re.compile(r"(?<![\d,])" + re.escape(r) + r"(?![\d,%])") for r in resultados]

        def oido(dicho):
            oidas = 0
            for frase in dicho:
                if oidas < len(lecturas) and lecturas[oidas].search(frase):
                    oidas += 1
            return oidas == len(lecturas)
        self.esperar(f"Orca to say {', '.join(resultados)} once {colores} chosen", oido, desde)


def servidor_x():
    """Starts a private X server on a free display, which the server picks itself."""
    lectura, escritura = os.pipe()
    servidor = lanzar(["Xvfb", "-displayfd", str(escritura), "-screen", "0", "1024x768x24",
                       "-nolisten", "tcp", "-noreset"], pass_fds=[escritura],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(escritura)
    with os.fdopen(lectura) as pantalla:
        os.environ["DISPLAY"] = ":" + pantalla.readline().strip()
    return servidor


def main():
    programa = sys.argv[1]
    # Orca's home, kept until Orca has ended.
    with tempfile.TemporaryDirectory() as casa_de_orca:
        procesos = [servidor_x()]
        try:
            probar(programa, procesos, casa_de_orca)
        finally:
            for proceso in reversed(procesos):
                terminar(proceso)
    print("names and values over AT-SPI: ok")


def probar(programa, procesos, casa_de_orca):
    sin_salida = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    procesos.append(lanzar(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           **sin_salida))
    procesos.append(lanzar(["openbox"], stdout=subprocess.DEVNULL))
    # As on a desktop, the accessibility bus and its registry, and the screen reader, are up
    # before any program starts.
    esperar(bus)
    pyatspi.Registry.getDesktop(0).childCount
    esperar(gestor)
    orca = Orca(procesos, casa_de_orca)
    # In a Spanish locale, whose decimal comma the program must take; in a home of its own,
    # where anything the program saved would show.
    casa = tempfile.TemporaryDirectory()
    entorno = {clave: valor for clave, valor in os.environ.items()
               if not clave.startswith("XDG_") or clave == "XDG_RUNTIME_DIR"}
    entorno.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LC_ALL="es_ES.UTF-8", LANG="es_ES.UTF-8", HOME=casa.name)
    procesos.append(lanzar([programa], env=entorno))
    esperar(enfocada)
    app = esperar(aplicacion)
    time.sleep(0.5)
    comprobar(app, ["", "", "", ""], "0 Ohms ± 0")
    # The focus starts on b1; Tab goes on to b4, b2, b3. Negro gives the start reading again.
    orca.esperar("Orca to read the window", lambda dicho: any(BANDAS[0] in f for f in dicho))
    orca.oir(["Down"], "Negro was", "0 Ohms ± 0")
    orca.oir(["Down"], "Marron was", "1 Ohms ± 0")
    orca.oir(["Tab", "Down"], "Dorada was", "1 Ohms ± 5%")
    comprobar(app, ["Marron", "", "", "Dorada"], "1 Ohms ± 5%")
    # Quicker than Orca speaks: the readings wait their turn, none left out.
    orca.oir(["shift+Tab", *["Down"] * 3], "Rojo, Naranja and Amarillo were, 50 ms apart,",
             "2 Ohms ± 5%", "3 Ohms ± 5%", "4 Ohms ± 5%")
    comprobar(app, ["Amarillo", "", "", "Dorada"], "4 Ohms ± 5%")
    teclas("Tab", "Tab", "Down", "Down", "Tab", *["Down"] * 11)
    comprobar(app, ["Amarillo", "Marron", "Dorado", "Dorada"], "4,1 Ohms ± 5%")
    comprobar_ventana(procesos[-1].pid)
    # Closed by the window manager (Alt+F4), the window takes the program with it.
    teclas("alt+F4")
    try:
        estado = procesos[-1].wait(timeout=10)
    except subprocess.TimeoutExpired:
        sys.exit("the program went on after its window was closed")
    if estado != 0:
        sys.exit(f"the program ended with status {estado}")
    # Fontconfig's cache is the system's business, not the program's: it writes one to the home
    # wherever a package changed a font folder after the system's cache was made (Debian 13's
    # X11/Type1 folder, in a fresh install).
    fuentes = os.path.join(casa.name, ".cache", "fontconfig")
    shutil.rmtree(fuentes, ignore_errors=True)
    with contextlib.suppress(OSError):
        os.rmdir(os.path.dirname(fuentes))
    guardado = [os.path.join(raiz, nombre) for raiz, carpetas, ficheros in os.walk(casa.name)
                for nombre in carpetas + ficheros]
    if guardado:
        sys.exit(f"the program saved {guardado}")


main()
