// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the README's picture of the page on a phone: 320 CSS pixels wide at twice the density,
// reading yellow, violet, red and gold, chosen with the keys. Usage: node captura.mjs PNG [WIDTH]
import { abrirNavegador, sitio } from './pruebas/comun.mjs';
import { servir } from './servidor.mjs';

const [archivo, ancho = '320'] = process.argv.slice(2);
const servidor = await servir(sitio);
const { navegador, cerrar } = await abrirNavegador({ idioma: 'es-ES' });
try {
  const pagina = await navegador.newPage();
  await pagina.setViewport({ width: Number(ancho), height: 400, deviceScaleFactor: 2 });
  await pagina.goto(servidor.url);
  await pagina.waitForSelector('html[data-listo]');
  // b1 has the focus; Tab goes to b4, b2, b3. Amarillo is b1's fifth colour, Violeta b2's
  // eighth, Rojo b3's third, Dorada b4's first.
  for (const [tabs, bajadas] of [[0, 5], [1, 1], [1, 8], [1, 3]]) {
    for (let i = 0; i < tabs; ++i) await pagina.keyboard.press('Tab');
    for (let i = 0; i < bajadas; ++i) await pagina.keyboard.press('ArrowDown');
  }
  await pagina.evaluate(() => document.activeElement.blur());
  const caja = await pagina.$eval('main', (main) => {
    const r = main.getBoundingClientRect();
    return { x: Math.max(r.x - 8, 0), y: 0, width: r.width + 16, height: r.bottom + 8 };
  });
  caja.width = Math.min(caja.width, Number(ancho));
  await pagina.screenshot({ path: archivo, clip: caja });
} finally {
  await cerrar();
  await servidor.cerrar();
}
