// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The page as a user meets it, in Debian's Chromium: served from a folder of a host, driven by
// real keys, its reading after every choice checked against the calculator itself, and no
// breach of its Content-Security-Policy in any test.
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gunzipSync } from 'node:zlib';
import { after, before, describe, test } from 'node:test';
import { abrirNavegador, cargarModulo, sitio } from './comun.mjs';
import { servir } from '../servidor.mjs';

// Run through the debugging protocol, as the page's policy would refuse it as a <script>.
const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
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

// A new tab that keeps every breach of the page's Content-Security-Policy (its
// securitypolicyviolation events), across reloads; cerrar() fails on any, then closes it.
const violaciones = new WeakMap();
async function nueva(navegador) {
  const pagina = await navegador.newPage();
  const vistas = [];
  violaciones.set(pagina, vistas);
  await pagina.exposeFunction('violacionDePolitica', (v) => vistas.push(v));
  await pagina.evaluateOnNewDocument(() =>
    document.addEventListener('securitypolicyviolation', (e) => {
      const donde = `${e.sourceFile}:${e.lineNumber}`;
      window.violacionDePolitica(`${e.violatedDirective}: ${e.blockedURI} (${donde})`);
    })
  );
  return pagina;
}
const sinViolaciones = (pagina) =>
  assert.deepEqual(violaciones.get(pagina), [], 'Content-Security-Policy violated');
async function cerrar(pagina) {
  sinViolaciones(pagina);
  await pagina.close();
}
// Once the calculator is loaded; a page that never gets there names what its policy refused.
const listo = (pagina, opciones) =>
  pagina.waitForSelector('html[data-listo]', opciones).catch((error) => {
    sinViolaciones(pagina);
    throw error;
  });

// Opens the page, keeping every address it asks for; resolves once the calculator is loaded.
async function abrir(navegador, url, viewport = { width: 800, height: 400 }) {
  const pagina = await nueva(navegador);
  const pedidos = [];
  pagina.on('request', (pedido) => pedidos.push(pedido.url()));
  await pagina.setViewport(viewport);
  await pagina.goto(url);
  await listo(pagina);
  return { pagina, pedidos };
}

const texto = (pagina, selector) => pagina.$eval(selector, (e) => e.textContent);
// The resistor as drawn: its name, and its bands' paint from left to right.
const dibujo = (pagina) =>
  pagina.$eval('#resistencia', (svg) => [
    svg.getAttribute('aria-label'),
    [...svg.querySelectorAll('[id^="d"]')]
      .sort((a, b) => a.getBBox().x - b.getBBox().x)
      .map((banda) => `${banda.getAttribute('fill')} ${banda.getAttribute('stroke-dasharray')}`),
  ]);
// The usual colours, gold and silver metallic.
const pinturas = {
  Negro: '#000000', Marron: '#8b4513', Rojo: '#e00000', Naranja: '#ff8c00', Amarillo: '#ffe000',
  Verde: '#00a000', Azul: '#0040ff', Violeta: '#8b00ff', Gris: '#808080', Blanco: '#ffffff',
  Dorado: 'url(#oro)', Plateado: 'url(#plata)', Dorada: 'url(#oro)', Plateada: 'url(#plata)',
};
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
    await listo(pagina);
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
        const nombres = elegido.map((e, i) => (e < 0 ? 'sin elegir' : colores[i][e]));
        assert.equal((await dibujo(pagina))[0], `Resistencia: ${nombres.join(', ')}`);
      }
    }
    calculadora.delete();
  }
}

