// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the calculator (the C++ core in coltavenira.wasm, with the C functions of enlace.cpp)
// for the page, and for node: Coltavenira({ wasmBinary }) resolves to the colours of each band
// and a Calculadora per reading. A failure of the calculator is an Error with its message.
'use strict';

(function () {
  const codificar = new TextEncoder();
  const decodificar = new TextDecoder();
  const importaciones = {
    wasi_snapshot_preview1: {
      proc_exit(codigo) {
        throw new Error('La calculadora terminó con el código ' + codigo);
      },
    },
  };

  function enlazar(instancia) {
    const c = instancia.exports;
    c._initialize();
    // Each answer is read at once: the next call may move the module's memory.
    const respuesta = (puntero) => {
      const bytes = new Uint8Array(c.memory.buffer, puntero, c.coltavenira_largo());
      const texto = decodificar.decode(bytes);
      if (c.coltavenira_fallo()) throw new Error(texto);
      return texto;
    };

    class Calculadora {
      constructor(separadorDecimal) {
        this.separador = codificar.encode(separadorDecimal);
        this.lectura = c.coltavenira_nueva();
        if (!this.lectura) throw new Error('No hay memoria para otra lectura');
      }

      valoresIniciales() {
        return respuesta(c.coltavenira_inicio(this.lectura));
      }

      elegir(banda, color) {
        const bytes = codificar.encode(color);
        const largo = bytes.length + this.separador.length;
        const destino = new Uint8Array(c.memory.buffer, c.coltavenira_entrada(largo), largo);
        destino.set(bytes);
        destino.set(this.separador, bytes.length);
        return respuesta(c.coltavenira_elegir(this.lectura, banda, bytes.length));
      }

      delete() {
        c.coltavenira_borrar(this.lectura);
        this.lectura = 0;
      }
    }

    return {
      coloresDeBanda: (banda) => respuesta(c.coltavenira_colores(banda)).split('\n').slice(0, -1),
      Calculadora,
    };
  }

  // In the page the module streams from the site as it compiles; node passes its bytes in.
  function Coltavenira({ wasmBinary } = {}) {
    const cargado = wasmBinary
      ? WebAssembly.instantiate(wasmBinary, importaciones)
      : WebAssembly.instantiateStreaming(fetch('coltavenira.wasm'), importaciones);
    return cargado.then(({ instance }) => enlazar(instance));
  }

  if (typeof module === 'object') module.exports = Coltavenira;
  else globalThis.Coltavenira = Coltavenira;
})();
