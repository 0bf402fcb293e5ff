// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The page as a user meets it, in Debian's Chromium: served from a folder of a host, driven by
// real keys, its reading after every choice checked against the calculator itself.
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { abrirNavegador, cargarModulo, sitio } from './comun.mjs';
import { servir } from '../servidor.mjs';

const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const ordenDeTab = ['b1', 'b4', 'b2', 'b3'];
const nombres = {
  b1: 'Banda 1: primera cifra',
  b2: 'Banda 2: segunda cifra',
  b3: 'Banda 3: multiplicador',
  b4: 'Banda 4: tolerancia',
};

let modulo;
let colores;
before(async () => {
  modulo = await cargarModulo();
  colores = [1, 2, 3, 4].map((banda) => modulo.coloresDeBanda(banda));
});

// Opens the page, keeping every address it asks for; resolves once the calculator is loaded.
async function abrir(navegador, url, viewport = { width: 800, height: 400 }) {
  const pagina = await navegador.newPage();
  const pedidos = [];
  pagina.on('request', (pedido) => pedidos.push(pedido.url()));
  await pagina.setViewport(viewport);
  await pagina.goto(url);
  await pagina.waitForSelector('html[data-listo]');
  return { pagina, pedidos };
}

const texto = (pagina, selector) => pagina.$eval(selector, (e) => e.textContent);
const enfocada = (pagina) => pagina.evaluate(() => document.activeElement.id);

// Moves the focus to a list with Tab and Shift+Tab, as a user does.
async function irA(pagina, id) {
  const desde = ordenDeTab.indexOf(await enfocada(pagina));
  const hasta = ordenDeTab.indexOf(id);
  for (let i = desde; i < hasta; ++i) await pagina.keyboard.press('Tab');
  for (let i = desde; i > hasta; --i) {
    await pagina.keyboard.down('Shift');
    await pagina.keyboard.press('Tab');
    await pagina.keyboard.up('Shift');
  }
  assert.equal(await enfocada(pagina), id);
}

// Chooses a colour of a list, from none, with Down: each step is a choice.
async function elegirConTeclas(pagina, banda, color) {
  await irA(pagina, 'b' + banda);
  const indice = colores[banda - 1].indexOf(color);
  for (let i = 0; i <= indice; ++i) await pagina.keyboard.press('ArrowDown');
  assert.equal(await pagina.$eval('#b' + banda, (lista) => lista.value), color);
}

