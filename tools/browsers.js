// The two real browsers, headless, each driven through its own remote protocol: Chromium through
// the DevTools protocol on file descriptors 3 and 4, Firefox ESR through WebDriver BiDi on a
// local WebSocket. Both load the unpacked extension and answer the same few calls:
//   open(url)            a new tab on that page, once it has loaded
//   find(pattern)        a page the browser or the extension opened whose URL matches, or null
//   evaluate(tab, text)  the value of an expression in the page (promises awaited), which must
//                        be JSON; a thrown exception rejects
//   close()              ends the browser and everything it started
'use strict';

const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');

// Which of the names is a command here, or null.
function findCommand(...names) {
  for (const name of names) {
    const found = childProcess.spawnSync('sh', ['-c', 'command -v "$0"', name], { encoding: 'utf8' });
    if (found.status === 0) {
      return found.stdout.trim();
    }
  }
  return null;
}

function withTimeout(promise, ms, what) {
  let timer;
  return Promise.race([
    promise,
    new Promise((resolve, reject) => {
      timer = setTimeout(() => reject(new Error(`${what}: no answer in ${ms} ms`)), ms);
    }),
  ]).finally(() => clearTimeout(timer));
}

// Ends the browser process and waits for it; the browser ends the hosts it started.
async function endProcess(child) {
  if (child.exitCode !== null || child.signalCode !== null) {
    return;
  }
  const ended = new Promise((resolve) => child.once('exit', resolve));
  child.kill('SIGTERM');
  const timer = setTimeout(() => child.kill('SIGKILL'), 10000);
  await ended;
  clearTimeout(timer);
}

// A page's answer travels as JSON text so that both protocols return it the same way.
function asJson(expression) {
  return `(async () => JSON.stringify(await (${expression})))()`;
}

