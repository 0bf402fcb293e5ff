// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the static site: the page with each list's colours and the start text as the
// calculator gives them (read through the WebAssembly module itself, so the page holds them
// before the module loads), the module, the page's script, the manifest, the icons and the
// service worker with the site's version; and, as a site that sends a program conveys it, the
// licence and the source it was built from.
// Usage: node sitio.mjs MODULE_FOLDER SITE_FOLDER VERSION
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import {
  chmodSync,
  copyFileSync,
  mkdirSync,
  readFileSync,
  rmSync,
  utimesSync,
  writeFileSync,
} from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const [modulos, sitio] = process.argv.slice(2, 4).map((ruta) => resolve(ruta));
const version = process.argv[4];
const web = dirname(fileURLToPath(import.meta.url));
const iconos = join(web, '..', 'data', 'icons');

const Coltavenira = createRequire(import.meta.url)(join(web, 'calculadora.js'));
const modulo = await Coltavenira({ wasmBinary: readFileSync(join(modulos, 'coltavenira.wasm')) });

const html = (texto) =>
  texto.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
let pagina = readFileSync(join(web, 'index.html'), 'utf8');
for (let banda = 1; banda <= 4; ++banda) {
  const opciones = modulo
    .coloresDeBanda(banda)
    .map((color) => `<option>${html(color)}</option>`)
    .join('');
  pagina = pagina.replace(new RegExp(`(<select id="b${banda}"[^>]*>.*?)(</select>)`), `$1${opciones}$2`);
}
const calculadora = new modulo.Calculadora('.');
pagina = pagina.replace(/(<output id="Label1"[^>]*>)/, `$1${html(calculadora.valoresIniciales())}`);
calculadora.delete();
// The loader and the page's script go into the page: it asks for nothing more before it answers
// but the module, which it has been fetching since its first line.
const guion = ['calculadora.js', 'pagina.js'].map((nombre) => readFileSync(join(web, nombre), 'utf8'));
pagina = pagina.replace(
  /<script src="calculadora\.js" defer><\/script>\n<script src="pagina\.js" defer><\/script>/,
  () => `<script>\n${guion.join('')}</script>`
);
// The page's Content-Security-Policy allows its inline script and style by their SHA-256 alone.
for (const [marca, etiqueta] of [['@GUION@', 'script'], ['@ESTILO@', 'style']]) {
  const huellas = [...pagina.matchAll(new RegExp(`<${etiqueta}>([^]*?)</${etiqueta}>`, 'g'))].map(
    ([, texto]) => `'sha256-${createHash('sha256').update(texto).digest('base64')}'`
  );
  if (huellas.length === 0 || !pagina.includes(marca))
    throw new Error(`sitio.mjs: no ${marca}, or no <${etiqueta}> to allow`);
  pagina = pagina.replace(marca, huellas.join(' '));
}

// Same sources, same bytes: no date or path of the build goes in.
rmSync(sitio, { recursive: true, force: true });
mkdirSync(sitio, { recursive: true });
writeFileSync(join(sitio, 'index.html'), pagina);
const copias = [
  [join(modulos, 'coltavenira.wasm'), 'coltavenira.wasm'],
  [join(web, 'manifest.webmanifest'), 'manifest.webmanifest'],
  [join(iconos, 'coltavenira.svg'), 'icono.svg'],
  [join(iconos, 'coltavenira-192.png'), 'icono-192.png'],
  [join(iconos, 'coltavenira-256.png'), 'icono-256.png'],
  [join(iconos, 'coltavenira-512.png'), 'icono-512.png'],
  [join(iconos, 'coltavenira-maskable-512.png'), 'icono-mascara-512.png'],
];
for (const [origen, nombre] of copias) copyFileSync(origen, join(sitio, nombre));

// The source, as tools/fuente.sh makes it: the same bytes from a checkout and from the folder
// unpacked from it, where there is no git.
const raiz = join(web, '..');
execFileSync(join(raiz, 'tools', 'fuente.sh'), [version, join(sitio, 'coltavenira-fuente.tar.gz')], {
  stdio: 'inherit',
});
copyFileSync(join(raiz, 'LICENSE'), join(sitio, 'LICENCIA.txt'));

const archivos = ['index.html', ...copias.map(([, nombre]) => nombre)];
const huella = createHash('sha256');
for (const nombre of archivos) huella.update(nombre).update(readFileSync(join(sitio, nombre)));
const trabajador = readFileSync(join(web, 'sw.js'), 'utf8')
  .replace('@VERSION@', huella.digest('hex').slice(0, 16))
  // The worker keeps what the page loads; the PNG icons are for an install alone.
  .replace("'@ARCHIVOS@'", JSON.stringify(['./', ...archivos.filter((n) => !n.endsWith('.png'))]));
writeFileSync(join(sitio, 'sw.js'), trabajador);

// Copies keep their source's mode, which the umask of the checkout set: every file takes the
// modes of a 0022 umask, and the date of SOURCE_DATE_EPOCH (the last commit's, from the tools).
const epoca = Number(process.env.SOURCE_DATE_EPOCH);
for (const nombre of [...archivos, 'sw.js', 'coltavenira-fuente.tar.gz', 'LICENCIA.txt']) {
  chmodSync(join(sitio, nombre), 0o644);
  if (Number.isInteger(epoca)) utimesSync(join(sitio, nombre), epoca, epoca);
}
if (Number.isInteger(epoca)) utimesSync(sitio, epoca, epoca);
