import { h, fill, statusLine, runAction, formatTimestamp, list, text } from '../ui.js';
import { isObject } from '../envelope.js';

function severityBadge(severity) {
  const value = typeof severity === 'string' ? severity : '';
  const kinds = { critical: 'bad', important: 'warn', moderate: 'info', low: 'off' };
  const kind = Object.hasOwn(kinds, value.toLowerCase()) ? kinds[value.toLowerCase()] : 'off';
  return h('span', { class: `badge ${kind}`, text: text(value) });
}

function updateTable(updates, { withMandatory }) {
  const head = ['Título', 'KB', 'Severidade'].concat(withMandatory ? ['Obrigatória'] : []);
  return h(
    'div',
    { class: 'table-wrap' },
    h(
      'table',
      { class: 'data' },
      h('thead', {}, h('tr', {}, head.map((label) => h('th', { scope: 'col', text: label })))),
      h(
        'tbody',
        {},
        updates.map((u) =>
          h(
            'tr',
            {},
            h('td', { text: text(u.title) }),
            h('td', { text: text(u.kb) }),
            h('td', {}, severityBadge(u.severity)),
            withMandatory ? h('td', { text: u.mandatory === true ? 'sim' : 'não' }) : null,
          ),
        ),
      ),
    ),
  );
}

export function mount(section, ctx) {
  const status = statusLine();
  const online = h('input', { type: 'checkbox', id: 'updates-online', checked: true });
  const searchButton = h('button', { type: 'button', class: 'primary', text: 'Procurar atualizações' });
  const summary = h('p', { class: 'muted', text: 'Nenhuma busca feita ainda.' });
  const available = h('div', { class: 'slot' }, h('p', { class: 'muted', text: 'Procure atualizações para ver as disponíveis.' }));
  const installed = h('div', { class: 'slot' }, h('p', { class: 'muted', text: 'Colete o inventário com as atualizações instaladas ou faça uma busca.' }));

  searchButton.addEventListener('click', () =>
    runAction(searchButton, status, async () => {
      status.busy('Procurando atualizações…', { elapsed: true });
      const { result } = await ctx.bridge.task('updates.search', { online: online.checked }, 'updates.result');
      if (result?.accepted !== true) throw new Error('O aplicativo não aceitou a busca.');
      status.ok('Busca concluída.');
    }),
  );

  // An inventory collected with its updates carries the installed list too.
  ctx.store.watch('inventory', (inv) => {
    const ups = inv.updates;
    if (isObject(ups) && (list(ups.installed).length > 0 || ups.last_search)) {
      ctx.store.set('updates', { ...ups, source: 'inventory' });
    }
  });

  ctx.store.watch('updates', (ups) => {
    const pending = list(ups.available).filter(isObject);
    const done = list(ups.installed).filter(isObject);
    const origin = ups.source === 'inventory' ? 'inventário' : 'busca';
    summary.textContent =
      `Última busca: ${formatTimestamp(ups.last_search)} (${origin}) · ` +
      `${pending.length} disponíveis · ${text(ups.important_count)} importantes · ${done.length} instaladas`;
    fill(available, pending.length
      ? updateTable(pending, { withMandatory: true })
      : h('p', { class: 'muted', text: 'Nenhuma atualização disponível listada (a busca offline lista só as instaladas).' }));
    fill(installed, done.length
      ? updateTable(done, { withMandatory: false })
      : h('p', { class: 'muted', text: 'Nenhuma atualização instalada listada.' }));
  });

  fill(
    section,
    h('h1', { text: 'Atualizações' }),
    h('div', { class: 'toolbar' }, searchButton, h('label', { class: 'check' }, online, 'Buscar online')),
    status.node,
    summary,
    h('h2', { text: 'Disponíveis' }),
    available,
    h('h2', { text: 'Instaladas' }),
    installed,
  );
}
