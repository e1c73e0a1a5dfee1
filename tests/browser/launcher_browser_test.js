// The launcher page in the real browsers, through the extension and desklaunch-host.exe under
// 64-bit Wine: the catalogue with the plug-in's icons, a click that starts a program, the
// open-file dialog, the administrator's and the user's refusals, and a host that is missing or
// dies. Runs inside tools/wine-session.sh (its Xvfb, prefix and wineserver); see run.sh.
//   node --experimental-websocket launcher_browser_test.js BUILD_DIR
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');

const { Chromium, Firefox, answerQuestion, serveFolder, until } = require('../../tools/browsers.js');

const root = path.resolve(__dirname, '../..');
const build = path.resolve(process.argv[2]);
const scratch = path.join(build, 'browser-tests');
const prefix = process.env.WINEPREFIX;
const wine = process.env.NPD_WINE_LOADER;
const hostName = 'com.corvid.desklaunch';
const chromiumId = 'ndlnobkomhldkoefdojhmlafpaocchga';
const firefoxId = 'desklaunch@corvid-application';

// The extension as tools/build-extension.sh builds it, and the launcher page on the library.
const builtExtension = path.join(root, 'build/extension');
const pagePath = '/examples/launcher.html';

function windowsPath(file) {
  return 'Z:' + file.replace(/\//g, '\\');
}

function hostPath(windows) {
  return path.join(prefix, 'drive_c', windows.slice(3).replace(/\\/g, '/'));
}

// The programs of the usage history, and the one the user picks in the dialog.
const atlas = 'C:\\npd-browser\\Atlas Maps\\atlas.exe';
const ledger = 'C:\\npd-browser\\Ledger\\ledger.exe';
const sketch = 'C:\\npd-browser\\Sketch Pad\\sketch.exe';
const notepadPath = 'C:\\windows\\system32\\notepad.exe';

function wineRun(args, options = {}) {
  const run = childProcess.spawnSync(wine, args, { encoding: 'utf8', timeout: 120000, ...options });
  assert.equal(run.status, 0, `wine ${args.join(' ')}: ${run.stdout}${run.stderr}`);
  return run.stdout;
}

// A .reg file in regedit's own encoding (UTF-16 with its mark).
function importRegistry(lines) {
  const file = path.join(scratch, 'seed.reg');
  const text = ['Windows Registry Editor Version 5.00', '', ...lines, ''].join('\r\n');
  fs.writeFileSync(file, '\ufeff' + text, 'utf16le');
  wineRun(['regedit', '/S', windowsPath(file)]);
}

function hexBytes(bytes) {
  return Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join(',');
}

const userAssist = 'HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist' +
  '\\{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}\\Count';
const policyKey = 'HKEY_CURRENT_USER\\Software\\Policies\\npDesklaunch';

// The Windows 7 shell's record of a program started so many times: its path letter-rotated,
// 72 bytes of counters.
function historyValue(program, runs) {
  const name = program.replace(/[a-z]/gi, (c) => {
    const base = c <= 'Z' ? 65 : 97;
    return String.fromCharCode(base + (c.charCodeAt(0) - base + 13) % 26);
  });
  const data = Buffer.alloc(72);
  data.writeUInt32LE(runs, 4);
  data.writeUInt32LE(runs, 8);
  data.writeUInt32LE(0xffffffff, 68);
  return `"${name.replace(/\\/g, '\\\\')}"=hex:${hexBytes(data)}`;
}

function setPolicy(origins) {
  if (origins === null) {
    importRegistry([`[-${policyKey}]`]);
    return;
  }
  const text = Buffer.from(origins.map((o) => o + '\0').join('') + '\0', 'utf16le');
  importRegistry([`[${policyKey}]`, `"AllowedOrigins"=hex(7):${hexBytes(text)}`]);
}

function seedMachine() {
  for (const [program, source] of [[atlas, 'atlas_program.exe'], [ledger, 'ledger_program.exe'],
    [sketch, 'sketch_program.exe']]) {
    fs.mkdirSync(path.dirname(hostPath(program)), { recursive: true });
    fs.copyFileSync(path.join(build, source), hostPath(program));
    fs.rmSync(hostPath(program) + '.ran', { force: true });
  }
  importRegistry([`[-${userAssist}]`, `[${userAssist}]`, historyValue(atlas, 14), historyValue(ledger, 9),
    `[-${policyKey}]`]);
}

// The bitmaps the plug-in stores for this catalogue: its RecentlyApplications() through nphost,
// the module copied to a folder of its own so that its images folder is fresh.
function pluginBitmaps() {
  const folder = path.join(scratch, 'plugin');
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder);
  fs.copyFileSync(path.join(build, 'npDesklaunch.dll'), path.join(folder, 'npDesklaunch.dll'));
  const output = wineRun([path.join(build, 'nphost.exe'), windowsPath(path.join(folder, 'npDesklaunch.dll')),
    'RecentlyApplications']);
  assert.match(output, /atlas\.exe\*atlas#/, output);
  return (name) => fs.readFileSync(path.join(folder, 'images', name + '.bmp'));
}

// A 32 x 32, 32-bit bitmap file's pixels as a canvas gives them: rows top first, RGBA.
function bitmapPixels(file) {
  assert.equal(file.readUInt16LE(28), 32);
  const width = file.readInt32LE(18);
  const height = file.readInt32LE(22);
  const offset = file.readUInt32LE(10);
  const pixels = [];
  for (let y = 0; y < Math.abs(height); y++) {
    const row = height > 0 ? Math.abs(height) - 1 - y : y;
    for (let x = 0; x < width; x++) {
      const at = offset + (row * width + x) * 4;
      pixels.push(file[at + 2], file[at + 1], file[at], 255);
    }
  }
  return pixels;
}

// The host as the browser starts it: the built program under Wine in the test's prefix; for
// Firefox inside the job that Firefox on Windows gives it. Each start leaves its process id, so
// that the test can end one as a crash would.
function writeHost(manifestDirs) {
  const hostExe = path.join(build, 'desklaunch-host.exe');
  const hosts = {
    chromium: { program: [hostExe], allowed: { allowed_origins: [`chrome-extension://${chromiumId}/`] } },
    firefox: {
      program: [path.join(build, 'in_job.exe'), windowsPath(hostExe)],
      allowed: { allowed_extensions: [firefoxId] },
    },
  };
  for (const [browser, host] of Object.entries(hosts)) {
    const script = path.join(scratch, `desklaunch-host-${browser}.sh`);
    fs.writeFileSync(script, `#!/bin/sh
echo $$ >> '${scratch}/host-pids'
export WINEPREFIX='${prefix}' WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='${process.env.WINEDLLOVERRIDES || ''}'
exec '${wine}' ${host.program.map((p) => `'${p}'`).join(' ')} "$@"
`, { mode: 0o755 });
    fs.mkdirSync(manifestDirs[browser], { recursive: true });
    fs.writeFileSync(path.join(manifestDirs[browser], `${hostName}.json`), JSON.stringify({
      name: hostName, description: 'npDesklaunch', path: script, type: 'stdio', ...host.allowed,
    }));
  }
}

function lastHostPid() {
  const pids = fs.readFileSync(path.join(scratch, 'host-pids'), 'utf8').trim().split('\n');
  return Number(pids[pids.length - 1]);
}

const tilesExpression = `Array.from(document.querySelectorAll('#launcher li')).map((li) => ({
  path: li.dataset.path, name: (li.querySelector('.name') || {}).textContent,
  added: li.classList.contains('added') }))`;

// The pixels of the tile's icon as the page shows them, read back through a canvas.
function iconPixelsExpression(program) {
  return `(async () => {
    const img = Array.from(document.querySelectorAll('#launcher li'))
      .find((li) => li.dataset.path === ${JSON.stringify(program)}).querySelector('img');
    await img.decode();
    const canvas = document.createElement('canvas');
    canvas.width = img.naturalWidth;
    canvas.height = img.naturalHeight;
    const context = canvas.getContext('2d');
    context.drawImage(img, 0, 0);
    const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
    return [img.naturalWidth, img.naturalHeight, Array.from(pixels)];
  })()`;
}

// What one library call gives the page: its result or the code of its error.
function libraryCall(call) {
  return `(async () => {
    try {
      const desklaunch = await DeskLaunch.connect();
      return { result: await (${call}) };
    } catch (error) {
      return { code: error.code || String(error) };
    }
  })()`;
}

// This prefix's Wine processes whose command line matches: Wine shows a program's Windows
// command line as the process's own.
function processesOf(pattern) {
  const found = [];
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const environment = fs.readFileSync(`/proc/${pid}/environ`, 'utf8').split('\0');
      if (pattern.test(fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8')) &&
          environment.includes(`WINEPREFIX=${prefix}`)) {
        found.push(Number(pid));
      }
    } catch {
      // ended meanwhile
    }
  }
  return found;
}

