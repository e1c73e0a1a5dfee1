// The demo's launcher page as today's browsers show it: headless Chromium with the extension,
// desklaunch-host.exe under this Wine session (the demo's prefix and usage history), the page
// served from the repository. The user's question is answered "Allow"; once the tiles show, the
// page is saved as a screenshot.
//   node tools/demo/launcher_extension.js BUILD_DIR OUT_DIR     (inside tools/wine-session.sh)
'use strict';

const fs = require('node:fs');
const path = require('node:path');

const { Chromium, answerQuestion, serveFolder, until } = require('../browsers.js');

const root = path.resolve(__dirname, '../..');
const build = path.resolve(process.argv[2]);
const out = path.resolve(process.argv[3]);
const hostName = 'com.corvid.desklaunch';
const chromiumId = 'ndlnobkomhldkoefdojhmlafpaocchga';

// The host as the browser starts it: a script that runs it in this session's Wine prefix.
function registerHost(profile) {
  const script = path.join(out, 'desklaunch-host.sh');
  fs.writeFileSync(script, `#!/bin/sh
export WINEPREFIX='${process.env.WINEPREFIX}' WINEDEBUG=-all
exec '${process.env.NPD_WINE_LOADER}' '${path.join(build, 'desklaunch-host.exe')}' "$@"
`, { mode: 0o755 });
  const manifests = path.join(profile, 'NativeMessagingHosts');
  fs.mkdirSync(manifests, { recursive: true });
  fs.writeFileSync(path.join(manifests, `${hostName}.json`), JSON.stringify({
    name: hostName, description: 'npDesklaunch', path: script, type: 'stdio',
    allowed_origins: [`chrome-extension://${chromiumId}/`],
  }));
}

async function main() {
  const profile = path.join(out, 'chromium-extension-profile');
  fs.rmSync(profile, { recursive: true, force: true });
  registerHost(profile);
  const server = await serveFolder(root);
  const browser = await Chromium.start({
    executable: Chromium.find(), profile, extension: path.join(root, 'build/extension/chromium'),
    env: process.env,
  });
  try {
    const tab = await browser.open(`http://127.0.0.1:${server.address().port}/examples/launcher.html`);
    await answerQuestion(browser, 'allow');
    const tiles = await until('the tiles', 30000, async () => {
      const count = await browser.evaluate(tab, `document.querySelectorAll('#launcher li img').length`);
      return count > 5 && count;
    });
    await browser.send('Emulation.setDeviceMetricsOverride',
      { width: 760, height: 560, deviceScaleFactor: 1, mobile: false }, tab.sessionId);
    const { data } = await browser.send('Page.captureScreenshot', { format: 'png' }, tab.sessionId);
    fs.writeFileSync(path.join(out, 'launcher-chromium.png'), Buffer.from(data, 'base64'));
    console.log(`Through the extension: ${tiles} tiles; screenshot ${path.relative(root, out)}/launcher-chromium.png`);
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((error) => {
  console.error(`launcher_extension: ${error.message}`);
  process.exit(1);
});
