// examples/launcher.html in headless Chromium, with a stand-in for the plug-in's object that
// returns catalogue texts the module produced. Checks the rendered page: each tile's name, icon
// source and path, what a click starts, and the tile a picker reply adds.
//   node launcher_page_test.js PAGE CATALOGUE_DIR
// Exits 77 (skipped) when Chromium is not installed.
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const { withStandIn } = require('../../tools/demo/launcher_page.js');

const page = path.resolve(process.argv[2]);
const catalogueDir = path.resolve(process.argv[3]);
const imagesUrl = 'file:///C:/Plugins/images/';

function findChromium() {
  for (const name of [process.env.CHROMIUM, 'chromium', 'chromium-browser']) {
    if (!name) {
      continue;
    }
    const found = childProcess.spawnSync('sh', ['-c', 'command -v "$0"', name], { encoding: 'utf8' });
    if (found.status === 0) {
      return found.stdout.trim();
    }
  }
  return null;
}

const chromium = findChromium();
if (!chromium) {
  console.log('SKIPPED: Chromium is not installed (tools/install-deps.sh installs Debian\'s chromium)');
  process.exit(77);
}

// The page as a browser with the plug-in would see it, the plug-in's object played by a script.
function renderPage(standIn) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'npd-page-'));
  try {
    fs.writeFileSync(path.join(dir, 'stand-in.js'), standInScript(standIn));
    const html = withStandIn(fs.readFileSync(page, 'utf8'),
      '<script src="stand-in.js"></script>', imagesUrl);
    const copy = path.join(dir, 'launcher.html');
    fs.writeFileSync(copy, html);
    const run = childProcess.spawnSync(chromium, [
      '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-extensions',
      `--user-data-dir=${path.join(dir, 'profile')}`, '--virtual-time-budget=5000',
      '--dump-dom', 'file://' + copy,
    ], { encoding: 'utf8', timeout: 90000 });
    assert.equal(run.status, 0, `chromium failed: ${run.stderr}`);
    return parseDom(run.stdout);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// Defines the object's three methods on every <object>, records each call on <html>, and after
// load clicks what the case asks for, as a user would.
function standInScript(standIn) {
  return `(function () {
  var calls = [];
  function record(call) {
    calls.push(call);
    document.documentElement.setAttribute('data-calls', JSON.stringify(calls));
  }
  var proto = HTMLObjectElement.prototype;
  proto.RecentlyApplications = function () {
    record(['RecentlyApplications']);
    return ${JSON.stringify(standIn.catalogue)};
  };
  proto.RunAppointedApplication = function (text) { record(['RunAppointedApplication', text]); };
  proto.SelectApplications = function (callback) {
    record(['SelectApplications']);
    var reply = ${JSON.stringify(standIn.reply === undefined ? null : standIn.reply)};
    if (reply !== null) {
      setTimeout(function () { callback(reply); }, 20);
    }
  };
  window.addEventListener('load', function () {
    var clicks = ${JSON.stringify(standIn.clickTiles || [])};
    var tiles = document.querySelectorAll('#launcher .app button');
    clicks.forEach(function (i) { tiles[i].click(); });
    if (${JSON.stringify(!!standIn.clickAdd)}) {
      document.getElementById('add').click();
    }
  });
})();
`;
}

function unescapeHtml(text) {
  return text.replace(/&(#x?[0-9a-fA-F]+|amp|lt|gt|quot|nbsp);/g, (whole, code) => {
    const named = { amp: '&', lt: '<', gt: '>', quot: '"', nbsp: '\u00a0' };
    if (named[code]) {
      return named[code];
    }
    return String.fromCodePoint(code[1] === 'x' ? parseInt(code.slice(2), 16) : parseInt(code.slice(1), 10));
  });
}

function parseDom(dom) {
  const tiles = [];
  for (const match of dom.matchAll(/<li class="([^"]*)" data-path="([^"]*)">([\s\S]*?)<\/li>/g)) {
    const src = /<img [^>]*src="([^"]*)"/.exec(match[3]);
    const name = /<span class="name">([\s\S]*?)<\/span>/.exec(match[3]);
    tiles.push({
      added: match[1].split(' ').includes('added'),
      path: unescapeHtml(match[2]),
      icon: src ? unescapeHtml(src[1]) : null,
      name: name ? unescapeHtml(name[1]) : null,
    });
  }
  const calls = /<html[^>]* data-calls="([^"]*)"/.exec(dom);
  const status = /<p id="status">([\s\S]*?)<\/p>/.exec(dom);
  return {
    tiles,
    calls: calls ? JSON.parse(unescapeHtml(calls[1])) : [],
    status: status ? unescapeHtml(status[1]) : null,
  };
}

