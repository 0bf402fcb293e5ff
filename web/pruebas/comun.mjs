// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests and the benchmark share: where the built site is, the WebAssembly
// module loaded under node, Debian's Chromium, headless, in a profile of its own that is
// removed with every process of the browser when it closes, and a Lighthouse run in it.
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { servir } from '../servidor.mjs';

export const raiz = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
// COLTAVENIRA_SITIO names another built site, to measure or test it instead.
export const sitio = process.env.COLTAVENIRA_SITIO || join(raiz, 'build-web', 'sitio');

// The calculator as the page has it: the built site's module, through the page's loader.
export async function cargarModulo() {
  const Coltavenira = createRequire(import.meta.url)(join(raiz, 'web', 'calculadora.js'));
  return Coltavenira({ wasmBinary: readFileSync(join(sitio, 'coltavenira.wasm')) });
}

// Chromium with the given language (navigator.language), run as root on a machine without a
// display. Resolves to { navegador, cerrar() }; cerrar ends every process of it.
export async function abrirNavegador({ idioma = 'es-ES' } = {}) {
  const perfil = mkdtempSync(join(tmpdir(), 'coltavenira-chromium-'));
  const navegador = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: perfil,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      // Even so Debian's build looks up Google's hosts for sign-in and updates: it may look up
      // no name at all, as the pages it is shown are all on 127.0.0.1.
      '--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1',
      '--hide-scrollbars',
      `--lang=${idioma}`,
      `--accept-lang=${idioma}`,
    ],
    env: { ...process.env, LANGUAGE: idioma.replace('-', '_'), LC_ALL: 'C.UTF-8' },
  });
  const pid = navegador.process()?.pid;
  const cerrar = async () => {
    await Promise.race([navegador.close(), new Promise((r) => setTimeout(r, 5000))]).catch(
      () => {}
    );
    // The browser's own children too: puppeteer starts it in a process group of its own.
    try {
      if (pid) process.kill(-pid, 'SIGKILL');
    } catch {
      // already gone
    }
    rmSync(perfil, { recursive: true, force: true });
  };
  return { navegador, cerrar };
}

// Lighthouse on the built site, served from a folder of a local host, in a browser of its own
// that Lighthouse drives through its debugging port: with a phone's settings ('mobile', its
// default) or a desktop's ('desktop', its desktop config), for the given categories. Resolves
// to { lhr, segundos }, Lighthouse's report and how long the run took. A run still going after
// two minutes is a failure; the browser and the server end either way.
export async function pasarLighthouse(formato, categorias) {
  const { default: lighthouse, desktopConfig } = await import('lighthouse');
  const servidor = await servir(sitio, { prefijo: '/coltavenira/' });
  const { navegador, cerrar } = await abrirNavegador();
  let reloj;
  try {
    const puerto = Number(new URL(navegador.wsEndpoint()).port);
    const inicio = performance.now();
    const corrida = lighthouse(
      servidor.url,
      { port: puerto, logLevel: 'error', onlyCategories: categorias },
      formato === 'desktop' ? desktopConfig : undefined
    );
    const limite = new Promise((_, fallar) => {
      const error = new Error(`Lighthouse (${formato}) still running after 120 s`);
      reloj = setTimeout(() => fallar(error), 120_000);
    });
    const { lhr } = await Promise.race([corrida, limite]);
    return { lhr, segundos: (performance.now() - inicio) / 1000 };
  } finally {
    clearTimeout(reloj);
    await cerrar();
    await servidor.cerrar();
  }
}
