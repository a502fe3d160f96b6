import { createBridge, NO_BRIDGE_TEXT } from './bridge.js';
import { createStore } from './store.js';
import { isObject } from './envelope.js';
import * as overview from './views/overview.js';
import * as hardware from './views/hardware.js';
import * as drivers from './views/drivers.js';
import * as updates from './views/updates.js';
import * as identity from './views/identity.js';
import * as account from './views/account.js';
import * as device from './views/device.js';

const bridge = createBridge({ webview: window.chrome?.webview });
const store = createStore();

if (!bridge.available) {
  const banner = document.getElementById('no-bridge');
  banner.textContent = NO_BRIDGE_TEXT;
  banner.hidden = false;
}

// Events can arrive whoever started the work; the last one wins.
bridge.on('inventory.result', (data) => {
  if (isObject(data)) store.set('inventory', data);
});
bridge.on('updates.result', (data) => {
  if (isObject(data)) store.set('updates', { ...data, source: 'search' });
});

// Sign-in state and device binding are read again after every account or
// device action, so all views show what the app holds now.
async function refreshAccount() {
  const [auth, binding] = await Promise.allSettled([
    bridge.request('auth.status'),
    bridge.request('device.info'),
  ]);
  store.set('auth', auth.status === 'fulfilled' && isObject(auth.value) ? auth.value : { error: auth.reason?.message });
  store.set('device', binding.status === 'fulfilled' && isObject(binding.value) ? binding.value : { error: binding.reason?.message });
}

// Links leave the page only through the app, which opens them in the
// system's browser; the page itself never navigates away.
async function openExternal(url) {
  const result = await bridge.request('app.openUrl', { url });
  if (!isObject(result) || result.ok !== true) {
    throw new Error(isObject(result) && typeof result.error === 'string' ? result.error : 'Não foi possível abrir o link.');
  }
}

const ctx = { bridge, store, refreshAccount, openExternal };

const views = { overview, hardware, drivers, updates, identity, account, device };
const shown = new Set();
const tabs = [...document.querySelectorAll('[role="tab"]')];

function select(tab, { focus = false } = {}) {
  for (const other of tabs) {
    const active = other === tab;
    other.setAttribute('aria-selected', String(active));
    other.tabIndex = active ? 0 : -1;
    document.getElementById(other.getAttribute('aria-controls')).hidden = !active;
  }
  if (focus) tab.focus();
  const name = tab.id.replace('tab-', '');
  if (!shown.has(name)) {
    shown.add(name);
    views[name].shown?.(ctx);
  }
}

tabs.forEach((tab, index) => {
  tab.addEventListener('click', () => select(tab));
  tab.addEventListener('keydown', (event) => {
    const step = { ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1 }[event.key];
    if (step) {
      event.preventDefault();
      select(tabs[(index + step + tabs.length) % tabs.length], { focus: true });
    } else if (event.key === 'Home' || event.key === 'End') {
      event.preventDefault();
      select(tabs[event.key === 'Home' ? 0 : tabs.length - 1], { focus: true });
    }
  });
});

for (const [name, view] of Object.entries(views)) {
  view.mount(document.getElementById(`view-${name}`), ctx);
}

store.watch('auth', (auth) => {
  document.getElementById('sidebar-account').textContent =
    auth?.logged_in === true ? `Conectado: ${auth.email}` : 'Não conectado';
});

select(tabs[0]);
refreshAccount();
