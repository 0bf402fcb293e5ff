#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows packages: the zip holds the program's folder and nothing else, and the folder
holds one program file and the licence texts, no library and no subfolder; the zip and the setup
are each at most 7 MiB; the program loads nothing but Windows' own libraries (what a fresh Wine
prefix has in system32); the licence texts are Debian's GPL and LGPL, and a notice that names
every component built in and says where the source is, by the names of the files published
beside the program; coltavenira.exe is a GUI program with the icon and the Spanish (Spain)
version record.

Usage: paquetes_windows.py ZIP FOLDER VERSION ICO SYSTEM32 HOMEPAGE"""
import os
import struct
import subprocess
import sys
import zipfile

import pefile

LIMITE = 7 * 1024 * 1024
PROGRAMA = "coltavenira.exe"
LICENCIAS = {"LICENCIA-GPL-3.0.txt": "/usr/share/common-licenses/GPL-3",
             "LICENCIA-LGPL-3.0.txt": "/usr/share/common-licenses/LGPL-3"}
AVISOS = "AVISOS-DE-TERCEROS.txt"
# What the notice's summary, above the texts it carries in full, must name: each component
# built into the program with its version, and their licences.
NOMBRES = ["Qt 6.", "LGPL-3.0", "FreeType 2.", "HarfBuzz ", "libpng 1.", "zlib 1.", "PCRE2 10.",
           "MinGW-w64 ", "winpthreads", "libstdc++", "libgcc", "GCC Runtime Library Exception",
           "qt6-base 6."]
# And what it must carry in full: the exception's text, and FreeType's acknowledgement.
TEXTOS = ["GCC RUNTIME LIBRARY EXCEPTION", "Version 3.1, 31 March 2009",
          "Portions of this software are copyright \u00a9 2022 The FreeType Project"]


def contenido(zip_path, folder):
    """The zip against the folder, the folder's files, and the packages' sizes."""
    fallos = []
    with zipfile.ZipFile(zip_path) as z:
        en_zip = sorted(i.filename for i in z.infolist() if not i.is_dir())
    arriba = os.path.dirname(folder)
    en_disco = sorted(os.path.relpath(os.path.join(d, f), arriba)
                      for d, _, archivos in os.walk(folder) for f in archivos)
    if en_zip != en_disco:
        fallos.append(f"zip holds {en_zip}, the folder {en_disco}")
    esperados = sorted([PROGRAMA, AVISOS] + list(LICENCIAS))
    if sorted(os.path.relpath(f, os.path.basename(folder)) for f in en_disco) != esperados:
        fallos.append(f"the folder holds {en_disco}, not {esperados}")
    for f in [zip_path, zip_path.replace(".zip", "-setup.exe")]:
        if os.path.getsize(f) > LIMITE:
            fallos.append(f"{f}: {os.path.getsize(f)} bytes, over {LIMITE}")
    return fallos


def bibliotecas(exe_path, system32):
    """What the program loads: Windows' own libraries only."""
    fallos = []
    sistema = {f.lower() for f in os.listdir(system32)}
    pe = pefile.PE(exe_path)
    if pe.FILE_HEADER.NumberOfSymbols:
        fallos.append(f"{PROGRAMA} is not stripped")
    for entrada in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entrada.dll.decode().lower()
        # api-ms-win-…: API sets, names the Windows loader maps to its own libraries.
        if dll not in sistema and not dll.startswith("api-ms-win-"):
            fallos.append(f"{PROGRAMA} loads {dll}, which is not part of Windows")
    return fallos


