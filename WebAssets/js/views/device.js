import { h, facts, fill, statusLine, runAction, text } from '../ui.js';
import { envelopeError, envelopeOk, isObject, resultError } from '../envelope.js';
import { field } from '../forms.js';

const MAX_LABEL = 64;

// The backend's device list has no fixed shape: it is either the whole body
// (an array) or the first member that holds an array, "devices" preferred.
export function devicesOf(envelope) {
  if (!isObject(envelope)) return [];
  if (Array.isArray(envelope.body)) return envelope.body;
  if (Array.isArray(envelope.devices)) return envelope.devices;
  const found = Object.values(envelope).find(Array.isArray);
  return found ?? [];
}

function deviceRow(item, currentId) {
  const entry = isObject(item) ? item : { label: item };
  const id = entry.device_id ?? entry.id ?? '';
  const label = entry.label ?? entry.name ?? '';
  const extra = Object.entries(entry)
    .filter(([key, value]) => !['device_id', 'id', 'label', 'name'].includes(key) && value !== null && typeof value !== 'object')
    .map(([key, value]) => `${key}: ${value}`)
    .join(' · ');
  const mine = id !== '' && id === currentId;
  return h(
    'tr',
    { class: mine ? 'current' : null },
    h('td', {}, text(label), mine ? h('span', { class: 'badge good', text: 'este dispositivo' }) : null),
    h('td', {}, h('code', { text: text(id) })),
    h('td', { class: 'muted', text: text(extra) }),
  );
}

function bindingCard(ctx) {
  const info = facts([
    ['device_id', 'ID do dispositivo'],
    ['label', 'Nome'],
    ['email', 'Conta'],
  ]);
  const label = field('device-label', 'Nome do dispositivo', { type: 'text', maxlength: String(MAX_LABEL), autocomplete: 'off' });
  const status = statusLine();
  const register = h('button', { type: 'submit', class: 'primary', text: 'Registrar dispositivo' });
  const form = h('form', { novalidate: true }, label.node, register);

  ctx.store.watch('device', (binding) => {
    if (binding?.error) return status.error(binding.error);
    info.set({
      device_id: binding.device_id || 'não registrado',
      label: binding.label,
      email: binding.email || 'ninguém conectado',
    });
    if (label.value === '' && typeof binding.label === 'string') label.value = binding.label;
  });

  form.addEventListener('submit', (event) => {
    event.preventDefault();
    runAction(register, status, async () => {
      const name = label.value.trim();
      if (name.length > MAX_LABEL) return label.setError(`Use no máximo ${MAX_LABEL} caracteres.`);
      label.setError('');
      status.busy('Registrando o dispositivo…');
      // An empty name lets the app use the one it has configured.
      const envelope = await ctx.bridge.request('device.register', name ? { label: name } : {});
      if (!envelopeOk(envelope)) return status.error(envelopeError(envelope));
      const known = envelope.match === true ? ' O servidor já conhecia este hardware.' : '';
      status.ok(`Dispositivo registrado: ${text(envelope.device_id)} (${text(envelope.label)}).${known}`);
      await ctx.refreshAccount();
    });
  });
  return h('article', { class: 'card' }, h('h2', { text: 'Este dispositivo' }), info.root, form, status.node);
}

function listCard(ctx) {
  const status = statusLine();
  const refresh = h('button', { type: 'button', text: 'Listar meus dispositivos' });
  const slot = h('div', { class: 'slot' }, h('p', { class: 'muted', text: 'A lista ainda não foi pedida.' }));
  refresh.addEventListener('click', () =>
    runAction(refresh, status, async () => {
      status.busy('Buscando dispositivos…');
      const envelope = await ctx.bridge.request('device.list');
      if (!envelopeOk(envelope)) return status.error(envelopeError(envelope));
      const devices = devicesOf(envelope);
      const currentId = ctx.store.get('device')?.device_id ?? '';
      status.ok(`${devices.length} dispositivo(s).`);
      fill(slot, devices.length
        ? h('div', { class: 'table-wrap' }, h('table', { class: 'data', id: 'device-table' },
          h('thead', {}, h('tr', {}, ['Nome', 'ID', 'Detalhes'].map((l) => h('th', { scope: 'col', text: l })))),
          h('tbody', {}, devices.map((d) => deviceRow(d, currentId)))))
        : h('p', { class: 'muted', text: 'Nenhum dispositivo nesta conta.' }));
    }),
  );
  return h('article', { class: 'card' }, h('h2', { text: 'Meus dispositivos' }), h('div', { class: 'actions' }, refresh), status.node, slot);
}

function uploadCard(ctx) {
  const status = statusLine();
  const upload = h('button', { type: 'button', class: 'primary', text: 'Enviar inventário' });
  const outcome = facts([
    ['ok', 'Resultado'],
    ['status', 'Status HTTP'],
    ['error', 'Erro'],
  ]);
  upload.addEventListener('click', () =>
    runAction(upload, status, async () => {
      status.busy('Coletando e enviando o inventário…', { elapsed: true });
      const { result, data } = await ctx.bridge.task('inventory.upload', {}, 'inventory.uploaded');
      if (result?.accepted !== true) return status.error(resultError(result));
      const ok = envelopeOk(data);
      outcome.set({
        ok: ok ? 'enviado' : 'falhou',
        status: isObject(data) && typeof data.status === 'number' ? data.status : '',
        error: ok ? '' : envelopeError(data),
      });
      if (ok) status.ok('Inventário enviado.');
      else status.error(`Envio falhou: ${envelopeError(data)}`);
    }),
  );
  return h('article', { class: 'card' }, h('h2', { text: 'Enviar inventário' }),
    h('p', { class: 'muted', text: 'Coleta o inventário completo, com as atualizações instaladas, e envia ao servidor.' }),
    h('div', { class: 'actions' }, upload), status.node, outcome.root);
}

export function mount(section, ctx) {
  fill(section, h('h1', { text: 'Dispositivo' }), h('div', { class: 'grid two' }, bindingCard(ctx), uploadCard(ctx)), listCard(ctx));
}
