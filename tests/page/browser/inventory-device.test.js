import { test, describe, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startHarness, posted, card, screenshotPath } from './harness.js';

let harness;
before(async () => {
  harness = await startHarness();
});
after(() => harness?.close());

const release = (page, name) => page.evaluate((n) => window.__fakeBridge.release(n), name);
const heldEvents = (page) => page.evaluate(() => window.__fakeBridge.heldEvents());

async function searchUpdates(page) {
  await page.getByRole('tab', { name: 'Atualizações' }).click();
  await page.getByRole('button', { name: 'Procurar atualizações' }).click();
  await page.locator('#view-updates .status.ok').waitFor();
}

async function collect(page) {
  await page.getByRole('tab', { name: 'Hardware' }).click();
  await page.getByRole('button', { name: 'Coletar inventário' }).click();
  await page.locator('.chips li').first().waitFor();
}

describe('hardware', () => {
  test('collect shows progress while the event is awaited, then the hardware', async () => {
    const { page, errors } = await harness.open({ holdEvents: true });
    await page.getByRole('tab', { name: 'Hardware' }).click();
    await page.check('#collect-updates');
    const button = page.getByRole('button', { name: 'Coletar inventário' });
    await button.click();
    await page.waitForFunction(() => window.__fakeBridge.heldEvents().includes('inventory.result'));
    assert.equal(await button.isDisabled(), true);
    assert.match(await page.locator('#view-hardware .status').textContent(), /^Coletando inventário… \d+ s$/);
    assert.deepEqual((await posted(page, 'inventory.collect'))[0].params, { updates: true, hwid: true });

    await release(page, 'inventory.result');
    await page.locator('#view-hardware .status.ok', { hasText: 'Inventário coletado.' }).waitFor();
    assert.equal(await button.isEnabled(), true);
    assert.equal(await page.locator('#view-hardware > p.muted').textContent(), 'Última coleta: 02/11/2026 09:41:07');
    const cpu = card(page, 'Processador');
    assert.match(await cpu.textContent(), /12th Gen Intel\(R\) Core\(TM\) i9-12900K.*16 \/ 24.*2,1 GHz \/ 5,4 GHz \/ 3,4 GHz.*1 MiB \/ 14 MiB \/ 30 MiB/);
    assert.deepEqual(await cpu.locator('.chips li').allTextContents(), ['SSE2', 'SSE4.2', 'AVX', 'AVX2', 'AES', 'SHA', 'FMA3', 'BMI2', 'VT-x']);

    const gpus = page.locator('#view-hardware .card', { has: page.locator('dt', { hasText: 'Memória de vídeo' }) });
    assert.equal(await gpus.count(), 2);
    assert.match(await gpus.nth(0).textContent(), /NVIDIA GeForce RTX 4090Dedicada.*24 GiB.*31\.0\.15\.5222.*10DE:2684/);
    assert.match(await gpus.nth(1).textContent(), /Integrada.*128 MiB.*8086:A780/);

    const disks = page.locator('#view-hardware .card.disk');
    const diskFacts = [];
    for (let i = 0; i < 3; i += 1) {
      const d = disks.nth(i);
      diskFacts.push([await d.locator('.badge').textContent(), await d.locator('dd').first().textContent(), await d.locator('.bar-fill').evaluate((n) => n.style.width)]);
    }
    assert.deepEqual(diskFacts, [['Saudável', '931,5 GiB', '25%'], ['Alerta', '3,6 TiB', '100%'], ['Indisponível', '57,3 GiB', '2%']]);

    // The same collection carried its installed updates.
    await page.getByRole('tab', { name: 'Atualizações' }).click();
    assert.match(await page.locator('#view-updates > p.muted').textContent(), /\(inventário\).*2 instaladas/);
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('a refused collection is shown on its own line and frees the button', async () => {
    const text = '[json.exception.type_error.302] type must be boolean, but is string';
    const { page } = await harness.open({ overrides: { 'inventory.collect': { error: text } } });
    await page.getByRole('tab', { name: 'Hardware' }).click();
    const button = page.getByRole('button', { name: 'Coletar inventário' });
    await button.click();
    await page.locator('#view-hardware .status.error', { hasText: text }).waitFor();
    assert.equal(await button.isEnabled(), true);
    await page.close();
  });
});

describe('drivers', () => {
  test('a thousand drivers: search, filters and sorting narrow and order the table', async () => {
    const { page, errors } = await harness.open();
    await collect(page);
    await page.getByRole('tab', { name: 'Drivers' }).click();
    const rows = page.locator('#driver-table tbody tr');
    const count = page.locator('#view-drivers p[role="status"]');
    assert.equal(await rows.count(), 1000);
    assert.equal(await count.textContent(), '1000 de 1000 drivers · 3 com problemas');

    const cases = [
      [{ problems: true }, '', ['Código 43', 'Código 28', 'Código 10']],
      [{ problems: true, important: true }, '', ['Código 10']],
      [{}, 'realtek', ['Nenhum']],
      [{ important: true }, 'intel', ['Nenhum', 'Nenhum', 'Código 10']],
    ];
    for (const [filters, search, problems] of cases) {
      await page.setChecked('#driver-problems', Boolean(filters.problems));
      await page.setChecked('#driver-important', Boolean(filters.important));
      await page.fill('#driver-search', search);
      if (problems.length === 3 && !search) {
        // Sort by problem code, highest first.
        await page.getByRole('button', { name: 'Problema' }).click();
        await page.getByRole('button', { name: 'Problema' }).click();
        assert.equal(await page.locator('th', { hasText: 'Problema' }).getAttribute('aria-sort'), 'descending');
      }
      const shown = await rows.locator('td:last-child').allTextContents();
      if (!filters.problems) shown.sort();
      const expected = filters.problems ? problems : [...problems].sort();
      assert.deepEqual(shown, expected, JSON.stringify({ filters, search }));
      assert.match(await count.textContent(), new RegExp(`^${problems.length} de 1000 drivers`));
    }

    // Device names are text, even when they look like markup.
    await page.fill('#driver-search', 'usb audio');
    await page.setChecked('#driver-important', false);
    assert.equal(await rows.locator('td').first().textContent(), 'USB Audio Device <img src=x onerror=alert(1)>');
    assert.equal(await page.locator('#driver-table img').count(), 0);
    assert.deepEqual(errors, []);
    await page.close();
  });
});

describe('updates', () => {
  test('an online search shows progress, then the available updates and the important count', async () => {
    const { page } = await harness.open({ holdEvents: true });
    await page.getByRole('tab', { name: 'Atualizações' }).click();
    const button = page.getByRole('button', { name: 'Procurar atualizações' });
    await button.click();
    await page.waitForFunction(() => window.__fakeBridge.heldEvents().includes('updates.result'));
    assert.equal(await button.isDisabled(), true);
    assert.match(await page.locator('#view-updates .status').textContent(), /^Procurando atualizações… \d+ s$/);
    await release(page, 'updates.result');
    await page.locator('#view-updates .status.ok').waitFor();
    assert.equal(
      await page.locator('#view-updates > p.muted').textContent(),
      'Última busca: 02/11/2026 09:45:30 (busca) · 3 disponíveis · 2 importantes · 2 instaladas',
    );
    const severities = await page.locator('#view-updates table').first().locator('tbody tr td:nth-child(3)').allTextContents();
    assert.deepEqual(severities, ['Critical', 'Moderate', 'Unspecified']);
    assert.deepEqual((await posted(page, 'updates.search'))[0].params, { online: true });
    await page.close();
  });
});

describe('device', () => {
  async function openDevice(options) {
    const opened = await harness.open(options);
    await opened.page.getByRole('tab', { name: 'Dispositivo' }).click();
    return opened;
  }

  test('upload without a registered device shows the app\'s message and waits for nothing', async () => {
    const { page } = await openDevice({ holdEvents: true });
    const upload = card(page, 'Enviar inventário');
    const button = upload.getByRole('button', { name: 'Enviar inventário' });
    await button.click();
    await upload.locator('.status.error', { hasText: 'Registre este dispositivo antes de enviar o inventário.' }).waitFor();
    assert.equal(await button.isEnabled(), true);
    assert.deepEqual(await heldEvents(page), []);
    await page.close();
  });

  const uploads = [
    ['signed in', { signedInAs: 'ana@example.com' }, ['enviado', '201', '—'], 'Inventário enviado.'],
    ['signed out', {}, ['falhou', '401', 'not signed in'], 'Envio falhou: not signed in'],
  ];
  for (const [what, session, facts, message] of uploads) {
    test(`upload of a registered device, ${what}: progress, then the envelope summarised`, async () => {
      const { page } = await openDevice({ holdEvents: true, deviceId: 'dev_7', ...session });
      const upload = card(page, 'Enviar inventário');
      const button = upload.getByRole('button', { name: 'Enviar inventário' });
      await button.click();
      await page.waitForFunction(() => window.__fakeBridge.heldEvents().includes('inventory.uploaded'));
      assert.equal(await button.isDisabled(), true);
      assert.match(await upload.locator('.status').textContent(), /Coletando e enviando o inventário… \d+ s/);
      await release(page, 'inventory.uploaded');
      await upload.locator('.status', { hasText: message }).waitFor();
      assert.deepEqual(await upload.locator('dd').allTextContents(), facts);
      assert.equal(await button.isEnabled(), true);
      await page.close();
    });
  }

  test('registering needs a sign-in; once signed in it binds the device and the list marks it', async () => {
    const { page } = await openDevice();
    const binding = card(page, 'Este dispositivo');
    await page.fill('#device-label', '  Estúdio  ');
    await binding.getByRole('button', { name: 'Registrar dispositivo' }).click();
    await binding.locator('.status.error', { hasText: 'not signed in' }).waitFor();
    const list = card(page, 'Meus dispositivos');
    await list.getByRole('button', { name: 'Listar meus dispositivos' }).click();
    await list.locator('.status.error', { hasText: 'not signed in' }).waitFor();

    await page.evaluate(() => { window.__fakeBridge.state.email = 'ana@example.com'; });
    await binding.getByRole('button', { name: 'Registrar dispositivo' }).click();
    await binding.locator('.status.ok', { hasText: 'Dispositivo registrado: dev_41 (Estúdio).' }).waitFor();
    assert.deepEqual((await posted(page, 'device.register')).map((r) => r.params), [{ label: 'Estúdio' }, { label: 'Estúdio' }]);
    await binding.locator('dd', { hasText: 'dev_41' }).waitFor();

    await list.getByRole('button', { name: 'Listar meus dispositivos' }).click();
    const rows = list.locator('#device-table tbody tr');
    await rows.nth(1).waitFor();
    assert.equal(await rows.nth(0).locator('td').first().textContent(), 'Notebook <b>antigo</b>');
    assert.equal(await list.locator('b').count(), 0);
    assert.equal(await rows.nth(1).getAttribute('class'), 'current');
    assert.match(await rows.nth(1).textContent(), /Estúdioeste dispositivodev_41/);
    await page.close();
  });
});

describe('layout', () => {
  const sizes = [
    { width: 1280, height: 800 },
    { width: 900, height: 600 },
  ];
  for (const viewport of sizes) {
    test(`readable at ${viewport.width}×${viewport.height}: nothing overflows sideways; screenshots saved`, async () => {
      const { page } = await harness.open({ viewport, signedInAs: 'ana@example.com', deviceId: 'dev_7' });
      await page.locator('.light.up').waitFor();
      await card(page, 'Sistema').locator('dd', { hasText: 'ESTUDIO-07' }).waitFor();
      const shots = [['overview', null], ['hardware', collect], ['drivers', null], ['updates', searchUpdates], ['identity', null], ['account', null], ['device', null]];
      for (const [name, prepare] of shots) {
        if (prepare) await prepare(page);
        await page.locator(`#tab-${name}`).click();
        if (name === 'identity') await page.locator('.fingerprint code').waitFor();
        const overflow = await page.evaluate(() => {
          const main = document.querySelector('main');
          return { page: document.documentElement.scrollWidth - innerWidth, main: main.scrollWidth - main.clientWidth };
        });
        assert.deepEqual(overflow, { page: 0, main: 0 }, name);
        await page.screenshot({ path: screenshotPath(`${name}-${viewport.width}x${viewport.height}`) });
      }
      await page.close();
    });
  }

  test('the tabs are reachable by keyboard and show where the focus is', async () => {
    const { page } = await harness.open();
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'tab-overview');
    await page.keyboard.press('ArrowDown');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'tab-hardware');
    assert.equal(await page.locator('#view-hardware').isVisible(), true);
    const outline = await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle);
    assert.equal(outline, 'solid');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Coletar inventário');
    await page.close();
  });
});