function running(pid) {
  try {
    process.kill(pid, 0);
    return true;
  } catch {
    return false;
  }
}

function ranLines(program) {
  const file = hostPath(program) + '.ran';
  return fs.existsSync(file) ? fs.readFileSync(file, 'utf8').split('\n').filter(Boolean).length : 0;
}

// Answers the question the extension opens for a site, as the user would: waits for its window
// and for its buttons, which come alive only after a moment.
// Runs a library call in the page while the test plays the user at the extension's question.
async function callAnswering(browser, tab, call, answer) {
  const result = browser.evaluate(tab, libraryCall(call));
  result.catch(() => {}); // awaited below, once the question is answered
  await answerQuestion(browser, answer);
  return result;
}

async function testBrowser(Browser, name, env, sites, expectIcon) {
  const results = [];
  const check = async (what, body) => {
    const start = Date.now();
    try {
      await body();
      results.push(true);
      console.log(`ok   ${name}: ${what} (${Date.now() - start} ms)`);
    } catch (error) {
      results.push(false);
      console.log(`FAIL ${name}: ${what}\n${error.stack}`);
    }
  };
  const browser = await Browser.start({
    executable: Browser.find(), profile: env.profile, extension: path.join(builtExtension, name.toLowerCase()),
    env: env.variables,
  });
  const launcher = `${sites.own}${pagePath}`;
  const tiles = (tab) => browser.evaluate(tab, tilesExpression);
  // The launcher's own line that tells the user why it shows nothing.
  const statusShows = (tab, text) => until(`the status "${text}"`, 15000, async () =>
    (await browser.evaluate(tab, `document.getElementById('status').textContent`)) === text);
  let notepad = null;
  try {
    // First, while the extension has no port to a host yet.
    await check('no host installed: the page is told host-missing', async () => {
      const manifest = path.join(env.hostManifests, `${hostName}.json`);
      const saved = fs.readFileSync(manifest);
      fs.rmSync(manifest);
      try {
        const tab = await browser.open(launcher);
        await statusShows(tab, 'The npDesklaunch extension is installed, but not its host program.');
        assert.deepEqual(await browser.evaluate(tab, libraryCall('desklaunch.recentApplications()')),
          { code: 'host-missing' });
        await browser.closeTab(tab);
      } finally {
        fs.writeFileSync(manifest, saved);
      }
    });

    await check('the user allows the site; the tiles show the plug-in\'s icons', async () => {
      const tab = await browser.open(launcher);
      await answerQuestion(browser, 'allow');
      const shown = await until('the tiles', 15000, async () => {
        const found = await tiles(tab);
        return found.some((t) => t.path === ledger) && found;
      });
      assert.deepEqual(shown.slice(-2).map((t) => [t.path, t.name]), [[atlas, 'atlas'], [ledger, 'ledger']]);
      for (const program of [atlas, ledger]) {
        const [width, height, pixels] = await browser.evaluate(tab, iconPixelsExpression(program));
        assert.deepEqual([width, height], [32, 32]);
        assert.deepEqual(pixels, bitmapPixels(expectIcon(path.win32.basename(program, '.exe'))),
          `the icon of ${program}`);
      }
      const took = await browser.evaluate(tab, `(async () => {
        const desklaunch = await DeskLaunch.connect();
        const start = performance.now();
        await desklaunch.recentApplications();
        return performance.now() - start;
      })()`);
      console.log(`     ${name}: one recentApplications() from the page took ${took.toFixed(1)} ms end to end`);
      await browser.closeTab(tab);
    });

    await check('a click on a tile starts its program', async () => {
      const tab = await browser.open(launcher);
      await until('the atlas tile', 15000, async () => (await tiles(tab)).some((t) => t.path === atlas));
      const click = (program) => browser.evaluate(tab, `Array.from(document.querySelectorAll('#launcher li'))
        .find((li) => li.dataset.path === ${JSON.stringify(program)}).querySelector('button').click()`);
      const before = ranLines(atlas);
      await click(atlas);
      await until('atlas.exe.ran', 20000, () => ranLines(atlas) === before + 1);
      // Notepad, from the accessories, stays open: it has to outlive the host (checked below).
      // (Not the host's copy that opens it from outside Firefox's job, "desklaunch-host.exe
      // --open-file C:\...\notepad.exe".)
      const isNotepad = /^"?C:\\windows\\system32\\notepad\.exe/i;
      const notepads = processesOf(isNotepad);
      await click(notepadPath);
      notepad = await until('Notepad', 20000,
        () => processesOf(isNotepad).find((pid) => !notepads.includes(pid)));
      await browser.closeTab(tab);
    });

    await check('"Add a program…" opens the open-file dialog; the picked program gets a tile', async () => {
      const tab = await browser.open(launcher);
      await until('the tiles', 15000, async () => (await tiles(tab)).length > 0);
      const user = childProcess.spawn(wine, [path.join(build, 'choose_file.exe'), sketch], { stdio: 'ignore' });
      const chose = new Promise((resolve) => user.on('exit', resolve));
      await browser.evaluate(tab, `document.getElementById('add').click()`);
      assert.equal(await chose, 0, 'no open-file dialog appeared');
      const added = await until('the added tile', 20000, async () => (await tiles(tab)).find((t) => t.added));
      assert.deepEqual(added, { path: sketch, name: 'sketch', added: true });
      await browser.closeTab(tab);
    });

    await check('the host killed while its dialog is open: an error at once, then a new host', async () => {
      const tab = await browser.open(launcher);
      await until('the tiles', 15000, async () => (await tiles(tab)).length > 0);
      const picking = browser.evaluate(tab, libraryCall('desklaunch.pick()'));
      picking.catch(() => {}); // awaited below, once the host is gone
      const pid = await until('the dialog', 20000, () => {
        const found = childProcess.spawnSync(wine, [path.join(build, 'choose_file.exe'), '--find']);
        return found.status === 0 && lastHostPid();
      });
      process.kill(pid, 'SIGKILL');
      const started = Date.now();
      assert.deepEqual(await picking, { code: 'host-exited' });
      assert.ok(Date.now() - started < 5000, 'the page waited for the dead host');
      const again = await browser.evaluate(tab, libraryCall('desklaunch.recentApplications()'));
      assert.ok(again.result && again.result.some((e) => e.path === atlas),
        JSON.stringify(again).slice(0, 300));
      await browser.closeTab(tab);
    });

    await check('a site outside AllowedOrigins is refused, asks nobody and starts nothing', async () => {
      setPolicy([sites.own]);
      try {
        const tab = await browser.open(`${sites.other}${pagePath}`);
        const before = ranLines(atlas);
        await statusShows(tab, 'Your administrator does not allow this site to use npDesklaunch.');
        assert.deepEqual(await browser.evaluate(tab, libraryCall(`desklaunch.run(${JSON.stringify(atlas)})`)),
          { code: 'refused' });
        assert.equal(await browser.find(/\/consent\.html\?/), null, 'the user was asked');
        await new Promise((resolve) => setTimeout(resolve, 1000));
        assert.equal(ranLines(atlas), before, 'a refused page started the program');
        await browser.closeTab(tab);
      } finally {
        setPolicy(null);
      }
    });

    await check('a site the user blocked is told so and starts nothing', async () => {
      const tab = await browser.open(`${sites.other}${pagePath}`);
      const before = ranLines(atlas);
      const run = `desklaunch.run(${JSON.stringify(atlas)})`;
      assert.deepEqual(await callAnswering(browser, tab, run, 'block'), { code: 'blocked' });
      await statusShows(tab, 'You blocked this site from using npDesklaunch.');
      assert.deepEqual(await browser.evaluate(tab, libraryCall(run)), { code: 'blocked' });
      await new Promise((resolve) => setTimeout(resolve, 1000));
      assert.equal(ranLines(atlas), before, 'a blocked page started the program');
      await browser.closeTab(tab);
    });
  } finally {
    await browser.close();
  }
  await check('the program a click started still runs after the browser ended its host', async () => {
    assert.ok(notepad, 'no program was started');
    await until('the host\'s end', 10000, () => !running(lastHostPid()));
    assert.ok(running(notepad), 'Notepad ended with the host');
  });
  if (notepad && running(notepad)) {
    process.kill(notepad, 'SIGKILL');
  }
  return results;
}

