// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Lighthouse as an outside judge of the built page, with a phone's settings and a desktop's:
// accessibility, best practices and SEO at 100, and a failure names every audit that keeps a
// category below it, with where on the page; and the page's Content-Security-Policy, with
// nothing of high severity against cross-site scripting.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { pasarLighthouse } from './comun.mjs';

const categorias = ['accessibility', 'best-practices', 'seo'];

// Where an audit's finding is: a node of the page, a rule of its style, or an address.
const donde = (item) => item.node?.selector ?? item.selector?.selector ?? item.selector ?? item.url;

for (const formato of ['mobile', 'desktop']) {
  test(`Lighthouse, ${formato}: accessibility, best practices and SEO at 100`, async (t) => {
    const { lhr, segundos } = await pasarLighthouse(formato, categorias);
    t.diagnostic(`Lighthouse ${lhr.lighthouseVersion}, ${formato}: ${segundos.toFixed(1)} s`);
    assert.equal(lhr.runtimeError, undefined, JSON.stringify(lhr.runtimeError));
    const puntos = categorias.map((id) => `${id} ${Math.round(100 * lhr.categories[id].score)}`);
    const fallas = [];
    for (const id of categorias) {
      for (const { id: auditoria, weight } of lhr.categories[id].auditRefs) {
        const a = lhr.audits[auditoria];
        if (weight === 0 || (a.score ?? (a.scoreDisplayMode === 'error' ? 0 : 1)) === 1) continue;
        const lugares = (a.details?.items ?? []).map(donde).filter(Boolean);
        fallas.push(
          `${a.id}: ${a.title}` +
            (a.displayValue ? ` (${a.displayValue})` : '') +
            (a.errorMessage ? ` [${a.errorMessage}]` : '') +
            (lugares.length ? ` at ${lugares.join(', ')}` : '')
        );
      }
    }
    assert.ok(
      fallas.length === 0 && categorias.every((id) => lhr.categories[id].score === 1),
      `${formato}: ${puntos.join(', ')}\n  ${fallas.join('\n  ')}`
    );
    // Of no weight in the score, so judged here. A policy in a <meta> rather than a header is of
    // medium severity, and stays: a static host may send no header of ours.
    const hallazgos = lhr.audits['csp-xss'].details?.items ?? [];
    const graves = hallazgos.filter((h) => ['High', 'Syntax'].includes(h.severity));
    assert.deepEqual(graves, [], `csp-xss: ${JSON.stringify(hallazgos)}`);
  });
}
