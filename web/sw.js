// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the site's files so that, once visited, the page opens at once on any network: none, a
// weak one that takes a connection and answers nothing, or a good one. The kept copy answers
// the site's own files, never waiting on the network; every visit fetches them all anew in the
// background and keeps them only once all have come, so that the next visit has a new version
// whole, never half of one. A new worker (its version is a hash of the files) keeps its own
// copy and removes the old. The build writes the version and the file list in.
'use strict';

const VERSION = '@VERSION@';
const ARCHIVOS = '@ARCHIVOS@';
// One site may live in several folders of a host: each keeps its own files.
const PREFIJO = 'coltavenira ' + self.registration.scope + ' ';
const CACHE = PREFIJO + VERSION;
const PROPIOS = new Set(ARCHIVOS.map((nombre) => new URL(nombre, self.registration.scope).href));
// A background fetch that takes longer than this is dropped, and the kept copy stays.
const LIMITE_MS = 30000;

// Every file whole from the host, past the HTTP cache, which could hold an older one.
function traer(senal) {
  return Promise.all(
    [...PROPIOS].map(async (url) => {
      const respuesta = await fetch(url, { cache: 'no-cache', signal: senal });
      if (!respuesta.ok) throw new Error(`${url}: ${respuesta.status}`);
      const { status, statusText, headers } = respuesta;
      return [url, new Response(await respuesta.arrayBuffer(), { status, statusText, headers })];
    })
  );
}

const guardar = (respuestas) =>
  caches.open(CACHE).then((cache) => Promise.all(respuestas.map(([url, r]) => cache.put(url, r))));

self.addEventListener('install', (evento) => {
  evento.waitUntil(traer().then(guardar).then(() => self.skipWaiting()));
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

// The files anew for the next visit, all or none; a copy a newer worker has removed meanwhile
// is not made again.
function renovar() {
  const corte = new AbortController();
  const reloj = setTimeout(() => corte.abort(), LIMITE_MS);
  return traer(corte.signal)
    .then((respuestas) => caches.has(CACHE).then((sigue) => sigue && guardar(respuestas)))
    .catch(() => {})
    .finally(() => clearTimeout(reloj));
}

self.addEventListener('fetch', (evento) => {
  const pedido = evento.request;
  const url = new URL(pedido.url);
  url.search = '';
  // Anything else, of this host or another, goes to the network as if there were no worker.
  if (pedido.method !== 'GET' || !PROPIOS.has(url.href)) return;
  evento.respondWith(
    caches
      .open(CACHE)
      .then((cache) => cache.match(url.href))
      .then((guardada) => guardada || fetch(pedido))
  );
  if (pedido.mode === 'navigate') evento.waitUntil(renovar());
});
