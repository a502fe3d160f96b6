import { test, describe, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startHarness, posted, card, screenshotPath } from './harness.js';
import { machine } from '../fixtures/machine.js';

let harness;
before(async () => {
  harness = await startHarness();
});
after(() => harness?.close());

describe('overview', () => {
  test('first load fills every card from the app and the backend', async () => {
    const { page, errors } = await harness.open();
    await page.locator('.light.up').waitFor();
    const app = card(page, 'Aplicativo');
    await app.locator('dd', { hasText: '156.0.8078.129' }).waitFor();
    assert.deepEqual(await app.locator('dd').allTextContents(), [
      'Tessarine Software', '0.2.0', '156.0.8078.129', 'sim', 'https://api.tessarine.example/v1',
    ]);
    const system = card(page, 'Sistema');
    await system.locator('dd', { hasText: 'ESTUDIO-07' }).waitFor();
    const values = await system.locator('dd').allTextContents();
    assert.deepEqual(values, [
      'ESTUDIO-07', 'Windows 11 Pro 10.0.22631', '22631.3447', 'x64', 'Micro-Star International MS-7D25',
      'F.20 (2024-03-12)', '32 GiB',
    ]);
    await card(page, 'Conta e dispositivo').locator('dd', { hasText: 'Não conectado' }).waitFor();
    assert.equal(await page.locator('#brand-version').textContent(), 'versão 0.2.0');
    assert.match(await card(page, 'Servidor').locator('.health-text').textContent(), /Servidor disponível \(ok · HTTP 200\)/);
    const methods = (await posted(page)).map((r) => r.method).sort();
    assert.deepEqual(methods, ['app.info', 'auth.status', 'device.info', 'net.health', 'system.get']);
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('the health envelope and the remote configuration are shown on demand', async () => {
    const { page } = await harness.open();
    const server = card(page, 'Servidor');
    await page.locator('.light.up').waitFor();
    const details = server.locator('pre.json').first();
    assert.equal(await details.isVisible(), false);
    await server.getByRole('button', { name: 'Detalhes' }).click();
    assert.deepEqual(JSON.parse(await details.textContent()), { ok: true, service: 'tessarine-api', status: 200, uptime_s: 86400 });
    await server.getByRole('button', { name: 'Configuração remota' }).click();
    await server.locator('.status.ok', { hasText: 'Configuração remota lida.' }).waitFor();
    assert.equal(JSON.parse(await server.locator('pre.json').nth(1).textContent()).upload_interval_h, 24);
    await page.close();
  });

  test('an unreachable backend turns the light red with the transport text', async () => {
    const { page } = await harness.open({ healthDown: true });
    await page.locator('.light.down').waitFor();
    assert.equal(
      await card(page, 'Servidor').locator('.health-text').textContent(),
      'Servidor indisponível (falhou · sem resposta · WinHttpSendRequest failed: The server name or address could not be resolved)',
    );
    await page.close();
  });

  test('opened outside the app, the page says so instead of failing silently', async () => {
    const { page, errors } = await harness.open({ bridge: false });
    const banner = page.locator('#no-bridge');
    await banner.waitFor();
    assert.match(await banner.textContent(), /ponte com o aplicativo não está disponível/);
    await card(page, 'Sistema').locator('.status.error', { hasText: 'ponte com o aplicativo' }).waitFor();
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('links leave through app.openUrl and the page stays where it is', async () => {
    const { page } = await harness.open();
    const link = card(page, 'Aplicativo').getByRole('link', { name: 'https://api.tessarine.example/v1' });
    await link.click();
    await page.waitForFunction(() => window.__fakeBridge.log.some((r) => r.method === 'app.openUrl'));
    assert.deepEqual((await posted(page, 'app.openUrl')).map((r) => r.params), [{ url: 'https://api.tessarine.example/v1' }]);
    assert.match(page.url(), /\/index\.html$/);
    await page.close();
  });

  test('open logs reports the refusal of the shell', async () => {
    const { page } = await harness.open({ overrides: { 'app.openLogs': { result: { ok: false } } } });
    const app = card(page, 'Aplicativo');
    await app.getByRole('button', { name: 'Abrir pasta de logs' }).click();
    await app.locator('.status.error', { hasText: 'Não foi possível abrir a pasta de logs.' }).waitFor();
    await page.close();
  });
});

describe('account', () => {
  async function openAccount(options) {
    const opened = await harness.open(options);
    await opened.page.getByRole('tab', { name: 'Conta' }).click();
    return opened;
  }
  const login = (page) => page.locator('form', { has: page.locator('h2', { hasText: 'Entrar' }) });
  const register = (page) => page.locator('form', { has: page.locator('h2', { hasText: 'Criar conta' }) });

  test('fields are checked before anything is sent', async () => {
    const { page } = await openAccount();
    const cases = [
      ['', 'x', '#login-email-error', 'Informe o e-mail.'],
      ['ana@', 'x', '#login-email-error', 'E-mail inválido.'],
      ['ana@example.com', '', '#login-password-error', 'Informe a senha.'],
    ];
    for (const [email, password, errorId, message] of cases) {
      await page.fill('#login-email', email);
      await page.fill('#login-password', password);
      await login(page).getByRole('button', { name: 'Entrar' }).click();
      assert.equal(await page.locator(errorId).textContent(), message, `${email}/${password}`);
    }
    await page.fill('#register-email', 'novo@example.com');
    await page.fill('#register-password', 'curta');
    await page.fill('#register-confirm', 'outra');
    await register(page).getByRole('button', { name: 'Criar conta' }).click();
    assert.equal(await page.locator('#register-password-error').textContent(), 'A senha precisa de pelo menos 8 caracteres.');
    assert.equal(await page.locator('#register-confirm-error').textContent(), 'As senhas não conferem.');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'register-password');
    assert.deepEqual(await posted(page, 'auth.login'), []);
    assert.deepEqual(await posted(page, 'auth.register'), []);
    await page.close();
  });

  test('a refused sign-in shows the backend text in the form and keeps the state', async () => {
    const { page } = await openAccount();
    await page.fill('#login-email', 'ana@example.com');
    await page.fill('#login-password', 'errada');
    await login(page).getByRole('button', { name: 'Entrar' }).click();
    await login(page).locator('.status.error', { hasText: 'invalid email or password' }).waitFor();
    assert.equal(await page.locator('#sidebar-account').textContent(), 'Não conectado');
    assert.equal(await page.locator('#login-password').inputValue(), 'errada', 'nothing typed is lost');
    await page.close();
  });

  test('a sign-in updates the state everywhere, and signing out undoes it', async () => {
    const { page } = await openAccount();
    await page.fill('#login-email', ' ana@example.com ');
    await page.fill('#login-password', 'correta123');
    await login(page).getByRole('button', { name: 'Entrar' }).click();
    await page.locator('#sidebar-account', { hasText: 'Conectado: ana@example.com' }).waitFor();
    assert.deepEqual((await posted(page, 'auth.login'))[0].params, { email: 'ana@example.com', password: 'correta123' });
    assert.equal(await page.locator('#session-state').textContent(), 'Conectado como ana@example.com.');
    assert.equal(await page.locator('#login-password').inputValue(), '');
    await page.getByRole('tab', { name: 'Visão geral' }).click();
    await card(page, 'Conta e dispositivo').locator('dd', { hasText: 'Conectado como ana@example.com' }).waitFor();
    await page.getByRole('tab', { name: 'Conta' }).click();
    await page.getByRole('button', { name: 'Sair' }).click();
    await page.locator('#sidebar-account', { hasText: 'Não conectado' }).waitFor();
    assert.equal(await page.getByRole('button', { name: 'Sair' }).isVisible(), false);
    await page.close();
  });

  test('creating an account reports the backend refusal, then a success', async () => {
    const { page } = await openAccount();
    const form = register(page);
    const attempt = async (email) => {
      await page.fill('#register-email', email);
      await page.fill('#register-password', 'segredo-longo');
      await page.fill('#register-confirm', 'segredo-longo');
      await form.getByRole('button', { name: 'Criar conta' }).click();
    };
    await attempt('ana@example.com');
    await form.locator('.status.error', { hasText: 'email already registered' }).waitFor();
    await attempt('bia@example.com');
    await form.locator('.status.ok', { hasText: 'Conta criada para bia@example.com.' }).waitFor();
    assert.equal(await page.locator('#login-email').inputValue(), 'bia@example.com');
    await page.close();
  });

  test('a bridge error during sign-in is shown where it was started', async () => {
    const text = '[json.exception.type_error.302] type must be string, but is number';
    const { page } = await openAccount({ overrides: { 'auth.login': { error: text } } });
    await page.fill('#login-email', 'ana@example.com');
    await page.fill('#login-password', 'x');
    const button = login(page).getByRole('button', { name: 'Entrar' });
    await button.click();
    await login(page).locator('.status.error', { hasText: text }).waitFor();
    assert.equal(await button.isEnabled(), true);
    await page.close();
  });
});

describe('identity', () => {
  test('opening the tab reads the ten components, hashes and fingerprint, each copyable', async () => {
    const { page, errors } = await harness.open();
    await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
    await page.getByRole('tab', { name: 'Identidade' }).click();
    const { identity } = machine();
    await page.locator('.fingerprint code', { hasText: identity.fingerprint }).waitFor();
    const rows = page.locator('#identity-table tbody tr');
    assert.equal(await rows.count(), 10);
    const board = rows.filter({ hasText: 'Série da placa-mãe' });
    assert.equal(await board.getAttribute('class'), 'unusable');
    assert.match(await board.textContent(), /To be filled by O\.E\.M\..*sem valor utilizável/);
    const guid = rows.filter({ hasText: 'GUID da máquina' });
    assert.match(await guid.textContent(), new RegExp(identity.hashes.machine_guid));
    assert.equal(
      await page.locator('.note').textContent(),
      'Sem valor utilizável (hash vazio): Série da placa-mãe, ID do produto Windows.',
    );
    await page.getByRole('button', { name: 'Copiar Impressão digital' }).click();
    await page.locator('.status.ok', { hasText: 'Copiado: Impressão digital.' }).waitFor();
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), identity.fingerprint);
    assert.deepEqual(errors, []);
    await page.close();
  });
});
