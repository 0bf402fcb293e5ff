// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The WebAssembly core against the native one: every reachable reading, with both separators,
// walked through the page's own binding, must be the native walk's line for line. And a
// failure of the core reaches JavaScript as an Error with the core's message.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import { before, test } from 'node:test';
import { cargarModulo, raiz } from './comun.mjs';

const recorrido =
  process.env.COLTAVENIRA_RECORRIDO || join(raiz, 'build', 'tests', 'recorrido_lecturas');
let modulo;
before(async () => {
  modulo = await cargarModulo();
});

// The same walk as tests/recorrido_lecturas.cpp, through the binding.
function recorrer(separador) {
  const colores = [1, 2, 3, 4].map((banda) => modulo.coloresDeBanda(banda));
  const lineas = [];
  const estados = colores.reduce((producto, lista) => producto * (lista.length + 1), 1);
  for (let estado = 0; estado < estados; ++estado) {
    const e = [];
    for (let banda = 0, resto = estado; banda < 4; ++banda) {
      e.push((resto % (colores[banda].length + 1)) - 1);
      resto = Math.floor(resto / (colores[banda].length + 1));
    }
    const calculadora = new modulo.Calculadora(separador);
    let resultado = calculadora.valoresIniciales();
    for (let banda = 1; banda <= 4; ++banda) {
      if (e[banda - 1] >= 0) resultado = calculadora.elegir(banda, colores[banda - 1][e[banda - 1]]);
    }
    calculadora.delete();
    lineas.push(`${e.join(' ')} ${resultado}`);
  }
  return lineas;
}

for (const separador of ['.', ',']) {
  test(`every reading with «${separador}», WebAssembly as native`, () => {
    const nativo = execFileSync(recorrido, [separador], { encoding: 'utf8' }).split('\n');
    nativo.pop();
    assert.equal(nativo.length, 11 * 11 * 13 * 4);
    assert.deepEqual(recorrer(separador), nativo);
  });
}

test('a failure of the core is an Error with its message', () => {
  assert.throws(() => modulo.coloresDeBanda(5), {
    name: 'Error',
    message: 'No existe la banda 5; las bandas van de la 1 a la 4',
  });
  const calculadora = new modulo.Calculadora('1');
  calculadora.valoresIniciales();
  assert.throws(() => calculadora.elegir(1, 'Rojo'), {
    name: 'Error',
    message: 'El separador decimal «1» no es válido',
  });
  calculadora.delete();
});
