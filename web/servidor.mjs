// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// A static server for the built site, on 127.0.0.1 only: what tools/web.sh serves, and what the
// tests and the benchmark load the page from, in a folder of the host as a real host would.
// Usage: node servidor.mjs SITE_FOLDER [PORT]
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const tipos = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.txt': 'text/plain; charset=utf-8',
  '.gz': 'application/gzip',
};

// Serves `carpeta` under `prefijo` ("/" or "/a/folder/"); resolves to { url, cerrar() }.
export function servir(carpeta, { puerto = 0, prefijo = '/' } = {}) {
  const raiz = resolve(carpeta);
  const servidor = createServer(async (pedido, respuesta) => {
    const ruta = decodeURIComponent(new URL(pedido.url, 'http://x').pathname);
    let relativa = ruta.startsWith(prefijo) ? ruta.slice(prefijo.length) : null;
    if (relativa === '' || relativa?.endsWith('/')) relativa += 'index.html';
    const archivo = relativa === null ? '' : normalize(join(raiz, relativa));
    try {
      if (!archivo.startsWith(raiz + '/')) throw new Error('fuera del sitio');
      const cuerpo = await readFile(archivo);
      respuesta.writeHead(200, {
        'Content-Type': tipos[extname(archivo)] || 'application/octet-stream',
        'Cache-Control': 'no-cache',
      });
      respuesta.end(cuerpo);
    } catch {
      respuesta.writeHead(404, { 'Content-Type': 'text/plain' });
      respuesta.end('404\n');
    }
  });
  // Connections kept alive would hold a stopped server open: close ends them too.
  return new Promise((listo) => {
    servidor.listen(puerto, '127.0.0.1', () => {
      listo({
        url: `http://127.0.0.1:${servidor.address().port}${prefijo}`,
        cerrar: () =>
          new Promise((hecho) => {
            servidor.close(hecho);
            servidor.closeAllConnections();
          }),
      });
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const { url } = await servir(process.argv[2], { puerto: Number(process.argv[3] || 8080) });
  console.log(`Coltavenira en ${url} (Ctrl+C para terminar)`);
}
