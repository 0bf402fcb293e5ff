// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition's budgets, in one headless Chromium, side by side with a static page of one
// line of text: the bytes of the site after gzip -9, first paint, the first choice answered
// (navigation start to the reading shown) and choice to reading inside the page; then
// Lighthouse's performance on a phone and on a desktop. Figures, not tests: tools/bench.sh
// prints them beside the desktop's.
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { abrirNavegador, pasarLighthouse, sitio } from './pruebas/comun.mjs';
import { servir } from './servidor.mjs';

const vueltas = 11;
const mediana = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];

// What the page loads: the site less the source archive and the licence, which it only links,
// and the PNG icons, which only an install fetches.
const bytes = readdirSync(sitio)
  .filter((nombre) => !['coltavenira-fuente.tar.gz', 'LICENCIA.txt'].includes(nombre))
  .filter((nombre) => !nombre.endsWith('.png'))
  .reduce((total, nombre) => total + gzipSync(readFileSync(join(sitio, nombre)), { level: 9 }).length, 0);

const carpetaSuelo = mkdtempSync(join(tmpdir(), 'coltavenira-suelo-'));
writeFileSync(
  join(carpetaSuelo, 'index.html'),
  '<!DOCTYPE html><html lang="es"><meta charset="utf-8"><title>Suelo</title>' +
    '<p>Una línea de texto.</p></html>\n'
);
const web = await servir(sitio, { prefijo: '/coltavenira/' });
const suelo = await servir(carpetaSuelo);
const { navegador, cerrar } = await abrirNavegador({ idioma: 'es-ES' });
// Nothing of the browser or the servers outlives the benchmark, even when it fails.
const terminar = async () => {
  await cerrar();
  await web.cerrar();
  await suelo.cerrar();
  rmSync(carpetaSuelo, { recursive: true, force: true });
};
process.on('uncaughtException', async (error) => {
  console.error(error);
  await terminar();
  process.exit(1);
});

// A first visit each time: a fresh context has no cache and no service worker.
async function visitar(url, antes) {
  const contexto = await navegador.createBrowserContext();
  const pagina = await contexto.newPage();
  await pagina.setViewport({ width: 800, height: 400 });
  if (antes) await pagina.evaluateOnNewDocument(antes);
  return { contexto, pagina, ir: () => pagina.goto(url, { waitUntil: 'load' }) };
}

const primeraPintura = (pagina) =>
  pagina.evaluate(
    () =>
      new Promise((listo) => {
        const ver = () => {
          const p = performance.getEntriesByName('first-paint')[0];
          if (p) listo(p.startTime);
          else requestAnimationFrame(ver);
        };
        ver();
      })
  );

// Records when the reading changes, from the first key down before it, and the next frame.
function vigilar() {
  window.__teclas = [];
  window.__lecturas = [];
  addEventListener('keydown', (e) => window.__teclas.push(e.timeStamp), true);
  addEventListener('DOMContentLoaded', () => {
    new MutationObserver(() => {
      window.__listo ??= performance.now();
    }).observe(document.documentElement, { attributes: true, attributeFilter: ['data-listo'] });
    new MutationObserver(() => {
      const ahora = performance.now();
      requestAnimationFrame(() => window.__lecturas.push([ahora, performance.now()]));
    }).observe(document.getElementById('Label1'), { childList: true, characterData: true });
  });
}