def licencias(folder, version, homepage):
    """The licence texts: Debian's, with CRLF line ends, and what the notice says."""
    fallos = []
    for nombre, debian in LICENCIAS.items():
        with open(os.path.join(folder, nombre), "rb") as f, open(debian, "rb") as g:
            if f.read() != g.read().replace(b"\n", b"\r\n"):
                fallos.append(f"{nombre} is not {debian} with CRLF line ends")
    with open(os.path.join(folder, AVISOS), "rb") as f:
        avisos = f.read()
    if avisos.replace(b"\r\n", b"").count(b"\n"):
        fallos.append(f"{AVISOS} has lines that do not end in CRLF")
    texto = avisos.decode("utf-8-sig")
    resumen = texto.split("\r\n===== ", 1)[0]
    fuente = f"{homepage}\r\n"
    for nombre in NOMBRES + [f"etiqueta v{version}", fuente]:
        if nombre not in resumen:
            fallos.append(f"{AVISOS} does not name {nombre!r} above its texts")
    # The Corresponding Source by the names of the files published beside the program, each
    # whole on a line of its own: ours, and the qt6-base source package Qt was built from,
    # which is the version of the host's Qt tools, and the patch it took.
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "qt6-base-dev-tools"],
                        capture_output=True, text=True, check=True).stdout.split(":")[-1]
    for archivo in [f"coltavenira-{version}.tar.gz", f"qt6-base_{qt}.dsc",
                    f"qt6-base_{qt.rsplit('-', 1)[0]}.orig.tar.xz",
                    f"qt6-base_{qt}.debian.tar.xz", "qtbase-directwrite3-needs-direct2d.patch"]:
        if f"\r\n  {archivo}\r\n" not in resumen:
            fallos.append(f"{AVISOS} does not name {archivo} on a line of its own")
    for frase in TEXTOS:
        if frase not in texto:
            fallos.append(f"{AVISOS} does not carry {frase!r}")
    return fallos


def programa(exe_path, version, ico_path):
    """The program's subsystem, version record and icon."""
    fallos = []
    exe = pefile.PE(exe_path)
    if exe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        fallos.append("coltavenira.exe is not a GUI program")
    textos, traducciones = {}, []
    for info in exe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for tabla in info.StringTable:
                textos[tabla.LangID] = {k.decode(): v.decode() for k, v in tabla.entries.items()}
        if info.Key == b"VarFileInfo":
            traducciones = [v for var in info.Var for v in var.entry.values()]
    espanol = textos.get(b"0c0a04b0", {})
    if set(textos) != {b"0c0a04b0"}:
        fallos.append(f"version record blocks: {list(textos)}")
    elif (espanol.get("FileVersion"), espanol.get("ProductVersion")) != (version, version):
        fallos.append(f"version record: {textos}")
    if traducciones != ["0x0c0a 0x04b0"]:  # Spanish (Spain), Unicode (1200)
        fallos.append(f"translations: {traducciones}")

    recursos = {}
    for tipo in exe.DIRECTORY_ENTRY_RESOURCE.entries:
        for nombre in tipo.directory.entries:
            for idioma in nombre.directory.entries:
                datos = exe.get_data(idioma.data.struct.OffsetToData, idioma.data.struct.Size)
                recursos.setdefault(tipo.id, {})[nombre.id] = datos
    with open(ico_path, "rb") as f:
        ico = f.read()
    cuantas = struct.unpack_from("<H", ico, 4)[0]
    entradas = (struct.unpack_from("<II", ico, 6 + 16 * i + 8) for i in range(cuantas))
    imagenes = sorted(ico[o:o + n] for n, o in entradas)
    if len(recursos.get(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], {})) != 1 or sorted(
            recursos.get(pefile.RESOURCE_TYPE["RT_ICON"], {}).values()) != imagenes:
        fallos.append("the program's icon group does not hold data/icons/coltavenira.ico")
    return fallos


def main():
    zip_path, folder, version, ico_path, system32, homepage = sys.argv[1:]
    fallos = contenido(zip_path, folder)
    fallos += bibliotecas(os.path.join(folder, PROGRAMA), system32)
    fallos += licencias(folder, version, homepage)
    fallos += programa(os.path.join(folder, PROGRAMA), version, ico_path)
    for fallo in fallos:
        print("FAIL:", fallo)
    if fallos:
        sys.exit(1)
    print(f"{os.path.basename(zip_path)} and its setup: ok")


main()