describe('untrusted data', () => {
  test('odd shapes from the app or the backend never break the page', async () => {
    const { page, errors } = await harness.open({
      overrides: {
        'app.info': { result: ['not', 'an', 'object'] },
        'system.get': { result: { hostname: { nested: true }, total_ram_bytes: 'lots' } },
        'net.health': { result: 'up' },
      },
    });
    await card(page, 'Aplicativo').locator('.status.error', { hasText: 'resposta inválida do aplicativo' }).waitFor();
    await card(page, 'Sistema').locator('dd', { hasText: '{"nested":true}' }).waitFor();
    await page.locator('.light.down').waitFor();
    await page.evaluate(() => window.__fakeBridge.push({
      event: 'inventory.result',
      data: {
        generated_at: 42,
        cpu: null,
        gpus: 'none',
        disks: [null, { health_text: 'constructor', model: '<script>x</script>', size_bytes: 'big' }],
        drivers: [7, { device_name: 'Só este', has_problem: 'yes', problem_code: { x: 1 } }],
        updates: { installed: [null, { title: 'KB1', severity: 'toString' }], last_search: '' },
        hwid: { mac_addresses: [1, null], disk_serials: 'not a list' },
        component_hashes: { mac_addresses: 5 },
      },
    }));
    await page.getByRole('tab', { name: 'Hardware' }).click();
    const disk = page.locator('#view-hardware .card.disk');
    await disk.waitFor();
    assert.equal(await disk.locator('h3 span').first().textContent(), '<script>x</script>');
    assert.equal(await disk.locator('.badge').textContent(), 'constructor');
    assert.equal(await page.locator('#view-hardware > p.muted').textContent(), 'Última coleta: —');
    await page.getByRole('tab', { name: 'Drivers' }).click();
    assert.equal(await page.locator('#view-drivers p[role="status"]').textContent(), '1 de 1 drivers · 0 com problemas');
    await page.getByRole('tab', { name: 'Atualizações' }).click();
    assert.match(await page.locator('#view-updates > p.muted').textContent(), /1 instaladas/);
    assert.deepEqual(errors, []);
    await page.close();
  });
});
