import { h, facts, fill, statusLine, runAction, formatBytes, text, DASH } from '../ui.js';
import { envelopeOk, envelopeSummary, isObject } from '../envelope.js';

function card(title, ...children) {
  return h('article', { class: 'card' }, h('h2', { text: title }), ...children);
}

function joined(...parts) {
  const kept = parts.filter((part) => typeof part === 'string' && part !== '');
  return kept.length ? kept.join(' ') : DASH;
}

function appCard(ctx) {
  const info = facts([
    ['name', 'Aplicativo'],
    ['version', 'Versão'],
    ['webview2', 'Motor do navegador'],
    ['ready', 'Motor pronto'],
  ]);
  const server = h('dd', { text: DASH });
  info.root.append(h('div', { class: 'fact' }, h('dt', { text: 'Servidor' }), server));
  const status = statusLine();
  const logs = h('button', { type: 'button', text: 'Abrir pasta de logs' });
  logs.addEventListener('click', () =>
    runAction(logs, status, async () => {
      const result = await ctx.bridge.request('app.openLogs');
      if (isObject(result) && result.ok === true) status.ok('Pasta de logs aberta.');
      else status.error('Não foi possível abrir a pasta de logs.');
    }),
  );

  async function load() {
    try {
      const result = await ctx.bridge.request('app.info');
      if (!isObject(result)) throw new Error('resposta inválida do aplicativo');
      info.set({
        name: result.name,
        version: result.version,
        webview2: result.webview2,
        ready: result.webview_ready === true ? 'sim' : 'não',
      });
      document.getElementById('brand-version').textContent = `versão ${text(result.version)}`;
      const url = typeof result.api_base_url === 'string' ? result.api_base_url : '';
      if (/^https?:\/\//.test(url)) {
        const link = h('a', { href: url, class: 'external', text: url });
        link.addEventListener('click', (event) => {
          event.preventDefault();
          status.busy('Abrindo no navegador…');
          ctx.openExternal(url).then(() => status.idle(), (err) => status.error(err.message));
        });
        fill(server, link);
      } else {
        server.textContent = text(url);
      }
    } catch (err) {
      status.error(err.message);
    }
  }
  return { node: card('Aplicativo', info.root, h('div', { class: 'actions' }, logs), status.node), load };
}

function systemCard(ctx) {
  const info = facts([
    ['hostname', 'Computador'],
    ['os', 'Sistema operacional'],
    ['build', 'Compilação'],
    ['architecture', 'Arquitetura'],
    ['machine', 'Fabricante e modelo'],
    ['bios', 'BIOS'],
    ['ram', 'Memória RAM'],
  ]);
  const status = statusLine();
  async function load() {
    try {
      const sys = await ctx.bridge.request('system.get');
      if (!isObject(sys)) throw new Error('resposta inválida do aplicativo');
      info.set({
        hostname: sys.hostname,
        os: joined(sys.os_name, sys.os_version),
        build: sys.os_build,
        architecture: sys.architecture,
        machine: joined(sys.manufacturer, sys.model),
        bios: joined(sys.bios_version, sys.bios_date ? `(${sys.bios_date})` : ''),
        ram: formatBytes(sys.total_ram_bytes),
      });
    } catch (err) {
      status.error(err.message);
    }
  }
  return { node: card('Sistema', info.root, status.node), load };
}

function accountCard(ctx) {
  const info = facts([
    ['signin', 'Sessão'],
    ['device_id', 'ID do dispositivo'],
    ['label', 'Nome do dispositivo'],
  ]);
  const status = statusLine();
  ctx.store.watch('auth', (auth) => {
    if (auth?.error) return status.error(auth.error);
    info.set({ signin: auth.logged_in === true ? `Conectado como ${text(auth.email)}` : 'Não conectado' });
  });
  ctx.store.watch('device', (binding) => {
    if (binding?.error) return status.error(binding.error);
    info.set({ device_id: binding.device_id || 'não registrado', label: binding.label });
  });
  return { node: card('Conta e dispositivo', info.root, status.node) };
}

function healthCard(ctx) {
  const light = h('span', { class: 'light', 'aria-hidden': 'true' });
  const summary = h('span', { class: 'health-text', text: 'Verificando…' });
  const details = h('pre', { class: 'json', hidden: true });
  const status = statusLine();
  let envelope = null;

  const check = h('button', { type: 'button', text: 'Verificar novamente' });
  const toggle = h('button', { type: 'button', text: 'Detalhes', 'aria-expanded': 'false', disabled: true });
  const config = h('button', { type: 'button', text: 'Configuração remota' });
  const configOut = h('pre', { class: 'json', hidden: true });

  async function load() {
    light.className = 'light pending';
    summary.textContent = 'Verificando…';
    const result = await ctx.bridge.request('net.health');
    envelope = result;
    const ok = envelopeOk(result);
    light.className = `light ${ok ? 'up' : 'down'}`;
    summary.textContent = `${ok ? 'Servidor disponível' : 'Servidor indisponível'} (${envelopeSummary(result)})`;
    details.textContent = JSON.stringify(result, null, 2);
    toggle.disabled = false;
  }

  check.addEventListener('click', () =>
    runAction(check, status, async () => {
      status.idle();
      await load().catch((err) => {
        light.className = 'light down';
        summary.textContent = 'Servidor indisponível';
        throw err;
      });
    }),
  );
  toggle.addEventListener('click', () => {
    if (!envelope) return;
    details.hidden = !details.hidden;
    toggle.setAttribute('aria-expanded', String(!details.hidden));
  });
  config.addEventListener('click', () =>
    runAction(config, status, async () => {
      status.busy('Lendo a configuração do servidor…');
      const result = await ctx.bridge.request('config.get');
      configOut.textContent = JSON.stringify(result, null, 2);
      configOut.hidden = false;
      if (envelopeOk(result)) status.ok('Configuração remota lida.');
      else status.error(`Configuração remota: ${envelopeSummary(result)}`);
    }),
  );

  const node = card(
    'Servidor',
    h('p', { class: 'health' }, light, summary),
    h('div', { class: 'actions' }, check, toggle, config),
    status.node,
    details,
    configOut,
  );
  return { node, load: () => check.click() };
}

export function mount(section, ctx) {
  const cards = [appCard(ctx), systemCard(ctx), accountCard(ctx), healthCard(ctx)];
  fill(section, h('h1', { text: 'Visão geral' }), h('div', { class: 'grid' }, cards.map((c) => c.node)));
  for (const c of cards) c.load?.();
}
