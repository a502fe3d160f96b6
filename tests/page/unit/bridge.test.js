import { test, describe, beforeEach, mock } from 'node:test';
import assert from 'node:assert/strict';
import { createBridge, BridgeError, NO_BRIDGE_TEXT } from '../../../WebAssets/js/bridge.js';

// Stands in for window.chrome.webview: records what the page posts and lets
// the test push messages the way the app does (as parsed objects).
function fakeWebview() {
  const listeners = [];
  return {
    posted: [],
    postMessage(message) {
      this.posted.push(message);
    },
    addEventListener(type, listener) {
      if (type === 'message') listeners.push(listener);
    },
    push(data) {
      for (const listener of listeners) listener({ data });
    },
  };
}

const settled = (promise) =>
  promise.then((value) => ({ value }), (error) => ({ error }));

let webview;
let bridge;

beforeEach(() => {
  mock.timers.reset();
  mock.timers.enable({ apis: ['setTimeout'] });
  webview = fakeWebview();
  bridge = createBridge({ webview, timeouts: { '*': 1000, 'net.health': 5000 } });
});

describe('requests and responses', () => {
  test('posts {id, method, params} with fresh ids and resolves with the matching result', async () => {
    const info = bridge.request('app.info');
    const login = bridge.request('auth.login', { email: 'a@b.co', password: 'x' });
    assert.deepEqual(webview.posted, [
      { id: 1, method: 'app.info', params: {} },
      { id: 2, method: 'auth.login', params: { email: 'a@b.co', password: 'x' } },
    ]);
    webview.push({ id: 1, result: { name: 'Tessarine Software' } });
    webview.push({ id: 2, result: { email: 'a@b.co', ok: true } });
    assert.deepEqual(await info, { name: 'Tessarine Software' });
    assert.deepEqual(await login, { email: 'a@b.co', ok: true });
    assert.equal(bridge.pendingCount(), 0);
  });

  test('responses arriving out of order reach their own callers', async () => {
    const calls = ['system.get', 'hwid.get', 'device.info'].map((m) => bridge.request(m));
    webview.push({ id: 3, result: 'third' });
    webview.push({ id: 1, result: 'first' });
    webview.push({ id: 2, result: 'second' });
    assert.deepEqual(await Promise.all(calls), ['first', 'second', 'third']);
  });

  test('an error response rejects with the text as the app sent it', async () => {
    const call = bridge.request('inventory.collect', { updates: 'yes' });
    webview.push({ error: 'type must be boolean, but is string', id: 1 });
    const { error } = await settled(call);
    assert.ok(error instanceof BridgeError);
    assert.equal(error.message, 'type must be boolean, but is string');
    assert.equal(error.method, 'inventory.collect');
  });

  test('a result that is a falsy value still resolves', async () => {
    const call = bridge.request('x.y');
    webview.push({ id: 1, result: null });
    assert.equal(await call, null);
  });

  test('a posting failure rejects at once and leaves nothing pending', async () => {
    webview.postMessage = () => {
      throw new Error('host gone');
    };
    const { error } = await settled(bridge.request('app.info'));
    assert.match(error.message, /host gone/);
    assert.equal(bridge.pendingCount(), 0);
  });

  test('without the app bridge every request fails with a clear text', async () => {
    const offline = createBridge({ webview: undefined });
    assert.equal(offline.available, false);
    const { error } = await settled(offline.request('app.info'));
    assert.equal(error.message, NO_BRIDGE_TEXT);
  });
});

describe('time-outs', () => {
  test('a missing response becomes an error naming the method, per-method limits apply', async () => {
    const quick = settled(bridge.request('app.info'));
    const slow = settled(bridge.request('net.health'));
    mock.timers.tick(1000);
    const { error } = await quick;
    assert.match(error.message, /não respondeu a app\.info/);
    assert.equal(bridge.pendingCount(), 1, 'net.health has a longer limit');
    webview.push({ id: 2, result: { ok: true, status: 200 } });
    assert.deepEqual((await slow).value, { ok: true, status: 200 });
  });

  test('a late response after the time-out is ignored', async () => {
    const call = settled(bridge.request('app.info'));
    mock.timers.tick(1000);
    await call;
    assert.doesNotThrow(() => webview.push({ id: 1, result: {} }));
    assert.equal(bridge.pendingCount(), 0);
  });
});

