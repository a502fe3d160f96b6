// Serves WebAssets on loopback and drives Debian's Chromium through
// playwright-core, with the simulated app bridge injected before each load.
import { createServer } from 'node:http';
import { readFile, mkdir, mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { installFakeBridge } from './fake-bridge.js';
import { machine } from '../fixtures/machine.js';

const here = path.dirname(fileURLToPath(import.meta.url));
const ROOT = path.resolve(here, '../../../WebAssets');
export const ARTIFACTS = path.resolve(here, '../artifacts');

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8' };

function serve() {
  const server = createServer(async (req, res) => {
    const url = new URL(req.url, 'http://localhost');
    const file = path.resolve(ROOT, `.${decodeURIComponent(url.pathname)}`);
    if (!file.startsWith(ROOT + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      res.writeHead(200, { 'content-type': TYPES[path.extname(file)] ?? 'application/octet-stream' }).end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

export async function startHarness() {
  const server = await serve();
  const profile = await mkdtemp(path.join(tmpdir(), 'tq-page-chromium-'));
  await mkdir(ARTIFACTS, { recursive: true });
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM_PATH ?? '/usr/bin/chromium',
    headless: true,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
    ],
    viewport: { width: 1280, height: 800 },
  });
  const base = `http://127.0.0.1:${server.address().port}`;

  // Each test gets its own page; errors thrown by the page's scripts are
  // collected so a test can insist there were none.
  async function open({ bridge = true, driverCount = 1000, viewport, ...options } = {}) {
    const page = await context.newPage();
    page.setDefaultTimeout(5000);
    if (viewport) await page.setViewportSize(viewport);
    const errors = [];
    page.on('pageerror', (err) => errors.push(err.message));
    if (bridge) await page.addInitScript(installFakeBridge, { machine: machine({ driverCount }), options });
    await page.goto(`${base}/index.html`);
    return { page, errors };
  }

  async function close() {
    await context.close();
    await new Promise((resolve) => server.close(resolve));
    await rm(profile, { recursive: true, force: true });
  }

  return { open, close };
}

// What the page posted to the simulated app, in order.
export function posted(page, method) {
  return page.evaluate((m) => window.__fakeBridge.log.filter((r) => !m || r.method === m), method);
}

export function card(page, title) {
  return page.locator('.card', { has: page.locator('h2', { hasText: title }) });
}

export function screenshotPath(name) {
  return path.join(ARTIFACTS, `${name}.png`);
}
