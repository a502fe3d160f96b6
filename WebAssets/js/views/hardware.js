import {
  h, facts, fill, statusLine, runAction, formatBytes, formatMhz, formatNumber, formatTimestamp,
  hex4, list, text, DASH,
} from '../ui.js';
import { isObject } from '../envelope.js';

const HEALTH = {
  Healthy: ['good', 'Saudável'],
  Warning: ['warn', 'Alerta'],
  Unavailable: ['off', 'Indisponível'],
};

function badge(kind, label) {
  return h('span', { class: `badge ${kind}`, text: label });
}

// A size drawn against the largest of its kind, so differences read at a glance.
function bar(value, max, label) {
  const share = max > 0 && value > 0 ? Math.max(2, Math.round((value / max) * 100)) : 0;
  const fillNode = h('span', { class: 'bar-fill' });
  fillNode.style.width = `${share}%`;
  return h('span', { class: 'bar', role: 'img', 'aria-label': label }, fillNode);
}

function cpuCard(cpu) {
  const info = facts([
    ['name', 'Processador'],
    ['vendor', 'Fabricante'],
    ['architecture', 'Arquitetura'],
    ['cores', 'Núcleos / threads'],
    ['clocks', 'Clock base / máximo / atual'],
    ['caches', 'Cache L1 / L2 / L3'],
    ['signature', 'Família / modelo / stepping'],
  ]);
  const kb = (value) => (typeof value === 'number' && value > 0 ? formatBytes(value * 1024) : DASH);
  info.set({
    name: cpu.name,
    vendor: cpu.vendor,
    architecture: cpu.architecture,
    cores: `${formatNumber(cpu.physical_cores)} / ${formatNumber(cpu.logical_cores)}`,
    clocks: [cpu.base_clock_mhz, cpu.max_clock_mhz, cpu.current_clock_mhz].map(formatMhz).join(' / '),
    caches: [cpu.l1_cache_kb, cpu.l2_cache_kb, cpu.l3_cache_kb].map(kb).join(' / '),
    signature: [cpu.family, cpu.model, cpu.stepping].map(formatNumber).join(' / '),
  });
  const features = typeof cpu.features === 'string' ? cpu.features.split(',').filter(Boolean) : [];
  const chips = features.length
    ? h('ul', { class: 'chips', 'aria-label': 'Recursos do processador' }, features.map((f) => h('li', { text: f })))
    : h('p', { class: 'muted', text: 'Nenhum recurso informado.' });
  return h('article', { class: 'card wide' }, h('h2', { text: 'Processador' }), info.root, h('h3', { text: 'Recursos' }), chips);
}

function gpuCards(gpus) {
  if (!gpus.length) return [h('p', { class: 'muted', text: 'Nenhum adaptador gráfico encontrado.' })];
  const maxVram = Math.max(...gpus.map((g) => (typeof g.vram_bytes === 'number' ? g.vram_bytes : 0)));
  return gpus.map((gpu) => {
    const info = facts([
      ['vendor', 'Fabricante'],
      ['vram', 'Memória de vídeo'],
      ['driver', 'Driver'],
      ['date', 'Data do driver'],
      ['pci', 'ID PCI'],
    ]);
    info.set({
      vendor: gpu.vendor,
      vram: formatBytes(gpu.vram_bytes),
      driver: gpu.driver_version,
      date: gpu.driver_date,
      pci: `${hex4(gpu.vendor_id)}:${hex4(gpu.device_id)}`,
    });
    const kind = gpu.is_integrated === true ? badge('off', 'Integrada') : badge('info', 'Dedicada');
    return h(
      'article',
      { class: 'card' },
      h('h3', { class: 'card-title' }, h('span', { text: text(gpu.name) }), kind),
      bar(gpu.vram_bytes, maxVram, `Memória de vídeo: ${formatBytes(gpu.vram_bytes)}`),
      info.root,
    );
  });
}

function diskCards(disks) {
  if (!disks.length) return [h('p', { class: 'muted', text: 'Nenhum disco encontrado.' })];
  const maxSize = Math.max(...disks.map((d) => (typeof d.size_bytes === 'number' ? d.size_bytes : 0)));
  return disks.map((disk) => {
    const [kind, label] = Object.hasOwn(HEALTH, disk.health_text) ? HEALTH[disk.health_text] : ['off', text(disk.health_text)];
    const info = facts([
      ['size', 'Capacidade'],
      ['bus', 'Barramento'],
      ['type', 'Tipo'],
      ['firmware', 'Firmware'],
      ['serial', 'Número de série'],
    ]);
    info.set({
      size: formatBytes(disk.size_bytes),
      bus: disk.bus_type,
      type: disk.is_ssd === true ? 'SSD' : 'Disco rígido',
      firmware: disk.firmware,
      serial: disk.serial,
    });
    return h(
      'article',
      { class: 'card disk' },
      h('h3', { class: 'card-title' }, h('span', { text: text(disk.model) }), badge(kind, label)),
      bar(disk.size_bytes, maxSize, `Capacidade: ${formatBytes(disk.size_bytes)}`),
      info.root,
    );
  });
}

export function mount(section, ctx) {
  const status = statusLine();
  const withUpdates = h('input', { type: 'checkbox', id: 'collect-updates' });
  const withHwid = h('input', { type: 'checkbox', id: 'collect-hwid', checked: true });
  const collect = h('button', { type: 'button', class: 'primary', text: 'Coletar inventário' });
  const last = h('p', { class: 'muted', text: 'Nenhum inventário coletado ainda.' });
  const cpu = h('div', { class: 'slot' });
  const gpus = h('div', { class: 'grid' });
  const disks = h('div', { class: 'grid' });

  collect.addEventListener('click', () =>
    runAction(collect, status, async () => {
      status.busy('Coletando inventário…', { elapsed: true });
      const { result } = await ctx.bridge.task(
        'inventory.collect',
        { updates: withUpdates.checked, hwid: withHwid.checked },
        'inventory.result',
      );
      if (result?.accepted !== true) throw new Error('O aplicativo não aceitou a coleta.');
      status.ok('Inventário coletado.');
    }),
  );

  ctx.store.watch('inventory', (inv) => {
    last.textContent = `Última coleta: ${formatTimestamp(inv.generated_at)}`;
    fill(cpu, cpuCard(isObject(inv.cpu) ? inv.cpu : {}));
    fill(gpus, gpuCards(list(inv.gpus).filter(isObject)));
    fill(disks, diskCards(list(inv.disks).filter(isObject)));
  });

  fill(
    section,
    h('h1', { text: 'Hardware' }),
    h(
      'div',
      { class: 'toolbar' },
      collect,
      h('label', { class: 'check' }, withUpdates, 'Incluir atualizações instaladas'),
      h('label', { class: 'check' }, withHwid, 'Incluir identidade do hardware'),
    ),
    status.node,
    last,
    cpu,
    h('h2', { text: 'Adaptadores gráficos' }),
    gpus,
    h('h2', { text: 'Discos' }),
    disks,
  );
}