async function main() {
  console.log(`Windows prefix ${prefix}, Wine ${wine}; scratch folder ${scratch}`);
  fs.rmSync(scratch, { recursive: true, force: true });
  fs.mkdirSync(scratch, { recursive: true });
  seedMachine();
  const expectIcon = pluginBitmaps();
  const home = path.join(scratch, 'home');
  const profiles = {
    chromium: path.join(scratch, 'chromium-profile'),
    firefox: path.join(scratch, 'firefox-profile'),
  };
  const manifests = {
    chromium: path.join(profiles.chromium, 'NativeMessagingHosts'),
    firefox: path.join(home, '.mozilla/native-messaging-hosts'),
  };
  writeHost(manifests);
  const servers = [await serveFolder(root), await serveFolder(root)];
  const [own, other] = servers.map((s) => `http://127.0.0.1:${s.address().port}`);
  const variables = { ...process.env, HOME: home };
  let failed = 0;
  let passed = 0;
  try {
    for (const [Browser, name] of [[Chromium, 'Chromium'], [Firefox, 'Firefox']]) {
      if (!Browser.find()) {
        console.log(`skipped ${name}: not installed`);
        continue;
      }
      const key = name.toLowerCase();
      const results = await testBrowser(Browser, name,
        { profile: profiles[key], hostManifests: manifests[key], variables }, { own, other }, expectIcon);
      passed += results.filter(Boolean).length;
      failed += results.filter((r) => !r).length;
    }
  } finally {
    servers.forEach((s) => s.close());
    // The prefix is the Windows suite's: no history or policy of this test stays in it.
    importRegistry([`[-${userAssist}]`, `[-${policyKey}]`]);
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 && passed > 0 ? 0 : 1);
}

main().catch((error) => {
  console.log(`FAIL ${error.stack}`);
  process.exit(1);
});
