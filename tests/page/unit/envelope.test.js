import { test } from 'node:test';
import assert from 'node:assert/strict';
import { envelopeError, envelopeSummary, resultError } from '../../../WebAssets/js/envelope.js';
import { devicesOf } from '../../../WebAssets/js/views/device.js';

test('envelopes are summarised with the text the user needs', () => {
  const cases = [
    ['no answer', { error: 'WinHttpSendRequest failed: timeout', ok: false, status: 0 }, 'falhou · sem resposta · WinHttpSendRequest failed: timeout'],
    ['success', { devices: [], ok: true, status: 200 }, 'ok · HTTP 200'],
    ['not signed in', { error: 'not signed in', ok: false, status: 401 }, 'falhou · HTTP 401 · not signed in'],
    ['HTML error page', { ok: false, raw: '<html>Bad gateway', status: 502 }, 'falhou · HTTP 502 · o servidor respondeu com algo que não é JSON'],
    ['404 without body', { ok: false, status: 404 }, 'falhou · HTTP 404'],
    ['backend says ok false on 200', { error: 'quota exceeded', ok: false, status: 200 }, 'falhou · HTTP 200 · quota exceeded'],
    ['status 0 and no text', { ok: false, status: 0 }, 'falhou · sem resposta · pedido falhou'],
    ['"ok" replaced by a non-boolean', { ok: 'yes', status: 200 }, 'falhou · HTTP 200'],
    ['body claims ok on a server error', { ok: true, status: 500 }, 'falhou · HTTP 500'],
    ['body claims ok with no answer', { ok: true, status: 0 }, 'falhou · sem resposta · pedido falhou'],
    ['status replaced by a non-number', { ok: true, status: 'fine' }, 'ok'],
    ['not an object', null, 'falhou · sem resposta · resposta inválida do aplicativo'],
  ];
  for (const [what, envelope, expected] of cases) {
    assert.equal(envelopeSummary(envelope), expected, what);
  }
});

test('a non-text "error" member is not shown as if it were text', () => {
  assert.equal(envelopeError({ error: { code: 7 }, ok: false, status: 400 }), 'HTTP 400');
});

test('refusals show their message first, then their error', () => {
  const cases = [
    [{ error: 'device_not_registered', message: 'Registre este dispositivo antes de enviar o inventário.', ok: false }, 'Registre este dispositivo antes de enviar o inventário.'],
    [{ error: 'invalid email or password', ok: false }, 'invalid email or password'],
    [{ error: 'o servidor nao devolveu um token de sessao', ok: false }, 'o servidor nao devolveu um token de sessao'],
    [{ ok: false }, 'pedido falhou'],
    ['text', 'resposta inválida do aplicativo'],
  ];
  for (const [result, expected] of cases) assert.equal(resultError(result), expected);
});

test('the device list is found in the shapes a backend may answer with', () => {
  const a = { device_id: 'dev_1' };
  const cases = [
    ['array body', { body: [a], ok: true, status: 200 }, [a]],
    ['"devices" member', { count: 1, devices: [a], ok: true, status: 200 }, [a]],
    ['other array member', { items: [a], ok: true, status: 200 }, [a]],
    ['nothing listed', { ok: true, status: 200 }, []],
    ['body that is not a list', { body: 'none', ok: true, status: 200 }, []],
  ];
  for (const [what, envelope, expected] of cases) assert.deepEqual(devicesOf(envelope), expected, what);
});
