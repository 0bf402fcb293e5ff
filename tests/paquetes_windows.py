#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows packages: the zip holds the program's folder and nothing else; every file is
under 12 MB; every library any of them loads is beside the program or part of Windows (what a
fresh Wine prefix has in system32), and every library beside it is loaded; coltavenira.exe is a
GUI program with the icon and the Spanish (Spain) version record.

Usage: paquetes_windows.py ZIP FOLDER VERSION ICO SYSTEM32"""
import os
import struct
import sys
import zipfile

import pefile

LIMITE = 12 * 1024 * 1024
OTROS = ["platforms/qwindows.dll", "styles/qwindowsvistastyle.dll", "translations/qtbase_es.qm"]


def contenido(zip_path, folder):
    """The zip against the folder, and each file's size."""
    fallos = []
    with zipfile.ZipFile(zip_path) as z:
        en_zip = sorted(i.filename for i in z.infolist() if not i.is_dir())
    arriba = os.path.dirname(folder)
    en_disco = sorted(os.path.relpath(os.path.join(d, f), arriba)
                      for d, _, archivos in os.walk(folder) for f in archivos)
    if en_zip != en_disco:
        fallos.append(f"zip holds {en_zip}, the folder {en_disco}")
    for f in [zip_path, zip_path.replace(".zip", "-setup.exe")] + [
            os.path.join(arriba, f) for f in en_disco]:
        if os.path.getsize(f) >= LIMITE:
            fallos.append(f"{f}: {os.path.getsize(f)} bytes")
    if sorted(f.split("/", 1)[1] for f in en_disco if f.count("/") > 1) != OTROS:
        fallos.append(f"plugins and translations: {en_disco}")
    return en_disco, fallos


def bibliotecas(en_disco, arriba, system32):
    """What each binary loads, against what is beside the program and in Windows."""
    fallos = []
    sistema = {f.lower() for f in os.listdir(system32)}
    al_lado = {f.split("/")[1].lower() for f in en_disco if f.count("/") == 1}
    cargadas = set()
    for nombre in (f for f in en_disco if f.endswith((".dll", ".exe"))):
        pe = pefile.PE(os.path.join(arriba, nombre))
        if pe.FILE_HEADER.NumberOfSymbols:
            fallos.append(f"{nombre} is not stripped")
        for entrada in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
            dll = entrada.dll.decode().lower()
            cargadas.add(dll)
            # api-ms-win-…: API sets, names the Windows loader maps to its own libraries.
            if dll not in al_lado and dll not in sistema and not dll.startswith("api-ms-win-"):
                fallos.append(f"{nombre} loads {dll}, which is neither beside it nor in Windows")
    for dll in sorted(al_lado):
        if dll.endswith(".dll") and dll not in cargadas:
            fallos.append(f"{dll} is beside the program but nothing loads it")
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
    zip_path, folder, version, ico_path, system32 = sys.argv[1:]
    en_disco, fallos = contenido(zip_path, folder)
    fallos += bibliotecas(en_disco, os.path.dirname(folder), system32)
    fallos += programa(os.path.join(folder, "coltavenira.exe"), version, ico_path)
    for fallo in fallos:
        print("FAIL:", fallo)
    if fallos:
        sys.exit(1)
    print(f"{os.path.basename(zip_path)} and its setup: ok")


main()
