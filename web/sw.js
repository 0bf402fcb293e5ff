// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the site's files so that, once visited, the page opens and reads with no network.
// Online, every file comes from the host, so a new version shows at once and replaces the kept
// one; offline, the kept copy answers. The build writes the version and the file list in.
'use strict';

const VERSION = '@VERSION@';
const ARCHIVOS = '@ARCHIVOS@';
// One site may live in several folders of a host: each keeps its own files.
const PREFIJO = 'coltavenira ' + self.registration.scope + ' ';
const CACHE = PREFIJO + VERSION;

self.addEventListener('install', (evento) => {
  evento.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => cache.addAll(ARCHIVOS))
      .then(() => self.skipWaiting())
  );
});

self.addEventListener('activate', (evento) => {
  evento.waitUntil(
    caches
      .keys()
      .then((nombres) =>
        Promise.all(
          nombres
            .filter((nombre) => nombre.startsWith(PREFIJO) && nombre !== CACHE)
            .map((nombre) => caches.delete(nombre))
        )
      )
      .then(() => self.clients.claim())
  );
});

self.addEventListener('fetch', (evento) => {
  const pedido = evento.request;
  if (pedido.method !== 'GET' || !pedido.url.startsWith(self.registration.scope)) return;
  evento.respondWith(
    fetch(pedido, { cache: 'no-cache' }).then(
      (respuesta) => {
        if (respuesta.ok) {
          const copia = respuesta.clone();
          evento.waitUntil(caches.open(CACHE).then((cache) => cache.put(pedido, copia)));
        }
        return respuesta;
      },
      () =>
        caches
          .open(CACHE)
          .then((cache) => cache.match(pedido, { ignoreSearch: true }))
          .then((guardada) => guardada || Response.error())
    )
  );
});