// Serves the files below `root` on 127.0.0.1 (a second site as localhost).
function serveFolder(root) {
  const http = require('node:http');
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css' };
  const server = http.createServer((request, response) => {
    const file = path.join(root, path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'content-type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The first true value of `condition`, asked every 100 ms for `ms` at the most.
async function until(what, ms, condition) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await condition();
    if (value) {
      return value;
    }
    if (Date.now() > end) {
      throw new Error(`${what}: not within ${ms} ms`);
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Plays the user at the extension's question window: presses `answer` ('allow' or 'block') once
// its buttons take clicks.
async function answerQuestion(browser, answer) {
  const question = await until('the extension\'s question', 20000, () => browser.find(/\/consent\.html\?/));
  await until('the question\'s buttons', 5000, () => browser.evaluate(question, `(() => {
    const button = document.getElementById('${answer}');
    return Boolean(button && !button.disabled && (button.click(), true));
  })()`));
}

class Chromium {
  static find() {
    return findCommand(process.env.CHROMIUM || 'chromium', 'chromium-browser');
  }

  static async start({ executable, profile, extension, env }) {
    const child = childProcess.spawn(executable, [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--no-default-browser-check', `--user-data-dir=${profile}`,
      `--load-extension=${extension}`, '--remote-debugging-pipe', 'about:blank',
    ], { env, stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Chromium(child);
    // The extension's service worker is up once it shows as a target.
    await browser.waitFor(async () => {
      const { targetInfos } = await browser.send('Target.getTargets');
      return targetInfos.some((t) => t.type === 'service_worker' && t.url.startsWith('chrome-extension://'));
    }, 20000, 'the extension\'s service worker');
    return browser;
  }

  constructor(child) {
    this.child = child;
    this.stderr = '';
    child.stderr.on('data', (data) => { this.stderr = (this.stderr + data).slice(-65536); });
    this.nextId = 1;
    this.pending = new Map();
    let buffer = Buffer.alloc(0);
    child.stdio[4].on('data', (data) => {
      buffer = Buffer.concat([buffer, data]);
      for (let end = buffer.indexOf(0); end >= 0; end = buffer.indexOf(0)) {
        const message = JSON.parse(buffer.subarray(0, end).toString('utf8'));
        buffer = buffer.subarray(end + 1);
        const waiting = this.pending.get(message.id);
        if (waiting) {
          this.pending.delete(message.id);
          if (message.error) {
            waiting.reject(new Error(JSON.stringify(message.error)));
          } else {
            waiting.resolve(message.result);
          }
        }
      }
    });
    child.on('exit', () => {
      for (const waiting of this.pending.values()) {
        waiting.reject(new Error(`Chromium ended: ${this.stderr.slice(-2000)}`));
      }
      this.pending.clear();
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = JSON.stringify({ id, method, params, sessionId });
    return withTimeout(new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.child.stdio[3].write(message + '\0');
    }), 20000, method);
  }

  async waitFor(condition, ms, what) {
    const end = Date.now() + ms;
    while (!(await condition())) {
      if (Date.now() > end) {
        throw new Error(`Chromium: ${what} did not come in ${ms} ms\n${this.stderr.slice(-2000)}`);
      }
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }

  async open(url) {
    const { targetId } = await this.send('Target.createTarget', { url });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const tab = { targetId, sessionId };
    // The new tab shows about:blank until the page's document commits.
    await this.waitFor(async () => (await this.evaluate(tab, '[location.href, document.readyState]'))
      .join(' ') === `${url} complete`, 20000, `the page ${url}`);
    return tab;
  }

  async find(pattern) {
    const { targetInfos } = await this.send('Target.getTargets');
    const target = targetInfos.find((t) => t.type === 'page' && pattern.test(t.url));
    if (!target) {
      return null;
    }
    const { targetId } = target;
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    return { targetId, sessionId };
  }

  async evaluate(tab, expression) {
    const answer = await this.send('Runtime.evaluate', {
      expression: asJson(expression), awaitPromise: true, returnByValue: true,
    }, tab.sessionId);
    if (answer.exceptionDetails) {
      const thrown = answer.exceptionDetails.exception;
      throw new Error(thrown ? thrown.description || String(thrown.value) : answer.exceptionDetails.text);
    }
    return answer.result.value === undefined ? undefined : JSON.parse(answer.result.value);
  }

  async closeTab(tab) {
    await this.send('Target.closeTarget', { targetId: tab.targetId });
  }

  async close() {
    await endProcess(this.child);
  }
}

class Firefox {
  static find() {
    return findCommand(process.env.FIREFOX || 'firefox-esr', 'firefox');
  }

  static async start({ executable, profile, extension, env }) {
    fs.mkdirSync(profile, { recursive: true });
    // No first-run pages, updates or telemetry: nothing the test did not ask for.
    fs.writeFileSync(path.join(profile, 'user.js'), [
      'user_pref("browser.shell.checkDefaultBrowser", false);',
      'user_pref("app.update.enabled", false);',
      'user_pref("datareporting.policy.dataSubmissionEnabled", false);',
      'user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);',
      'user_pref("browser.startup.homepage_override.mstone", "ignore");',
      '',
    ].join('\n'));
    const child = childProcess.spawn(executable, [
      '--headless', '--profile', profile, '--no-remote', '--remote-debugging-port', '0', 'about:blank',
    ], { env, stdio: ['ignore', 'ignore', 'pipe'] });
    let stderr = '';
    const address = await withTimeout(new Promise((resolve, reject) => {
      child.stderr.on('data', (data) => {
        stderr = (stderr + data).slice(-65536);
        const found = /WebDriver BiDi listening on (ws:\/\/[^\s]+)/.exec(stderr);
        if (found) {
          resolve(found[1]);
        }
      });
      child.on('exit', () => reject(new Error(`Firefox ended: ${stderr.slice(-2000)}`)));
    }), 60000, 'Firefox\'s WebDriver BiDi address');
    const browser = new Firefox(child, new WebSocket(address.replace(/\/?$/, '/session')));
    await withTimeout(new Promise((resolve, reject) => {
      browser.socket.onopen = resolve;
      browser.socket.onerror = () => reject(new Error('Firefox: the WebDriver BiDi socket did not open'));
    }), 20000, 'WebDriver BiDi socket');
    await browser.send('session.new', { capabilities: {} });
    await browser.send('webExtension.install', { extensionData: { type: 'path', path: extension } });
    return browser;
  }

  constructor(child, socket) {
    this.child = child;
    this.socket = socket;
    this.nextId = 1;
    this.pending = new Map();
    socket.onmessage = (event) => {
      const message = JSON.parse(event.data);
      const waiting = this.pending.get(message.id);
      if (waiting) {
        this.pending.delete(message.id);
        message.type === 'error'
          ? waiting.reject(new Error(`${message.error}: ${message.message}`))
          : waiting.resolve(message.result);
      }
    };
  }

  send(method, params = {}) {
    const id = this.nextId++;
    return withTimeout(new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.socket.send(JSON.stringify({ id, method, params }));
    }), 20000, method);
  }

  async open(url) {
    const { context } = await this.send('browsingContext.create', { type: 'tab' });
    await this.send('browsingContext.navigate', { context, url, wait: 'complete' });
    return { context };
  }

  async find(pattern) {
    const { contexts } = await this.send('browsingContext.getTree', { maxDepth: 0 });
    const context = contexts.find((c) => pattern.test(c.url));
    return context ? { context: context.context } : null;
  }

  async evaluate(tab, expression) {
    const answer = await this.send('script.evaluate', {
      expression: asJson(expression), target: { context: tab.context }, awaitPromise: true,
    });
    if (answer.type === 'exception') {
      throw new Error(answer.exceptionDetails.text);
    }
    return answer.result.type === 'string' ? JSON.parse(answer.result.value) : undefined;
  }

  async closeTab(tab) {
    await this.send('browsingContext.close', { context: tab.context });
  }

  async close() {
    this.socket.close();
    await endProcess(this.child);
  }
}

module.exports = { Chromium, Firefox, answerQuestion, serveFolder, until };