// A small seeded generator (mulberry32), so that a failing session can be replayed.
function aleatorio(semilla) {
  return () => {
    semilla = (semilla + 0x6d2b79f5) | 0;
    let t = Math.imul(semilla ^ (semilla >>> 15), 1 | semilla);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Sessions of random keys over random lists: after every key the page must show what the
// calculator gives for the choices so far.
async function sesiones(pagina, separador, semillas) {
  for (const semilla of semillas) {
    await pagina.reload();
    await pagina.waitForSelector('html[data-listo]');
    const azar = aleatorio(semilla);
    const calculadora = new modulo.Calculadora(separador);
    let esperado = calculadora.valoresIniciales();
    const elegido = [-1, -1, -1, -1];
    for (let paso = 0; paso < 12; ++paso) {
      const banda = 1 + Math.floor(azar() * 4);
      await irA(pagina, 'b' + banda);
      const veces = 1 + Math.floor(azar() * 4);
      const tecla = azar() < 0.75 ? 'ArrowDown' : 'ArrowUp';
      for (let v = 0; v < veces; ++v) {
        await pagina.keyboard.press(tecla);
        const antes = elegido[banda - 1];
        const ultimo = colores[banda - 1].length - 1;
        // Up from no choice stays there: the empty first entry cannot be chosen again.
        if (tecla === 'ArrowDown') elegido[banda - 1] = Math.min(antes + 1, ultimo);
        else if (antes >= 0) elegido[banda - 1] = Math.max(antes - 1, 0);
        if (elegido[banda - 1] !== antes)
          esperado = calculadora.elegir(banda, colores[banda - 1][elegido[banda - 1]]);
        assert.equal(await texto(pagina, '#Label1'), esperado, `semilla ${semilla}, paso ${paso}`);
      }
    }
    calculadora.delete();
  }
}

// The site served from a folder of a local host, and Chromium in the given language, for the
// tests of one describe(): uso.url and uso.navegador once they are up, both ended after them.
function enNavegador(idioma) {
  const uso = {};
  let servidor;
  let cerrarNavegador;
  before(async () => {
    servidor = await servir(sitio, { prefijo: '/coltavenira/' });
    uso.url = servidor.url;
    ({ navegador: uso.navegador, cerrar: cerrarNavegador } = await abrirNavegador({ idioma }));
  });
  after(async () => {
    await cerrarNavegador?.();
    await servidor?.cerrar();
  });
  return uso;
}

describe('es-ES', () => {
  const uso = enNavegador('es-ES');

  test('texts, lists, names and the start reading, all from this host', async () => {
    const { pagina, pedidos } = await abrir(uso.navegador, uso.url);
    assert.equal(await pagina.title(), 'Coltavenira');
    assert.equal(await pagina.$eval('html', (html) => html.lang), 'es');
    assert.equal(await texto(pagina, 'h1'), 'Coltavenira');
    assert.equal(
      await texto(pagina, '#Label2'),
      'Ingrese las bandas de colores para hallar el valor de la COLTAVENIRA:'
    );
    assert.equal(await texto(pagina, '#Label1'), '0 Ohms ± 0');
    for (let banda = 1; banda <= 4; ++banda) {
      const lista = await pagina.$eval('#b' + banda, (l) => ({
        valor: l.value,
        opciones: [...l.options].filter((o) => !o.disabled).map((o) => o.text),
      }));
      assert.deepEqual(lista, { valor: '', opciones: colores[banda - 1] }, 'b' + banda);
    }
    const arbol = await pagina.accessibility.snapshot();
    const hojas = [];
    const recorrer = (nodo) => (hojas.push(nodo), (nodo.children || []).forEach(recorrer));
    recorrer(arbol);
    assert.deepEqual(
      hojas.filter((n) => n.role === 'combobox').map((n) => n.name),
      ordenDeTab.map((id) => nombres[id])
    );
    assert.equal(await pagina.$eval('#Label1', (e) => e.getAttribute('aria-live')), 'polite');
    // The service worker's first fetches count too.
    await pagina.evaluate(() => navigator.serviceWorker.ready);
    assert.deepEqual(pedidos.filter((url) => !url.startsWith(uso.url)), []);
    await pagina.close();
  });

  test('keys: tab order b1 b4 b2 b3, Down from no choice takes the first colour', async () => {
    const { pagina } = await abrir(uso.navegador, uso.url);
    assert.equal(await enfocada(pagina), 'b1');
    const vistas = [];
    for (let i = 0; i < 3; ++i) {
      await pagina.keyboard.press('Tab');
      vistas.push(await enfocada(pagina));
    }
    assert.deepEqual(vistas, ['b4', 'b2', 'b3']);
    await irA(pagina, 'b4');
    await pagina.keyboard.press('ArrowDown');
    assert.equal(await pagina.$eval('#b4', (l) => l.value), 'Dorada');
    assert.equal(await texto(pagina, '#Label1'), '0 Ohms ± 5%');
    await pagina.keyboard.press('ArrowUp'); // no way back to nothing
    assert.equal(await pagina.$eval('#b4', (l) => l.value), 'Dorada');
    await pagina.close();
  });

  test('the reading after every choice, and a comma', async () => {
    const { pagina } = await abrir(uso.navegador, uso.url);
    for (const [banda, color] of [[1, 'Amarillo'], [2, 'Violeta'], [3, 'Rojo'], [4, 'Dorada']])
      await elegirConTeclas(pagina, banda, color);
    assert.equal(await texto(pagina, '#Label1'), '4,7 Kohms ± 5%');
    await sesiones(pagina, ',', [1, 2, 3, 4]);
    await pagina.close();
  });

  test('a failure of the calculator is shown, not a stale reading', async () => {
    // A separator the calculator refuses, as a browser's language could never give one.
    const pagina = await uso.navegador.newPage();
    await pagina.evaluateOnNewDocument(() => {
      Intl.NumberFormat.prototype.formatToParts = () => [{ type: 'decimal', value: '1' }];
    });
    await pagina.goto(uso.url);
    await pagina.waitForSelector('html[data-listo]');
    await pagina.keyboard.press('ArrowDown');
    assert.equal(await texto(pagina, '#Label1'), 'El separador decimal «1» no es válido');
    await pagina.close();
  });

  test('a 320-pixel screen: no sideways scroll, the widest reading not clipped', async () => {
    const viewport = { width: 320, height: 568, isMobile: true, deviceScaleFactor: 2 };
    const { pagina } = await abrir(uso.navegador, uso.url, viewport);
    for (const [banda, color] of [[1, 'Negro'], [2, 'Negro'], [3, 'Blanco'], [4, 'Plateada']])
      await elegirConTeclas(pagina, banda, color);
    assert.equal(await texto(pagina, '#Label1'), '00000000000 Ohms ± 10%');
    const medidas = await pagina.evaluate(() => {
      const plano = (r) => ({ left: r.left, right: r.right, width: r.width });
      const caja = (e) => plano(e.getBoundingClientRect());
      const tinta = (e) => {
        const rango = document.createRange();
        rango.selectNodeContents(e);
        return plano(rango.getBoundingClientRect());
      };
      return {
        ancho: document.documentElement.scrollWidth,
        controles: ['h1', '#Label2', '#b1', '#b2', '#b3', '#b4', '#Label1'].map((s) => [
          s,
          caja(document.querySelector(s)),
        ]),
        textos: ['#Label2', '#Label1'].map((s) => {
          const e = document.querySelector(s);
          return [s, tinta(e), caja(e)];
        }),
      };
    });
    assert.ok(medidas.ancho <= 320, `the page is ${medidas.ancho} px wide`);
    for (const [selector, caja] of medidas.controles)
      assert.ok(caja.left >= 0 && caja.right <= 320.5 && caja.width > 0, selector);
    for (const [selector, tinta, caja] of medidas.textos)
      assert.ok(tinta.left >= caja.left - 0.5 && tinta.right <= caja.right + 0.5, selector);
    await pagina.close();
  });

  test('axe-core finds nothing, best practices included', async () => {
    const { pagina } = await abrir(uso.navegador, uso.url);
    await elegirConTeclas(pagina, 1, 'Rojo');
    await pagina.addScriptTag({ path: axe });
    const violaciones = await pagina.evaluate(async () =>
      (await window.axe.run(document, { resultTypes: ['violations'] })).violations.map(
        (v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`
      )
    );
    assert.deepEqual(violaciones, []);
    await pagina.close();
  });

  test('offline after a first visit, and a new version replaces the kept one', async () => {
    const copia = mkdtempSync(join(tmpdir(), 'coltavenira-sitio-'));
    cpSync(sitio, copia, { recursive: true });
    let otro = await servir(copia, { prefijo: '/otra/carpeta/' });
    try {
      const { pagina } = await abrir(uso.navegador, otro.url);
      await pagina.waitForFunction(() => navigator.serviceWorker.controller);
      // A new version: another title in the page, another version in the worker.
      const index = join(copia, 'index.html');
      const nueva = readFileSync(index, 'utf8').replace('<title>Coltavenira<', '<title>Coltavenira 2<');
      writeFileSync(index, nueva);
      const sw = join(copia, 'sw.js');
      writeFileSync(sw, readFileSync(sw, 'utf8').replace(/VERSION = '[^']*'/, "VERSION = 'nueva'"));
      await pagina.reload();
      await pagina.waitForSelector('html[data-listo]');
      assert.equal(await pagina.title(), 'Coltavenira 2');
      await pagina.evaluate(() => navigator.serviceWorker.ready.then((r) => r.update()));

      await otro.cerrar();
      otro = null;
      await pagina.reload();
      await pagina.waitForSelector('html[data-listo]');
      assert.equal(await pagina.title(), 'Coltavenira 2');
      await elegirConTeclas(pagina, 2, 'Rojo');
      assert.equal(await texto(pagina, '#Label1'), '02 Ohms ± 0');
      await pagina.close();
    } finally {
      await otro?.cerrar();
      rmSync(copia, { recursive: true, force: true });
    }
  });
});

describe('en-US', () => {
  const uso = enNavegador('en-US');

  test('the reading after every choice, and a point', async () => {
    const { pagina } = await abrir(uso.navegador, uso.url);
    for (const [banda, color] of [[1, 'Amarillo'], [2, 'Violeta'], [3, 'Rojo'], [4, 'Dorada']])
      await elegirConTeclas(pagina, banda, color);
    assert.equal(await texto(pagina, '#Label1'), '4.7 Kohms ± 5%');
    await sesiones(pagina, '.', [5, 6]);
    await pagina.close();
  });
});
