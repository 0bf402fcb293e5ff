// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's handlers: every choice goes to the calculator (the C++ core in WebAssembly) and
// its result text goes into Label1. Nothing of the reading is worked out here.
'use strict';

(function () {
  const resultado = document.getElementById('Label1');
  const instruccion = document.getElementById('Label2');
  const listas = [1, 2, 3, 4].map((banda) => document.getElementById('b' + banda));
  const dibujo = document.getElementById('resistencia');
  const bandasDibujadas = [1, 2, 3, 4].map((banda) => document.getElementById('d' + banda));
  let calculadora = null;

  // The usual colour of each name the lists offer, for the drawing alone, as the desktop's
  // swatches; gold and silver are metallic gradients, so as not to pass for yellow and grey.
  const pintura = {
    Negro: '#000000',
    Marron: '#8b4513',
    Rojo: '#e00000',
    Naranja: '#ff8c00',
    Amarillo: '#ffe000',
    Verde: '#00a000',
    Azul: '#0040ff',
    Violeta: '#8b00ff',
    Gris: '#808080',
    Blanco: '#ffffff',
    Dorado: 'url(#oro)',
    Dorada: 'url(#oro)',
    Plateado: 'url(#plata)',
    Plateada: 'url(#plata)',
  };

  // The drawing follows the lists at once, before and after the calculator is there: a band
  // not chosen is the body with a dashed outline, "Ninguna" no band at all.
  function dibujar() {
    const nombres = listas.map((lista, i) => {
      const color = lista.value;
      const rect = bandasDibujadas[i];
      rect.setAttribute('fill', pintura[color] || 'none');
      rect.setAttribute('stroke-dasharray', color ? 'none' : '4 3');
      rect.setAttribute('stroke', color === 'Ninguna' ? 'none' : '#3c3c3c');
      return color || 'sin elegir';
    });
    dibujo.setAttribute('aria-label', 'Resistencia: ' + nombres.join(', '));
  }

  // A text wider than its label is drawn smaller, never clipped, as in the window.
  function ajustar(etiqueta) {
    etiqueta.style.removeProperty('--ajuste');
    const rango = document.createRange();
    rango.selectNodeContents(etiqueta);
    const ancho = rango.getBoundingClientRect().width;
    if (ancho > etiqueta.clientWidth) {
      etiqueta.style.setProperty('--ajuste', String((etiqueta.clientWidth / ancho) * 0.98));
    }
  }

  function mostrar(texto) {
    resultado.textContent = texto;
    ajustar(resultado);
  }

  function elegir(banda) {
    try {
      mostrar(calculadora.elegir(banda, listas[banda - 1].value));
    } catch (error) {
      // What failed, rather than a reading that no longer stands.
      mostrar(String(error.message));
    }
  }

  listas.forEach((lista, i) => {
    lista.addEventListener('change', () => {
      dibujar();
      if (calculadora) elegir(i + 1);
    });
  });
  window.addEventListener('resize', () => {
    ajustar(instruccion);
    ajustar(resultado);
  });
  // The instruction fits at the window's size; measured after the first frame, as a check
  // that would otherwise lay the page out before it is first painted.
  requestAnimationFrame(() => setTimeout(() => ajustar(instruccion)));
  // The drawing in the page is of no band chosen; a page the browser restored with choices is
  // drawn again at once. Painting the drawing twice would hold back the first paint.
  if (listas.some((lista) => lista.value)) dibujar();

  Coltavenira().then(
    (modulo) => {
      // The decimal separator of the browser's language, as the desktop takes its locale's.
      // Asked here, once the module is in: the first use of Intl loads the language's data,
      // which would hold back the first paint by some 20 ms.
      const separador = new Intl.NumberFormat(navigator.language)
        .formatToParts(1.5)
        .find((parte) => parte.type === 'decimal').value;
      calculadora = new modulo.Calculadora(separador);
      calculadora.valoresIniciales();
      // Choices made while the calculator was loading, in band order: each band's text depends
      // on its own list only.
      listas.forEach((lista, i) => {
        if (lista.value) elegir(i + 1);
      });
      document.documentElement.dataset.listo = '';
      // Kept for offline use once the page answers: the worker fetches every file again, which
      // would otherwise compete with the calculator's start.
      if ('serviceWorker' in navigator) {
        navigator.serviceWorker.register('sw.js').catch(() => {});
      }
    },
    (error) => mostrar(String(error.message || error))
  );
})();
