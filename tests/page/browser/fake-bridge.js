// The app's side of the bridge, simulated inside the browser before the page
// loads: a window.chrome.webview that answers every method with results in
// the app's own shapes and pushes the three events after a delay. It keeps
// the sign-in and the device binding as the app does, so flows chain.
//
// Runs in the page: everything it needs comes in through `setup`.
export function installFakeBridge(setup) {
  const { machine, options } = setup;
  const state = {
    users: { 'ana@example.com': 'correta123' },
    email: options.signedInAs ?? '',
    deviceId: options.deviceId ?? '',
    label: options.label ?? 'Device',
    nextDevice: 41,
  };
  const listeners = new Set();
  const held = [];
  const log = [];
  const BASE_URL = 'https://api.tessarine.example/v1';
  const NOT_SIGNED_IN = { error: 'not signed in', ok: false, status: 401 };

  const typeName = (v) => (v === null ? 'null' : Array.isArray(v) ? 'array' : typeof v === 'number' ? 'number' : typeof v);
  class TypeError302 extends Error {}
  // The app reads params with defaults; a wrong type fails with the JSON
  // library's own text, which the page receives unchanged.
  function param(params, key, type, fallback) {
    if (typeName(params) !== 'object') throw new TypeError302(`[json.exception.type_error.306] cannot use value() with ${typeName(params)}`);
    if (!(key in params)) return fallback;
    if (typeName(params[key]) !== type) throw new TypeError302(`[json.exception.type_error.302] type must be ${type}, but is ${typeName(params[key])}`);
    return params[key];
  }

  function deliver(message) {
    for (const listener of [...listeners]) listener({ data: JSON.parse(JSON.stringify(message)) });
  }

  function emit(event, data) {
    const message = { data, event };
    if (options.holdEvents) held.push(message);
    else setTimeout(() => deliver(message), options.eventDelayMs ?? 150);
  }

  function inventory({ updates, hwid }) {
    const identity = hwid ? machine.identity : machine.emptyIdentity;
    return {
      component_hashes: identity.hashes,
      cpu: machine.cpu,
      disks: machine.disks,
      drivers: machine.drivers,
      fingerprint: identity.fingerprint,
      generated_at: '2026-11-02T09:41:07',
      gpus: machine.gpus,
      hwid: hwid ? machine.hwid : machine.emptyHwid,
      schema_version: 1,
      system: machine.system,
      updates: {
        available: [],
        important_count: 0,
        installed: updates ? machine.installedUpdates : [],
        last_search: updates ? '2026-11-02T09:41:09' : '',
      },
    };
  }

  const methods = {
    'app.info': () => ({ api_base_url: BASE_URL, name: 'Tessarine Software', version: '0.2.0', webview2: '156.0.8078.129', webview_ready: true }),
    'system.get': () => machine.system,
    'hwid.get': () => ({ ...machine.hwid, component_hashes: machine.identity.hashes, local_fingerprint: machine.identity.fingerprint }),
    'inventory.collect': (p) => {
      const flags = { updates: param(p, 'updates', 'boolean', false), hwid: param(p, 'hwid', 'boolean', true) };
      emit('inventory.result', inventory(flags));
      return { accepted: true };
    },
    'updates.search': (p) => {
      const online = param(p, 'online', 'boolean', true);
      const available = online ? machine.availableUpdates : [];
      const important = available.filter((u) => u.mandatory || ['critical', 'important'].includes(u.severity.toLowerCase())).length;
      emit('updates.result', { available, important_count: important, installed: machine.installedUpdates, last_search: '2026-11-02T09:45:30' });
      return { accepted: true };
    },
    'net.health': () => options.healthDown
      ? { error: 'WinHttpSendRequest failed: The server name or address could not be resolved', ok: false, status: 0 }
      : { ok: true, service: 'tessarine-api', status: 200, uptime_s: 86400 },
    'config.get': () => ({ min_app_version: '0.2.0', ok: true, status: 200, upload_interval_h: 24 }),
    'auth.register': (p) => {
      const email = param(p, 'email', 'string', '');
      const password = param(p, 'password', 'string', '');
      if (email in state.users) return { error: 'email already registered', ok: false };
      state.users[email] = password;
      return { email, ok: true };
    },
    'auth.login': (p) => {
      const email = param(p, 'email', 'string', '');
      const password = param(p, 'password', 'string', '');
      if (state.users[email] !== password) return { error: 'invalid email or password', ok: false };
      state.email = email;
      return { email, ok: true };
    },
    'auth.logout': () => {
      state.email = '';
      return { ok: true };
    },
    'auth.status': () => ({ email: state.email, logged_in: state.email !== '' }),
    'device.info': () => ({ device_id: state.deviceId, email: state.email, label: state.label, ok: true }),
    'device.register': (p) => {
      const label = param(p, 'label', 'string', state.label);
      if (!state.email) return NOT_SIGNED_IN;
      state.deviceId = `dev_${state.nextDevice++}`;
      if (label) state.label = label;
      return { device_id: state.deviceId, label: state.label, match: false, ok: true, status: 201 };
    },
    'device.list': () => {
      if (!state.email) return NOT_SIGNED_IN;
      const devices = [{ device_id: 'dev_7', label: 'Notebook <b>antigo</b>', last_upload: '2026-10-30T18:02:11' }];
      if (state.deviceId) devices.push({ device_id: state.deviceId, label: state.label, last_upload: null });
      return { devices, ok: true, status: 200 };
    },
    'inventory.upload': (p) => {
      const deviceId = param(p, 'device_id', 'string', '') || state.deviceId;
      if (!deviceId) return { error: 'device_not_registered', message: 'Registre este dispositivo antes de enviar o inventário.', ok: false };
      emit('inventory.uploaded', state.email ? { inventory_id: 'inv_9001', ok: true, status: 201 } : NOT_SIGNED_IN);
      return { accepted: true };
    },
    'app.openLogs': () => ({ ok: true }),
    'app.openUrl': (p) => {
      const url = param(p, 'url', 'string', '');
      if (!url.startsWith('https://') && !url.startsWith('http://')) return { error: 'only http(s) URLs are allowed', ok: false };
      return { ok: true };
    },
  };

  function answer(request) {
    if (typeName(request) !== 'object') return { error: 'malformed request', id: null };
    const id = 'id' in request ? request.id : null;
    const method = typeof request.method === 'string' ? request.method : '';
    const params = 'params' in request ? request.params : {};
    const override = options.overrides?.[method];
    if (override) return { id, ...override };
    const handler = methods[method];
    if (!handler) return { error: `unknown method: ${method}`, id };
    try {
      return { id, result: handler(params) };
    } catch (err) {
      return { error: err.message, id };
    }
  }

  window.chrome = window.chrome ?? {};
  window.chrome.webview = {
    postMessage(message) {
      log.push(message);
      const method = message?.method;
      if (options.silent?.includes(method)) return;
      const response = answer(message);
      setTimeout(() => deliver(response), options.responseDelayMs ?? 5);
    },
    addEventListener(type, listener) {
      if (type === 'message') listeners.add(listener);
    },
    removeEventListener(type, listener) {
      listeners.delete(listener);
    },
  };

  // Handles for the tests: what the page sent, and held events to let go.
  window.__fakeBridge = {
    log,
    state,
    heldEvents: () => held.map((m) => m.event),
    push(message) {
      deliver(message);
    },
    release(name) {
      const index = held.findIndex((m) => m.event === name);
      if (index < 0) return false;
      deliver(held.splice(index, 1)[0]);
      return true;
    },
  };
}
