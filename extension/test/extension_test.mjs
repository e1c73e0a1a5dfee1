// The extension's rules case by case, its port to the host with a fake port, and what
// tools/build-extension.sh makes.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';

import {
  consentStep, originOfSender, pageError, promptOutcome, readRequest, sitesFromStorage,
} from '../consent_rules.js';
import { HostConnection } from '../host_connection.js';

const ID = 'ndlnobkomhldkoefdojhmlafpaocchga';
const tab = { id: 1 };

test('the origin comes from the browser, for our content script in a top frame only', () => {
  const cases = [
    [{ id: ID, tab, frameId: 0, origin: 'https://Example.com:443', url: 'https://evil.net/' }, 'https://example.com'],
    [{ id: ID, tab, frameId: 0, url: 'http://example.com:8080/a?b#c' }, 'http://example.com:8080'],
    [{ id: ID, tab, frameId: 0, origin: 'file://', url: 'file:///C:/x.html' }, 'file://'],
    [{ id: ID, tab, frameId: 0, url: 'file:///C:/x.html' }, 'file://'],
    [{ id: ID, tab, frameId: 0, origin: 'null', url: 'https://example.com/' }, null],
    [{ id: ID, tab, frameId: 0, url: 'https://user:pw@example.com/' }, null],
    [{ id: ID, tab, frameId: 0, url: 'data:text/html,x' }, null],
    [{ id: ID, tab, frameId: 0, url: `chrome-extension://${ID}/consent.html` }, null],
    [{ id: ID, tab, frameId: 3, url: 'https://example.com/' }, null],
    [{ id: ID, frameId: 0, url: 'https://example.com/' }, null],
    [{ id: 'other', tab, frameId: 0, url: 'https://example.com/' }, null],
  ];
  for (const [sender, origin] of cases) {
    assert.equal(originOfSender(sender, ID), origin, JSON.stringify(sender));
  }
});

test('requests carry a known method and, to run, one program', () => {
  const cases = [
    [{ method: 'recentApplications', origin: 'https://evil.net' }, { method: 'recentApplications' }],
    [{ method: 'runApplication', application: 'C:\\a.exe' }, { method: 'runApplication', application: 'C:\\a.exe' }],
    [{ method: 'runApplication' }, null],
    [{ method: 'runApplication', application: 'x'.repeat(16385) }, null],
    [{ method: 'hello' }, null],
    [{ method: 'toString' }, null],
    [null, null],
  ];
  for (const [message, request] of cases) {
    assert.deepEqual(readRequest(message), request);
  }
});

test('the administrator first, then what the user said, else ask', () => {
  const none = { result: { policy: 'none' } };
  const cases = [
    [{ error: { code: -32000, message: 'Origin refused' } }, 'allow', 'fail', 'refused'],
    [{ error: { code: 'host-missing', message: 'Specified native messaging host not found.' } }, undefined, 'fail', 'host-missing'],
    [{ result: { policy: 'listed' } }, 'block', 'allow'],
    [{ result: {} }, 'allow', 'fail', 'host-error'],
    [none, 'allow', 'allow'],
    [none, 'block', 'fail', 'blocked'],
    [none, undefined, 'ask'],
    [none, 'maybe', 'ask'],
  ];
  for (const [hello, remembered, step, code] of cases) {
    const next = consentStep(hello, remembered);
    assert.equal(next.step, step);
    assert.equal(next.error && next.error.code, code);
  }
  assert.deepEqual(promptOutcome('allow'), { remember: 'allow', error: null });
  assert.equal(promptOutcome('block').remember, 'block');
  assert.equal(promptOutcome('block').error.code, 'blocked');
  assert.deepEqual([promptOutcome(null).remember, promptOutcome(null).error.code], [null, 'dismissed']);
  assert.equal(pageError({ code: -32001, message: 'Nothing started' }).code, 'not-started');
  assert.equal(pageError({ code: 'constructor' }).code, 'host-error');
  assert.match(pageError({ code: 'host-exited', message: 'Native host has exited.' }).message, /Native host has exited/);
  assert.deepEqual(sitesFromStorage({ 'site:https://b': 'allow', 'site:https://a': 'allow', 'site:x': 'block', other: 'allow' }),
    { allowed: ['https://a', 'https://b'], blocked: ['x'] });
});

