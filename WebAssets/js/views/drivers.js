import { h, fill, list, text } from '../ui.js';
import { isObject } from '../envelope.js';

const COLUMNS = [
  ['device_name', 'Dispositivo'],
  ['class_name', 'Classe'],
  ['manufacturer', 'Fabricante'],
  ['driver_version', 'Versão'],
  ['driver_date', 'Data'],
  ['signer', 'Assinatura'],
  ['problem_code', 'Problema'],
];

const collator = new Intl.Collator('pt-BR', { numeric: true, sensitivity: 'base' });

function sortValue(driver, key) {
  if (key === 'problem_code') return driver.has_problem === true ? Number(driver.problem_code) || 0 : -1;
  return typeof driver[key] === 'string' ? driver[key] : '';
}

function compare(a, b, key) {
  const x = sortValue(a.driver, key);
  const y = sortValue(b.driver, key);
  return typeof x === 'number' ? x - y : collator.compare(x, y);
}

function buildRow(driver) {
  const problem = driver.has_problem === true
    ? h('span', { class: 'badge bad', text: `Código ${text(driver.problem_code)}` })
    : h('span', { class: 'muted', text: 'Nenhum' });
  const signer = driver.is_signed === true ? text(driver.signer) : 'Não assinado';
  const name = h('td', {}, text(driver.device_name));
  if (driver.important === true) name.append(' ', h('span', { class: 'badge info', text: 'importante' }));
  return h(
    'tr',
    { class: driver.has_problem === true ? 'problem' : null },
    name,
    h('td', { class: 'nowrap', text: text(driver.class_name) }),
    h('td', { text: text(driver.manufacturer) }),
    h('td', { class: 'nowrap', text: text(driver.driver_version) }),
    h('td', { class: 'nowrap', text: text(driver.driver_date) }),
    h('td', { text: signer }),
    h('td', { class: 'nowrap' }, problem),
  );
}

export function mount(section, ctx) {
  const search = h('input', { type: 'search', id: 'driver-search', placeholder: 'Buscar por nome, classe, fabricante…', 'aria-label': 'Buscar drivers' });
  const onlyProblems = h('input', { type: 'checkbox', id: 'driver-problems' });
  const onlyImportant = h('input', { type: 'checkbox', id: 'driver-important' });
  const count = h('p', { class: 'muted', role: 'status', text: 'Colete o inventário para ver os drivers.' });
  const body = h('tbody');
  let rows = [];
  let sort = { key: 'device_name', dir: 1 };

  const headers = COLUMNS.map(([key, label]) => {
    const button = h('button', { type: 'button', class: 'sort', text: label });
    const th = h('th', { scope: 'col', 'aria-sort': 'none' }, button);
    button.addEventListener('click', () => {
      sort = { key, dir: sort.key === key ? -sort.dir : 1 };
      render();
    });
    return [key, th];
  });

  function render() {
    const needle = search.value.trim().toLocaleLowerCase('pt-BR');
    const shownRows = rows
      .filter(({ driver, haystack }) =>
        (!onlyProblems.checked || driver.has_problem === true) &&
        (!onlyImportant.checked || driver.important === true) &&
        (needle === '' || haystack.includes(needle)))
      .sort((a, b) => compare(a, b, sort.key) * sort.dir);
    for (const [key, th] of headers) {
      th.setAttribute('aria-sort', key === sort.key ? (sort.dir > 0 ? 'ascending' : 'descending') : 'none');
    }
    const fragment = document.createDocumentFragment();
    for (const row of shownRows) fragment.append(row.node);
    body.replaceChildren(fragment);
    const problems = rows.filter((r) => r.driver.has_problem === true).length;
    count.textContent = `${shownRows.length} de ${rows.length} drivers · ${problems} com problemas`;
  }

  for (const input of [search, onlyProblems, onlyImportant]) input.addEventListener('input', render);

  // Rows are built once per inventory; searching and sorting only reorder them.
  ctx.store.watch('inventory', (inv) => {
    rows = list(inv.drivers).filter(isObject).map((driver) => ({
      driver,
      node: buildRow(driver),
      haystack: ['device_name', 'class_name', 'manufacturer', 'driver_version', 'signer']
        .map((key) => (typeof driver[key] === 'string' ? driver[key] : ''))
        .join('\n')
        .toLocaleLowerCase('pt-BR'),
    }));
    render();
  });

  fill(
    section,
    h('h1', { text: 'Drivers' }),
    h(
      'div',
      { class: 'toolbar' },
      search,
      h('label', { class: 'check' }, onlyProblems, 'Com problemas'),
      h('label', { class: 'check' }, onlyImportant, 'Importantes'),
    ),
    count,
    h(
      'div',
      { class: 'table-wrap' },
      h('table', { class: 'data', id: 'driver-table' },
        h('thead', {}, h('tr', {}, headers.map(([, th]) => th))),
        body),
    ),
  );
}