// A host on this port that takes every connection and never answers, as a weak signal does.
async function callar(puerto) {
  const conexiones = new Set();
  const servidor = createServer((conexion) => conexiones.add(conexion));
  await new Promise((listo) => servidor.listen(puerto, '127.0.0.1', listo));
  return {
    cerrar: () =>
      new Promise((hecho) => {
        servidor.close(hecho);
        for (const conexion of conexiones) conexion.destroy();
      }),
  };
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

  test('texts, lists, names and the start reading, all from this host; installable', async () => {
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
    // The licence and the source it was built from, served by the site itself.
    const enlaces = await pagina.$$eval('.fuente a', (as) => as.map((a) => [a.text, a.href]));
    assert.equal(await texto(pagina, '.fuente'), 'Código fuente y licencia');
    const [[, fuente], [, licencia]] = enlaces;
    assert.ok(fuente.startsWith(uso.url) && licencia.startsWith(uso.url), String(enlaces));
    assert.match(await (await fetch(licencia)).text(), /GNU GENERAL PUBLIC LICENSE\s+Version 3/);
    const tar = gunzipSync(Buffer.from(await (await fetch(fuente)).arrayBuffer())).toString('latin1');
    assert.match(tar, /coltavenira-[\d.]+\/web\/enlace\.cpp\0/);
    // The service worker's first fetches count too.
    await pagina.evaluate(() => navigator.serviceWorker.ready);
    assert.deepEqual(pedidos.filter((url) => !url.startsWith(uso.url)), []);
    // An app to install, as Chromium judges it; each PNG icon of the size the manifest gives, one
    // of them for launchers that crop it to their own shape.
    const cdp = await pagina.createCDPSession();
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    const { icons } = await (await fetch(new URL('manifest.webmanifest', uso.url))).json();
    for (const { src, sizes, type } of icons.filter((i) => i.type === 'image/png')) {
      const png = Buffer.from(await (await fetch(new URL(src, uso.url))).arrayBuffer());
      assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, sizes, src);
    }
    assert.deepEqual(icons.filter((i) => i.purpose === 'maskable').map((i) => i.sizes), ['512x512']);
    await cerrar(pagina);
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
    await cerrar(pagina);
  });

  test('the reading after every choice, and a comma', async () => {
    const { pagina } = await abrir(uso.navegador, uso.url);
    const vacia = 'none 4 3';
    assert.deepEqual(await dibujo(pagina), [
      'Resistencia: sin elegir, sin elegir, sin elegir, sin elegir',
      [vacia, vacia, vacia, vacia],
    ]);
    for (const [banda, color] of [[1, 'Amarillo'], [2, 'Violeta'], [3, 'Rojo'], [4, 'Dorada']])
      await elegirConTeclas(pagina, banda, color);
    assert.equal(await texto(pagina, '#Label1'), '4,7 Kohms ± 5%');
    assert.deepEqual(await dibujo(pagina), [
      'Resistencia: Amarillo, Violeta, Rojo, Dorada',
      ['#ffe000 none', '#8b00ff none', '#e00000 none', 'url(#oro) none'],
    ]);
    // Every colour of the multiplier's list and the tolerance's, as each is chosen in turn.
    for (const [banda, desde] of [[3, 'Rojo'], [4, 'Dorada']]) {
      await irA(pagina, 'b' + banda);
      for (const color of colores[banda - 1].slice(colores[banda - 1].indexOf(desde) + 1)) {
        await pagina.keyboard.press('ArrowDown');
        const esperada = color === 'Ninguna' ? 'none none' : `${pinturas[color]} none`;
        assert.equal((await dibujo(pagina))[1][banda - 1], esperada, color);
      }
    }
    await sesiones(pagina, ',', [1, 2, 3, 4]);
    await cerrar(pagina);
  });

  test('a failure of the calculator is shown, not a stale reading', async () => {
    // A separator the calculator refuses, as a browser's language could never give one.
    const pagina = await nueva(uso.navegador);
    await pagina.evaluateOnNewDocument(() => {
      Intl.NumberFormat.prototype.formatToParts = () => [{ type: 'decimal', value: '1' }];
    });
    await pagina.goto(uso.url);
    await listo(pagina);
    await pagina.keyboard.press('ArrowDown');
    assert.equal(await texto(pagina, '#Label1'), 'El separador decimal «1» no es válido');
    await cerrar(pagina);
  });

  // Each screen in each scheme: the touch layout on phones, the window with a mouse. Both are
  // judged by axe-core against WCAG 2.2 AA and its best practices.
  const telefono = { isMobile: true, hasTouch: true, deviceScaleFactor: 2 };
  for (const [nombre, viewport, esquema] of [
    ['touch 320 × 568', { width: 320, height: 568, ...telefono }, 'light'],
    ['touch 320 × 568', { width: 320, height: 568, ...telefono }, 'dark'],
    ['touch 360 × 640', { width: 360, height: 640, ...telefono }, 'dark'],
    ['touch 390 × 844', { width: 390, height: 844, ...telefono }, 'light'],
    ['window 1280 × 800', { width: 1280, height: 800 }, 'light'],
    ['window 1280 × 800', { width: 1280, height: 800 }, 'dark'],
  ]) {
    test(`${nombre}, ${esquema}: layout, widest reading, axe-core`, async () => {
      const pagina = await nueva(uso.navegador);
      await pagina.setViewport(viewport);
      await pagina.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: esquema }]);
      await pagina.goto(uso.url);
      await listo(pagina);
      for (const [banda, color] of [[1, 'Negro'], [2, 'Negro'], [3, 'Blanco'], [4, 'Plateada']])
        await elegirConTeclas(pagina, banda, color);
      assert.equal(await texto(pagina, '#Label1'), '00000000000 Ohms ± 10%');
      const m = await pagina.evaluate(() => {
        const caja = (e) => e.getBoundingClientRect().toJSON();
        const tinta = (e) => {
          const rango = document.createRange();
          rango.selectNodeContents(e);
          return rango.getBoundingClientRect().toJSON();
        };
        const luz = (e) => {
          const [r, g, b] = getComputedStyle(e).backgroundColor.match(/\d+/g).map(Number);
          return (r + g + b) / 765;
        };
        const ids = ['b1', 'b2', 'b3', 'b4'];
        const textos = ['h1', '#Label2', 'label', 'select', '#Label1', '.fuente'];
        return {
          ancho: document.documentElement.scrollWidth,
          cliente: caja(document.querySelector('.cliente')),
          dibujo: caja(document.getElementById('resistencia')),
          listas: ids.map((id) => caja(document.getElementById(id))),
          etiquetas: ids.map((id) => {
            const etiqueta = document.getElementById(id).labels[0];
            return [etiqueta.textContent, caja(etiqueta)];
          }),
          partes: ['h1', '#Label2', '#resistencia', '#Label1', ...ids.map((id) => '#' + id)].map(
            (s) => [s, caja(document.querySelector(s))]
          ),
          letra: Math.min(
            ...textos.flatMap((s) => [...document.querySelectorAll(s)]).map((e) =>
              parseFloat(getComputedStyle(e).fontSize)
            )
          ),
          tintas: ['#Label2', '#Label1'].map((s) => {
            const e = document.querySelector(s);
            return [s, tinta(e), caja(e)];
          }),
          luces: [luz(document.body), luz(document.getElementById('b1'))],
        };
      });
      const { width, height } = viewport;
      assert.ok(m.ancho <= width, `the page is ${m.ancho} px wide`);
      for (const [selector, tinta, caja] of m.tintas)
        assert.ok(tinta.left >= caja.left - 0.5 && tinta.right <= caja.right + 0.5, selector);
      const [b1, b2, b3, b4] = m.listas;
      if (viewport.hasTouch) {
        // Made for a finger, all on the first screen, the lists in band order.
        for (const [selector, caja] of m.partes)
          assert.ok(caja.left >= 0 && caja.right <= width + 0.5 && caja.bottom <= height, selector);
        for (const lista of m.listas) assert.ok(lista.height >= 48 && lista.width >= 44);
        assert.ok(m.letra >= 16, `text of ${m.letra} px`);
        assert.deepEqual(m.etiquetas.map(([t]) => t), ['b1', 'b2', 'b3', 'b4'].map((id) => nombres[id]));
        for (const [t, caja] of m.etiquetas) assert.ok(caja.width > 20 && caja.height >= 16, t);
        assert.ok(b1.top === b2.top && b1.left < b2.left && b3.top === b4.top && b3.left < b4.left);
        assert.ok(b3.top >= b1.bottom && m.dibujo.bottom <= b1.top);
      } else {
        // The window as it was, 391 × 150 with its lists where the twips put them, and the
        // drawing under it, as wide.
        const px = (c) => [c.left, c.top, c.width, c.height].map((v) => Math.round(v * 3) / 3);
        const cliente = m.cliente;
        assert.deepEqual([cliente.width, cliente.height], [391, 150]);
        const dentro = (c) => px({ ...c, left: c.left - cliente.left, top: c.top - cliente.top });
        assert.deepEqual(
          m.listas.map(dentro),
          [8, 104, 200, 296].map((left) => [left, 33.333, 86.667, 21].map((v) => Math.round(v * 3) / 3))
        );
        assert.deepEqual([m.dibujo.width, m.dibujo.top >= cliente.bottom], [391, true]);
      }
      const oscuro = esquema === 'dark';
      for (const luz of m.luces) assert.equal(luz < 0.3, oscuro, `background ${luz}`);
      await pagina.evaluate(axe);
      const violaciones = await pagina.evaluate(async () => {
        const etiquetas = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
        const resultado = await window.axe.run(document, {
          runOnly: { type: 'tag', values: etiquetas },
          resultTypes: ['violations'],
        });
        return resultado.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`);
      });
      assert.deepEqual(violaciones, []);
      await cerrar(pagina);
    });
  }

  // Visited twice, so that its worker keeps it, then reloaded as the network fails, lies or
  // brings a new version: the page answers a choice within 2 s, the new version by the second
  // visit. Nothing but the site's own files comes from the kept copy.
  for (const red of ['no network', 'a server that accepts and never answers', 'a new version']) {
    test(`visited twice, then ${red}: a choice answered within 2 s`, async (t) => {
      const copia = mkdtempSync(join(tmpdir(), 'coltavenira-sitio-'));
      cpSync(sitio, copia, { recursive: true });
      let otro = await servir(copia, { prefijo: '/otra/carpeta/' });
      let mudo = null;
      try {
        const { pagina } = await abrir(uso.navegador, otro.url);
        await pagina.waitForFunction(() => navigator.serviceWorker.controller);
        await pagina.reload();
        await listo(pagina);
        let titulo = 'Coltavenira';
        if (red === 'a new version') {
          // Another title in the page, another version in the worker; the first visit after it
          // may still show the kept copy.
          const cambiar = (nombre, antes, despues) =>
            writeFileSync(join(copia, nombre), readFileSync(join(copia, nombre), 'utf8').replace(antes, despues));
          cambiar('index.html', '<title>Coltavenira<', '<title>Coltavenira 2<');
          cambiar('sw.js', /VERSION = '[^']*'/, "VERSION = 'nueva'");
          await pagina.reload();
          await listo(pagina);
          titulo = 'Coltavenira 2';
        } else {
          const puerto = Number(new URL(otro.url).port);
          await otro.cerrar();
          otro = null;
          if (red !== 'no network') mudo = await callar(puerto);
        }
        const inicio = performance.now();
        await pagina.reload({ timeout: 2000 });
        await listo(pagina, { timeout: 2000 });
        await elegirConTeclas(pagina, 2, 'Rojo');
        assert.equal(await texto(pagina, '#Label1'), '02 Ohms ± 0');
        const ms = performance.now() - inicio;
        t.diagnostic(`${red}: the reading ${ms.toFixed(0)} ms after the reload`);
        assert.ok(ms < 2000, `answered ${ms.toFixed(0)} ms after the reload`);
        assert.equal(await pagina.title(), titulo);
        if (!otro) {
          // Another file of the host, and a file of the site's name outside its folder.
          const respuestas = await pagina.evaluate(
            (urls) =>
              Promise.all(
                urls.map((url) =>
                  fetch(url, { signal: AbortSignal.timeout(300) }).then((r) => r.status, () => 'none')
                )
              ),
            ['LICENCIA.txt', '../coltavenira.wasm']
          );
          assert.deepEqual(respuestas, ['none', 'none'], 'answered with no network');
        }
        await cerrar(pagina);
      } finally {
        await otro?.cerrar();
        await mudo?.cerrar();
        rmSync(copia, { recursive: true, force: true });
      }
    });
  }
});

describe('en-US', () => {
  const uso = enNavegador('en-US');

  test('the reading after every choice, and a point', async () => {
    const { pagina } = await abrir(uso.navegador, uso.url);
    for (const [banda, color] of [[1, 'Amarillo'], [2, 'Violeta'], [3, 'Rojo'], [4, 'Dorada']])
      await elegirConTeclas(pagina, banda, color);
    assert.equal(await texto(pagina, '#Label1'), '4.7 Kohms ± 5%');
    await sesiones(pagina, '.', [5, 6]);
    await cerrar(pagina);
  });
});
