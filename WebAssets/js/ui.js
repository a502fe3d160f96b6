// Small DOM helpers. Every text from the app or the backend goes in through
// text nodes, never as markup.

import { isObject } from './envelope.js';

export { isObject };

export function h(tag, props = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(props)) {
    if (value === undefined || value === null || value === false) continue;
    if (key === 'class') node.className = value;
    else if (key === 'text') node.textContent = value;
    else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
    else if (key in node && typeof value !== 'string') node[key] = value;
    else node.setAttribute(key, value === true ? '' : value);
  }
  append(node, children);
  return node;
}

function append(node, children) {
  for (const child of children.flat()) {
    if (child === null || child === undefined || child === false) continue;
    node.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
}

export function fill(node, ...children) {
  node.replaceChildren();
  append(node, children);
  return node;
}

export const DASH = '—';

export function text(value) {
  if (value === null || value === undefined || value === '') return DASH;
  if (typeof value === 'object') return JSON.stringify(value);
  return String(value);
}

const numberFormat = new Intl.NumberFormat('pt-BR', { maximumFractionDigits: 1 });

export function formatNumber(value) {
  return typeof value === 'number' && Number.isFinite(value) ? numberFormat.format(value) : DASH;
}

export function formatBytes(bytes) {
  if (typeof bytes !== 'number' || !Number.isFinite(bytes) || bytes <= 0) return DASH;
  const units = ['B', 'KiB', 'MiB', 'GiB', 'TiB', 'PiB'];
  let value = bytes;
  let unit = 0;
  while (value >= 1024 && unit < units.length - 1) {
    value /= 1024;
    unit += 1;
  }
  return `${numberFormat.format(value)} ${units[unit]}`;
}

export function formatMhz(mhz) {
  if (typeof mhz !== 'number' || mhz <= 0) return DASH;
  return mhz >= 1000 ? `${numberFormat.format(mhz / 1000)} GHz` : `${mhz} MHz`;
}

// The app writes local times as YYYY-MM-DDTHH:MM:SS without a zone.
export function formatTimestamp(value) {
  if (typeof value !== 'string' || value === '') return DASH;
  const match = /^(\d{4})-(\d{2})-(\d{2})T(\d{2}:\d{2}:\d{2})$/.exec(value);
  return match ? `${match[3]}/${match[2]}/${match[1]} ${match[4]}` : value;
}

export function formatElapsed(ms) {
  const seconds = Math.floor(ms / 1000);
  return seconds < 60 ? `${seconds} s` : `${Math.floor(seconds / 60)} min ${seconds % 60} s`;
}

export function hex4(value) {
  return typeof value === 'number' ? value.toString(16).toUpperCase().padStart(4, '0') : DASH;
}

export function list(value) {
  return Array.isArray(value) ? value : [];
}

// A definition list of label/value pairs; values are kept as text nodes that
// can be updated in place so the layout does not move while data arrives.
export function facts(pairs) {
  const root = h('dl', { class: 'facts' });
  const cells = {};
  for (const [key, label] of pairs) {
    cells[key] = h('dd', { 'data-key': key, text: DASH });
    root.append(h('div', { class: 'fact' }, h('dt', { text: label }), cells[key]));
  }
  return {
    root,
    set(values) {
      for (const [key, value] of Object.entries(values)) {
        if (cells[key]) cells[key].textContent = text(value);
      }
    },
  };
}

// The status line under an action: idle, busy with elapsed time, done, failed.
export function statusLine() {
  const node = h('p', { class: 'status', role: 'status', 'aria-live': 'polite' });
  let ticker = null;
  const stop = () => {
    if (ticker) clearInterval(ticker);
    ticker = null;
  };
  const show = (kind, message) => {
    node.className = `status ${kind}`;
    node.textContent = message;
  };
  return {
    node,
    idle() {
      stop();
      show('', '');
    },
    busy(message, { elapsed = false } = {}) {
      stop();
      show('busy', message);
      if (elapsed) {
        const started = Date.now();
        const tick = () => show('busy', `${message} ${formatElapsed(Date.now() - started)}`);
        tick();
        ticker = setInterval(tick, 1000);
      }
    },
    ok(message) {
      stop();
      show('ok', message);
    },
    error(message) {
      stop();
      show('error', message);
    },
  };
}

// Runs one user action: its button stays disabled until the action ends, and
// any failure is shown on the action's own status line.
export async function runAction(button, status, action) {
  if (button.disabled) return;
  button.disabled = true;
  button.setAttribute('aria-busy', 'true');
  try {
    await action();
  } catch (err) {
    status.error(err?.message ? err.message : String(err));
  } finally {
    button.disabled = false;
    button.removeAttribute('aria-busy');
  }
}
