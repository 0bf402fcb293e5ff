// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the README's pictures of the page reading yellow, violet, red and gold, chosen with the
// keys: on a 360-pixel phone with touch, light and dark, and with a mouse on a wide screen, the
// window and the resistor under it. Usage: node captura.mjs FOLDER
import { join } from 'node:path';
import { abrirNavegador, sitio } from './pruebas/comun.mjs';
import { servir } from './servidor.mjs';

const [carpeta] = process.argv.slice(2);
const telefono = { width: 360, height: 640, isMobile: true, hasTouch: true, deviceScaleFactor: 2 };
const fotos = [
  ['coltavenira-web.png', telefono, 'light'],
  ['coltavenira-web-oscura.png', telefono, 'dark'],
  ['coltavenira-web-ancha.png', { width: 800, height: 400 }, 'light'],
];
const servidor = await servir(sitio);
const { navegador, cerrar } = await abrirNavegador({ idioma: 'es-ES' });
try {
  for (const [archivo, viewport, esquema] of fotos) {
    const pagina = await navegador.newPage();
    await pagina.setViewport(viewport);
    await pagina.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: esquema }]);
    await pagina.goto(servidor.url);
    await pagina.waitForSelector('html[data-listo]');
    // b1 has the focus; Tab goes to b4, b2, b3. Amarillo is b1's fifth colour, Violeta b2's
    // eighth, Rojo b3's third, Dorada b4's first.
    for (const [tabs, bajadas] of [[0, 5], [1, 1], [1, 8], [1, 3]]) {
      for (let i = 0; i < tabs; ++i) await pagina.keyboard.press('Tab');
      for (let i = 0; i < bajadas; ++i) await pagina.keyboard.press('ArrowDown');
    }
    await pagina.evaluate(() => document.activeElement.blur());
    // The phone's whole first screen; on the wide screen, the window and the drawing.
    const caja = viewport.hasTouch
      ? { x: 0, y: 0, width: viewport.width, height: viewport.height }
      : await pagina.$eval('main', (main) => {
          const r = main.getBoundingClientRect();
          return { x: r.x - 8, y: 0, width: r.width + 16, height: r.bottom + 8 };
        });
    await pagina.screenshot({ path: join(carpeta, archivo), clip: caja });
    console.log(`wrote ${join(carpeta, archivo)}`);
    await pagina.close();
  }
} finally {
  await cerrar();
  await servidor.cerrar();
}
