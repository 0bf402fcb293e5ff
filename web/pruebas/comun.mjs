// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests and the benchmark share: where the built site is, the WebAssembly
// module loaded under node, and Debian's Chromium, headless, in a profile of its own that is
// removed with every process of the browser when it closes.
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const raiz = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const sitio = join(raiz, 'build-web', 'sitio');

// The calculator as the page has it, from the built site.
export async function cargarModulo() {
  const Coltavenira = createRequire(import.meta.url)(join(sitio, 'calculadora.js'));
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
