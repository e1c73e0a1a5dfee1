// The page library: the plug-in's catalogue text, entries from the extension, and the
// handshake and answers over postMessage, with a fake window.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

import { classicBuild } from '../build.mjs';
import { TAG, connect, iconFileUrl, parseCatalogue, toEntry } from '../desklaunch.mjs';

test('catalogue text', () => {
  const cases = [
    [undefined, []],
    ['', []],
    ['C:\\a.exe*a#', [['C:\\a.exe', 'a']]],
    ['C:\\a.exe*My #1#D:\\b.exe*b#', [['C:\\a.exe', 'My #1'], ['D:\\b.exe', 'b']]],
    ['D:\\Ed#it\\x.exe*x#y#', [['D:\\Ed#it\\x.exe', 'x#y']]],
    ['C:\\a.exe*a#\\b.exe*b#', [['C:\\a.exe', 'a'], ['\\b.exe', 'b']]],
    ['C:\\a.exe*a#C:\\no star#', [['C:\\a.exe', 'a#C:\\no star']]],
    ['C:\\a.exe*<img src=x onerror=alert(1)>#', [['C:\\a.exe', '<img src=x onerror=alert(1)>']]],
    ['C:\\a.exe*no end', []],
    ['*nameless#C:\\b.exe*b#', [['C:\\b.exe', 'b']]],
  ];
  for (const [text, entries] of cases) {
    assert.deepEqual(parseCatalogue(text), entries.map(([path, name]) => ({ path, name })), text);
  }
});

test('a hostile catalogue text is read in one pass', () => {
  const started = process.hrtime.bigint();
  parseCatalogue('C:\\a.exe*' + '#\\'.repeat(200000) + '#');
  parseCatalogue('a*b#'.repeat(100000));
  assert.ok(process.hrtime.bigint() - started < 2000000000n);
});

test('icon URLs in the images folder and icons from the extension', () => {
  assert.equal(iconFileUrl('i/', 'C:\\Apps\\my.tool.exe'), 'i/my.tool.bmp');
  assert.equal(iconFileUrl('i/', 'C:\\C#Pad\\c#pad'), 'i/c%23pad.bmp');
  assert.equal(iconFileUrl('i/', 'C:\\x\\..\\..\\y.exe'), 'i/y.bmp');
  const bmp = 'data:image/bmp;base64,Qk0=';
  const cases = [
    [{ path: 'C:\\a.exe', name: 'a', icon: bmp }, { path: 'C:\\a.exe', name: 'a', icon: bmp }],
    [{ path: 'C:\\a.exe', name: 'a', icon: 'javascript:alert(1)' }, { path: 'C:\\a.exe', name: 'a', icon: null }],
    [{ path: 'C:\\a.exe', name: 7 }, null],
    [{ path: '', name: 'a' }, null],
    ['C:\\a.exe', null],
  ];
  for (const [value, entry] of cases) {
    assert.deepEqual(toEntry(value), entry);
  }
});

// A window whose postMessage reaches its own listeners later, as a browser's does; `frames`
// lets a test post as another window would.
function fakeWindow({ plugin = null } = {}) {
  const listeners = new Set();
  const win = {
    origin: 'https://page.example',
    navigator: { mimeTypes: {} },
    document: { querySelector: () => plugin },
    setTimeout, clearTimeout,
    addEventListener: (type, listener) => listeners.add(listener),
    removeEventListener: (type, listener) => listeners.delete(listener),
    postMessage(data, targetOrigin, source = win) {
      assert.equal(targetOrigin, 'https://page.example');
      const event = { source, data: structuredClone(data) };
      setTimeout(() => listeners.forEach((listener) => listener(event)), 1);
    },
  };
  return win;
}

// Stands in for the content script: answers each request with answer(request).
function extension(win, answer) {
  const requests = [];
  win.addEventListener('message', (event) => {
    const data = event.data;
    if (event.source !== win || data.tag !== TAG || data.kind !== 'request') {
      return;
    }
    requests.push(data);
    const reply = answer(data);
    if (reply) {
      win.postMessage({ tag: TAG, kind: 'answer', id: data.id, ...reply }, win.origin);
    }
  });
  return requests;
}

test('no plug-in and no extension: no-front-end after the timeout', async () => {
  await assert.rejects(connect({ window: fakeWindow(), timeout: 30 }), { code: 'no-front-end' });
});

test('the extension is found by its answer and refusals reach the page with their code', async () => {
  for (const code of ['blocked', 'refused', 'host-missing']) {
    const win = fakeWindow();
    extension(win, (r) => (r.method === 'ping' ? { result: {} } : { error: { code, message: code } }));
    await assert.rejects(connect({ window: win }), { code });
  }
});

test('answers are matched by id, from this window only', async () => {
  const win = fakeWindow();
  const other = {};
  const entry = { path: 'C:\\a.exe', name: 'a', icon: null };
  const held = [];
  const requests = extension(win, (r) => {
    if (r.method === 'recentApplications' || r.method === 'runApplication') {
      held.push(r);
      return null;
    }
    return { result: r.method === 'selectApplication' ? { cancelled: true } : {} };
  });
  const launcher = await connect({ window: win });
  assert.equal(launcher.kind, 'extension');
  const recent = launcher.recentApplications();
  const run = launcher.run('C:\\a.exe');
  await new Promise((resolve) => setTimeout(resolve, 20));
  const [list, start] = held;
  // Another frame's answer and an answer to an unknown id change nothing.
  win.postMessage({ tag: TAG, kind: 'answer', id: list.id, result: { entries: [] } }, win.origin, other);
  win.postMessage({ tag: TAG, kind: 'answer', id: 'x', result: {} }, win.origin);
  win.postMessage({ tag: TAG, kind: 'answer', id: start.id, error: { code: 'not-started', message: 'no' } }, win.origin);
  win.postMessage({ tag: TAG, kind: 'answer', id: list.id, result: { entries: [entry, { path: 1 }] } }, win.origin);
  await assert.rejects(run, { code: 'not-started' });
  assert.deepEqual(await recent, [entry]);
  assert.equal(await launcher.pick(), null);
  assert.deepEqual(requests.map((r) => r.method),
    ['ping', 'status', 'recentApplications', 'runApplication', 'selectApplication']);
  assert.equal(start.application, 'C:\\a.exe');
});

test('the plug-in: its catalogue with icons from the images folder', async () => {
  const calls = [];
  const object = {
    getAttribute: () => 'file:///C:/P/images/',
    RecentlyApplications: () => 'C:\\a b\\ä.exe*ä#',
    RunAppointedApplication: (text) => calls.push(text),
    SelectApplications: (callback) => callback(''),
  };
  const launcher = await connect({ window: fakeWindow({ plugin: object }) });
  assert.equal(launcher.kind, 'plugin');
  assert.deepEqual(await launcher.recentApplications(),
    [{ path: 'C:\\a b\\ä.exe', name: 'ä', icon: 'file:///C:/P/images/%C3%A4.bmp' }]);
  await launcher.run('C:\\a b\\ä.exe');
  assert.deepEqual(calls, ['C:\\a b\\ä.exe']);
  assert.equal(await launcher.pick(), null);
});

test('desklaunch.js is the build of desklaunch.mjs', () => {
  const dir = new URL('..', import.meta.url);
  assert.equal(readFileSync(new URL('desklaunch.js', dir), 'utf8'),
    classicBuild(readFileSync(new URL('desklaunch.mjs', dir), 'utf8')));
});
