import { h, fill, statusLine, runAction, text } from '../ui.js';
import { isObject } from '../envelope.js';

export const COMPONENTS = [
  ['smbios_uuid', 'UUID SMBIOS'],
  ['baseboard_serial', 'Série da placa-mãe'],
  ['bios_serial', 'Série do BIOS'],
  ['machine_guid', 'GUID da máquina'],
  ['cpu_signature', 'Assinatura do processador'],
  ['gpu_signature', 'Assinatura gráfica'],
  ['disk_serials', 'Séries dos discos'],
  ['volume_serials', 'Séries dos volumes'],
  ['mac_addresses', 'Endereços MAC'],
  ['windows_product_id', 'ID do produto Windows'],
];

async function copyText(value) {
  if (navigator.clipboard?.writeText) {
    try {
      await navigator.clipboard.writeText(value);
      return;
    } catch {
      // Fall through to the selection copy below.
    }
  }
  const area = h('textarea', { class: 'offscreen', readonly: true });
  area.value = value;
  document.body.append(area);
  area.select();
  const copied = document.execCommand('copy');
  area.remove();
  if (!copied) throw new Error('Não foi possível copiar.');
}

function copyButton(value, label, status) {
  const button = h('button', { type: 'button', class: 'small', text: 'Copiar', 'aria-label': `Copiar ${label}` });
  button.addEventListener('click', () =>
    runAction(button, status, async () => {
      await copyText(value);
      status.ok(`Copiado: ${label}.`);
    }),
  );
  return button;
}

function componentValue(value) {
  if (Array.isArray(value)) return value.length ? value.map(text).join(', ') : '';
  return typeof value === 'string' ? value : '';
}

export function mount(section, ctx) {
  const status = statusLine();
  const read = h('button', { type: 'button', class: 'primary', text: 'Ler identidade' });
  const origin = h('p', { class: 'muted', text: 'A identidade ainda não foi lida.' });
  const fingerprint = h('div', { class: 'fingerprint' });
  const note = h('p', { class: 'note' });
  const body = h('tbody');

  function show(identity, hashes, print, source) {
    origin.textContent = source;
    const printText = typeof print === 'string' ? print : '';
    fill(
      fingerprint,
      h('span', { class: 'label', text: 'Impressão digital local' }),
      h('code', { class: 'hash', text: printText || 'nenhuma (nenhum componente utilizável)' }),
      printText ? copyButton(printText, 'Impressão digital', status) : null,
    );
    const unusable = [];
    body.replaceChildren(
      ...COMPONENTS.map(([key, label]) => {
        const value = componentValue(identity[key]);
        const hash = isObject(hashes) && typeof hashes[key] === 'string' ? hashes[key] : '';
        if (!hash) unusable.push(label);
        return h(
          'tr',
          { class: hash ? null : 'unusable' },
          h('th', { scope: 'row', text: label }),
          h('td', {}, h('div', { class: 'cell' }, h('span', { class: 'value', text: text(value) }), value ? copyButton(value, label, status) : null)),
          h('td', {}, h('div', { class: 'cell' }, h('code', { class: 'hash', text: hash || 'sem valor utilizável' }), hash ? copyButton(hash, `Hash de ${label}`, status) : null)),
        );
      }),
    );
    note.textContent = unusable.length
      ? `Sem valor utilizável (hash vazio): ${unusable.join(', ')}.`
      : 'Todos os componentes deram um valor utilizável.';
  }

  read.addEventListener('click', () =>
    runAction(read, status, async () => {
      status.busy('Lendo a identidade do hardware…');
      const result = await ctx.bridge.request('hwid.get');
      if (!isObject(result)) throw new Error('resposta inválida do aplicativo');
      show(result, result.component_hashes, result.local_fingerprint, 'Lida agora do aplicativo.');
      status.idle();
    }),
  );

  // A collection with identity brings the same three layers, so the view
  // follows it unless the identity was left out of that collection.
  ctx.store.watch('inventory', (inv) => {
    if (!isObject(inv.hwid) || !isObject(inv.component_hashes)) return;
    const collected = COMPONENTS.some(([key]) => componentValue(inv.hwid[key]) !== '');
    if (collected) show(inv.hwid, inv.component_hashes, inv.fingerprint, 'Do último inventário coletado.');
  });

  fill(
    section,
    h('h1', { text: 'Identidade' }),
    h('div', { class: 'toolbar' }, read),
    status.node,
    origin,
    fingerprint,
    h(
      'div',
      { class: 'table-wrap' },
      h('table', { class: 'data identity', id: 'identity-table' },
        h('thead', {}, h('tr', {}, ['Componente', 'Valor', 'Hash SHA-256'].map((l) => h('th', { scope: 'col', text: l })))),
        body),
    ),
    note,
  );
  readIdentity = () => read.click();
}

// Reading the identity blocks the app for a moment, so it waits until the
// tab is first opened.
let readIdentity = () => {};

export function shown() {
  readIdentity();
}