describe('events', () => {
  test('events reach the subscribers of their name only, until they unsubscribe', () => {
    const seen = [];
    const off = bridge.on('inventory.result', (d) => seen.push(['inv', d]));
    bridge.on('updates.result', (d) => seen.push(['upd', d]));
    webview.push({ data: { schema_version: 1 }, event: 'inventory.result' });
    webview.push({ data: { available: [] }, event: 'updates.result' });
    webview.push({ data: {}, event: 'inventory.uploaded' });
    off();
    webview.push({ data: { schema_version: 2 }, event: 'inventory.result' });
    assert.deepEqual(seen, [['inv', { schema_version: 1 }], ['upd', { available: [] }]]);
  });

  test('a failing subscriber does not keep the event from the others', () => {
    const seen = [];
    const error = mock.method(console, 'error', () => {});
    bridge.on('updates.result', () => {
      throw new Error('boom');
    });
    bridge.on('updates.result', (d) => seen.push(d));
    webview.push({ data: 7, event: 'updates.result' });
    assert.deepEqual(seen, [7]);
    assert.equal(error.mock.callCount(), 1);
    error.mock.restore();
  });
});

describe('malformed messages are ignored', () => {
  const junk = [
    ['null', null],
    ['a number', 42],
    ['text that is not JSON', 'not json {'],
    ['an array', [{ id: 1, result: 'wrong' }]],
    ['a response for an unknown id', { id: 99, result: 'stray' }],
    ['a response with a string id', { id: '1', result: 'wrong type' }],
    ['an object with neither result nor error', { id: 1 }],
    ['an event whose name is not text', { data: {}, event: 5 }],
    ['the app\'s malformed-request answer', { error: 'malformed request', id: null }],
    ['no data at all', undefined],
  ];

  test('none of them settles the pending request or throws', async () => {
    const call = bridge.request('app.info');
    for (const [what, data] of junk) {
      assert.doesNotThrow(() => webview.push(data), what);
    }
    assert.equal(bridge.pendingCount(), 1);
    webview.push({ id: 1, result: 'real' });
    assert.equal(await call, 'real');
  });

  test('a response sent as JSON text is still understood', async () => {
    const call = bridge.request('app.info');
    webview.push(JSON.stringify({ id: 1, result: { version: '0.2.0' } }));
    assert.deepEqual(await call, { version: '0.2.0' });
  });
});

describe('tasks answered by an event', () => {
  test('an accepted task resolves with the event data, even when the event beats the response', async () => {
    const run = bridge.task('inventory.collect', { hwid: true }, 'inventory.result');
    webview.push({ data: { schema_version: 1 }, event: 'inventory.result' });
    webview.push({ id: 1, result: { accepted: true } });
    assert.deepEqual(await run, { result: { accepted: true }, data: { schema_version: 1 } });
  });

  test('a refusal comes back as the result, and its wait is dropped', async () => {
    const seen = [];
    const refusal = { error: 'device_not_registered', message: 'Registre este dispositivo antes de enviar o inventário.', ok: false };
    const run = bridge.task('inventory.upload', {}, 'inventory.uploaded');
    webview.push({ id: 1, result: refusal });
    assert.deepEqual(await run, { result: refusal });
    bridge.on('inventory.uploaded', (d) => seen.push(d));
    webview.push({ data: { ok: true }, event: 'inventory.uploaded' });
    assert.deepEqual(seen, [{ ok: true }]);
    // The dropped wait must not fire its time-out later as a stray rejection.
    let stray = null;
    process.once('unhandledRejection', (reason) => { stray = reason; });
    mock.timers.tick(60 * 60 * 1000);
    await new Promise((resolve) => setImmediate(resolve));
    assert.equal(stray, null);
  });

  test('a bridge error rejects the task', async () => {
    const run = settled(bridge.task('updates.search', { online: 1 }, 'updates.result'));
    webview.push({ error: 'type must be boolean, but is number', id: 1 });
    assert.equal((await run).error.message, 'type must be boolean, but is number');
  });

  test('an event that never comes rejects after its own limit', async () => {
    const run = settled(bridge.task('updates.search', {}, 'updates.result', 30000));
    webview.push({ id: 1, result: { accepted: true } });
    await Promise.resolve();
    await Promise.resolve();
    mock.timers.tick(30000);
    assert.match((await run).error.message, /não enviou updates\.result/);
  });
});