const pinturas = { web: [], suelo: [] };
const respuestas = [];
const listos = [];
for (let i = 0; i < vueltas; ++i) {
  for (const [nombre, url] of [['suelo', suelo.url], ['web', web.url]]) {
    const { contexto, pagina, ir } = await visitar(url);
    await ir();
    pinturas[nombre].push(await primeraPintura(pagina));
    await contexto.close();
  }
  const { contexto, pagina } = await visitar(web.url, vigilar);
  await pagina.goto(web.url, { waitUntil: 'domcontentloaded' });
  // As soon as b1 has the focus it has from the start; the page takes the choice even before
  // its calculator has loaded.
  await pagina.waitForFunction(() => document.activeElement?.id === 'b1', { polling: 'raf' });
  await pagina.keyboard.press('ArrowDown');
  await pagina.waitForFunction(() => window.__lecturas.length > 0);
  respuestas.push(await pagina.evaluate(() => window.__lecturas[0][1]));
  // Whether the calculator was there by the page's first paint: any key after it is answered.
  listos.push(
    await pagina.evaluate(() => window.__listo - performance.getEntriesByName('first-paint')[0].startTime)
  );
  await contexto.close();
}

// Choice to reading: key down to the reading set, over many choices in one page.
const { contexto, pagina } = await visitar(web.url, vigilar);
await pagina.goto(web.url);
await pagina.waitForSelector('html[data-listo]');
for (let i = 0; i < 200; ++i) await pagina.keyboard.press(i % 22 < 11 ? 'ArrowDown' : 'ArrowUp');
const latencias = await pagina.evaluate(() => {
  // Every key here changes the choice but the first Up after the last colour.
  const lecturas = window.__lecturas.map(([t]) => t);
  return lecturas.map((t) => t - Math.max(...window.__teclas.filter((k) => k <= t)));
});
await contexto.close();
await terminar();

const pw = mediana(pinturas.web);
const ps = mediana(pinturas.suelo);
const r = mediana(respuestas);
const fila = (texto, a, b, razon, meta) =>
  console.log(`${texto.padEnd(36)}${a.padStart(11)}${b.padStart(13)}${razon.padStart(9)}${meta.padStart(9)}`);
console.log(`\nweb edition: Chromium headless, ${vueltas} first visits each, in turns\n`);
fila('', 'page', 'one line', 'ratio', 'target');
fila('everything it loads, gzip -9', `${(bytes / 1024).toFixed(1)} KB`, '', '', '40 KB');
fila('first paint (median)', `${pw.toFixed(1)} ms`, `${ps.toFixed(1)} ms`, (pw / ps).toFixed(3), '1.20');
fila('calculator ready, from first paint', `${mediana(listos).toFixed(1)} ms`, '', '', '0 ms');
fila('first choice answered (median)', `${r.toFixed(1)} ms`, `${ps.toFixed(1)} ms`, (r / ps).toFixed(3), '1.50');
console.log(
  `choice to reading (median)             ${mediana(latencias).toFixed(3)} ms ` +
    `(max ${Math.max(...latencias).toFixed(3)} ms, ${latencias.length} choices; target < 1 ms)`
);

// Lighthouse's own figures, from its simulated throttling (a phone on slow 4G, 150 ms and
// 1.6 Mb/s, with a CPU four times slower; a desktop at 40 ms and 10 Mb/s): its score, first
// contentful paint and total blocking time, the median of a few runs, each in a browser of
// its own.
const corridas = 3;
console.log(`\nLighthouse performance, median of ${corridas} runs each\n`);
for (const formato of ['mobile', 'desktop']) {
  const r = [];
  for (let i = 0; i < corridas; ++i) {
    r.push(await pasarLighthouse(formato, ['performance']));
    if (r.at(-1).lhr.runtimeError) throw new Error(JSON.stringify(r.at(-1).lhr.runtimeError));
  }
  const cifra = (f) => mediana(r.map(({ lhr }) => f(lhr)));
  const ms = (id) => `${cifra((lhr) => lhr.audits[id].numericValue).toFixed(0)} ms`;
  console.log(
    `${formato.padEnd(8)}score ${Math.round(cifra((lhr) => 100 * lhr.categories.performance.score))}` +
      `   first contentful paint ${ms('first-contentful-paint')}` +
      `   total blocking time ${ms('total-blocking-time')}` +
      `   (${mediana(r.map(({ segundos }) => segundos)).toFixed(1)} s a run)`
  );
}