function fakePort() {
  const port = { sent: [], listeners: { message: [], disconnect: [] } };
  port.postMessage = (message) => port.sent.push(message);
  port.onMessage = { addListener: (f) => port.listeners.message.push(f) };
  port.onDisconnect = { addListener: (f) => port.listeners.disconnect.push(f) };
  port.answer = (message) => port.listeners.message.forEach((f) => f(message));
  port.close = () => port.listeners.disconnect.forEach((f) => f(port));
  return port;
}

test('one port, answers by id, a closed port fails what waits and the next call reopens', async () => {
  const ports = [];
  let lastError;
  const host = new HostConnection(() => ports[ports.push(fakePort()) - 1], () => lastError);
  const first = host.call('hello', { origin: 'https://a' });
  const second = host.call('recentApplications', { origin: 'https://a' });
  assert.equal(ports.length, 1);
  const [a, b] = ports[0].sent;
  assert.deepEqual(a, { jsonrpc: '2.0', id: a.id, method: 'hello', params: { origin: 'https://a' } });
  assert.notEqual(a.id, b.id);
  ports[0].answer({ jsonrpc: '2.0', id: b.id, error: { code: -32000, message: 'Origin refused' } });
  ports[0].answer({ jsonrpc: '2.0', id: a.id, result: { policy: 'none' } });
  assert.deepEqual(await first, { result: { policy: 'none' } });
  assert.deepEqual(await second, { error: { code: -32000, message: 'Origin refused' } });

  const waiting = host.call('selectApplication', { origin: 'https://a' });
  lastError = { message: 'Native host has exited.' };
  ports[0].close();
  assert.deepEqual(await waiting, { error: { code: 'host-exited', message: 'Native host has exited.' } });

  const missing = host.call('hello', { origin: 'https://a' });
  assert.equal(ports.length, 2);
  lastError = { message: 'Specified native messaging host not found.' };
  ports[1].close();
  assert.equal((await missing).error.code, 'host-missing');
});

test('the build: Chromium\'s fixed id, Firefox\'s add-on id, a store zip without the key', () => {
  const out = mkdtempSync(join(tmpdir(), 'npd-extension-'));
  try {
    const root = new URL('../../', import.meta.url).pathname;
    execFileSync(join(root, 'tools/build-extension.sh'), [out], { env: { ...process.env, NPD_EXTENSION_KEY: '' } });
    const chromium = JSON.parse(readFileSync(join(out, 'chromium/manifest.json'), 'utf8'));
    const hash = createHash('sha256').update(Buffer.from(chromium.key, 'base64')).digest('hex');
    assert.equal([...hash.slice(0, 32)].map((c) => String.fromCharCode(97 + parseInt(c, 16))).join(''), ID);
    assert.deepEqual(chromium.permissions, ['nativeMessaging', 'storage']);
    assert.equal(chromium.background.service_worker, 'background.js');
    const firefox = JSON.parse(readFileSync(join(out, 'firefox/manifest.json'), 'utf8'));
    assert.equal(firefox.browser_specific_settings.gecko.id, 'desklaunch@corvid-application');
    assert.deepEqual(firefox.background.scripts, ['background.js']);
    const store = execFileSync('unzip', ['-p', join(out, 'desklaunch-chromium.zip'), 'manifest.json'], { encoding: 'utf8' });
    assert.equal(JSON.parse(store).key, undefined);
    assert.ok(readFileSync(join(out, 'desklaunch-firefox.xpi')).subarray(0, 2).equals(Buffer.from('PK')));
  } finally {
    rmSync(out, { recursive: true, force: true });
  }
});
