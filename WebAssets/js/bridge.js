// Client side of the message bridge to the native app.
// Requests go out as {id, method, params}; each gets exactly one response
// {id, result} or {id, error}. Events {event, data} are pushed by the app when
// background work finishes and are routed by name.

export class BridgeError extends Error {
  constructor(message, method) {
    super(message);
    this.name = 'BridgeError';
    this.method = method;
  }
}

export const NO_BRIDGE_TEXT =
  'A ponte com o aplicativo não está disponível: abra esta página pelo Tessarine Software.';

// Backend calls block the app until the exchange ends: one request can take
// up to 70 s, and an authorised call up to four requests.
const SECOND = 1000;
export const DEFAULT_TIMEOUTS = {
  'system.get': 60 * SECOND,
  'hwid.get': 60 * SECOND,
  'net.health': 90 * SECOND,
  'config.get': 90 * SECOND,
  'auth.register': 90 * SECOND,
  'auth.login': 90 * SECOND,
  'device.register': 300 * SECOND,
  'device.list': 300 * SECOND,
  '*': 15 * SECOND,
};
// A full inventory or an update search may take minutes.
export const TASK_TIMEOUT = 15 * 60 * SECOND;

function isPlainObject(value) {
  return value !== null && typeof value === 'object' && !Array.isArray(value);
}

export function createBridge({ webview, timeouts = DEFAULT_TIMEOUTS, timers = globalThis } = {}) {
  const pending = new Map();
  const subscribers = new Map();
  let nextId = 1;

  function timeoutFor(method) {
    return timeouts[method] ?? timeouts['*'] ?? DEFAULT_TIMEOUTS['*'];
  }

  function settle(message) {
    const entry = pending.get(message.id);
    if (!entry) return;
    pending.delete(message.id);
    timers.clearTimeout(entry.timer);
    if ('error' in message) {
      const text = typeof message.error === 'string' ? message.error : JSON.stringify(message.error);
      entry.reject(new BridgeError(text, entry.method));
    } else {
      entry.resolve(message.result);
    }
  }

  function dispatchEvent(name, data) {
    const list = subscribers.get(name);
    if (!list) return;
    for (const handler of [...list]) {
      try {
        handler(data);
      } catch (err) {
        // One broken subscriber must not starve the others.
        console.error(`handler of ${name} failed`, err);
      }
    }
  }

  function onMessage(messageEvent) {
    let message = messageEvent?.data;
    if (typeof message === 'string') {
      try {
        message = JSON.parse(message);
      } catch {
        return;
      }
    }
    if (!isPlainObject(message)) return;
    if (typeof message.event === 'string' && !('id' in message)) {
      dispatchEvent(message.event, message.data);
      return;
    }
    if (('result' in message || 'error' in message) && typeof message.id === 'number') {
      settle(message);
    }
  }

  if (webview) webview.addEventListener('message', onMessage);

  function request(method, params = {}) {
    if (!webview) return Promise.reject(new BridgeError(NO_BRIDGE_TEXT, method));
    const id = nextId++;
    return new Promise((resolve, reject) => {
      const ms = timeoutFor(method);
      const timer = timers.setTimeout(() => {
        pending.delete(id);
        reject(new BridgeError(`O aplicativo não respondeu a ${method} em ${Math.round(ms / SECOND)} s.`, method));
      }, ms);
      pending.set(id, { resolve, reject, timer, method });
      try {
        webview.postMessage({ id, method, params });
      } catch (err) {
        pending.delete(id);
        timers.clearTimeout(timer);
        reject(new BridgeError(`Não foi possível enviar ${method}: ${err?.message ?? err}`, method));
      }
    });
  }

  function on(name, handler) {
    if (!subscribers.has(name)) subscribers.set(name, new Set());
    subscribers.get(name).add(handler);
    return () => subscribers.get(name)?.delete(handler);
  }

  // Waits for the next event of that name; rejects after ms. cancel() drops
  // the wait without settling it.
  function waitForEvent(name, ms) {
    let off = () => {};
    let timer;
    const promise = new Promise((resolve, reject) => {
      off = on(name, (data) => {
        off();
        timers.clearTimeout(timer);
        resolve(data);
      });
      timer = timers.setTimeout(() => {
        off();
        reject(new BridgeError(`O aplicativo não enviou ${name} em ${Math.round(ms / 60000)} min.`, name));
      }, ms);
    });
    return {
      promise,
      cancel() {
        off();
        timers.clearTimeout(timer);
      },
    };
  }

  // A method that answers {"accepted": true} at once and reports through an
  // event later. The event is awaited from before the request is posted, so
  // a quick worker cannot slip past. Any other answer comes back as result
  // with no data.
  async function task(method, params, eventName, ms = TASK_TIMEOUT) {
    const wait = waitForEvent(eventName, ms);
    let result;
    try {
      result = await request(method, params);
    } catch (err) {
      wait.cancel();
      throw err;
    }
    if (!isPlainObject(result) || result.accepted !== true) {
      wait.cancel();
      return { result };
    }
    return { result, data: await wait.promise };
  }

  return { available: Boolean(webview), request, on, waitForEvent, task, pendingCount: () => pending.size };
}