function catalogue(name) {
  return fs.readFileSync(path.join(catalogueDir, name), 'utf8');
}

function tile(filePath, name, icon) {
  return { added: false, path: filePath, icon: imagesUrl + icon, name };
}

const accessories = [
  tile('C:\\windows\\system32\\mspaint.exe', '画图', 'mspaint.bmp'),
  tile('C:\\windows\\system32\\notepad.exe', '记事本', 'notepad.bmp'),
  tile('C:\\windows\\system32\\calc.exe', '计算器', 'calc.bmp'),
  tile('C:\\windows\\system32\\control.exe', '控制面板', 'control.bmp'),
  tile('C:\\windows\\explorer.exe', '资源管理器', 'explorer.bmp'),
];

const cases = [
  {
    what: 'an empty catalogue gives no tile',
    standIn: { catalogue: '' },
    tiles: [],
  },
  {
    what: 'no history: the five accessories with Chinese names',
    standIn: { catalogue: catalogue('nt6_history_0.txt') },
    tiles: accessories,
  },
  {
    what: 'history names with "#" and non-ASCII letters, icons named for the file',
    standIn: { catalogue: catalogue('nt6_history_3.txt') },
    tiles: accessories.concat([
      tile('C:\\npd-e2e\\apps\\画板.exe', '画板', '%E7%94%BB%E6%9D%BF.bmp'),
      tile('C:\\npd-e2e\\apps\\Café\\café.tool.exe', 'café.tool', 'caf%C3%A9.tool.bmp'),
      tile('C:\\npd-e2e\\apps\\C#Pad\\c#pad.exe', 'c#pad', 'c%23pad.bmp'),
    ]),
  },
];

let failed = 0;
let passed = 0;
function check(what, body) {
  try {
    body();
    passed++;
    console.log(`ok   ${what}`);
  } catch (error) {
    failed++;
    console.log(`FAIL ${what}\n${error.message}`);
  }
}

for (const c of cases) {
  const rendered = renderPage(c.standIn);
  check(c.what, () => {
    assert.deepEqual(rendered.tiles, c.tiles);
    assert.deepEqual(rendered.calls, [['RecentlyApplications']]);
    assert.equal(rendered.status, '');
  });
}

{
  const rendered = renderPage({ catalogue: catalogue('nt6_history_3.txt'), clickTiles: [7, 1] });
  check('a click starts the tile\'s program by its full path', () => {
    assert.deepEqual(rendered.calls, [
      ['RecentlyApplications'],
      ['RunAppointedApplication', 'C:\\npd-e2e\\apps\\C#Pad\\c#pad.exe'],
      ['RunAppointedApplication', 'C:\\windows\\system32\\notepad.exe'],
    ]);
  });
}

{
  const reply = 'D:\\Tools\\Ed#it\\编辑器.exe*My #1 Editor#';
  const rendered = renderPage({ catalogue: catalogue('nt6_history_0.txt'), reply, clickAdd: true });
  check('a picker reply adds one tile with the reply\'s name and icon', () => {
    assert.deepEqual(rendered.calls, [['RecentlyApplications'], ['SelectApplications']]);
    assert.deepEqual(rendered.tiles, accessories.concat([{
      added: true,
      path: 'D:\\Tools\\Ed#it\\编辑器.exe',
      icon: imagesUrl + '%E7%BC%96%E8%BE%91%E5%99%A8.bmp',
      name: 'My #1 Editor',
    }]));
  });
}

{
  const rendered = renderPage({ catalogue: catalogue('nt6_history_0.txt'), reply: '', clickAdd: true });
  check('an empty picker reply adds nothing', () => {
    assert.equal(rendered.tiles.length, accessories.length);
  });
}

check('without the plug-in the page says so and shows no tile', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'npd-page-'));
  try {
    const run = childProcess.spawnSync(chromium, [
      '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      `--user-data-dir=${path.join(dir, 'profile')}`, '--virtual-time-budget=5000',
      '--dump-dom', 'file://' + page,
    ], { encoding: 'utf8', timeout: 90000 });
    const rendered = parseDom(run.stdout);
    assert.deepEqual(rendered.tiles, []);
    assert.equal(rendered.status, 'The npDesklaunch plug-in is not installed or not enabled.');
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
