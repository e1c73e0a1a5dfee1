// Makes desklaunch.js, the classic-script build that defines window.DeskLaunch, from the ES
// module desklaunch.mjs: the same code inside a function, its exports as DeskLaunch's members.
//   node build.mjs           writes desklaunch.js
//   node build.mjs --check   exits 1 when desklaunch.js is not what this would write
import { readFileSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

const here = (name) => fileURLToPath(new URL(name, import.meta.url));

export function classicBuild(moduleText) {
  const names = [];
  const body = moduleText.replace(/^export (async function|function|class|const) (\w+)/gm,
    (whole, kind, name) => {
      names.push(name);
      return `${kind} ${name}`;
    });
  if (/^export\b/m.test(body)) {
    throw new Error('desklaunch.mjs: an export build.mjs does not know');
  }
  const indented = body.replace(/^(?=.)/gm, '  ');
  return '// Made by build.mjs from desklaunch.mjs: edit that file, then run "node build.mjs".\n' +
    '(function (global) {\n  \'use strict\';\n\n' + indented + '\n' +
    `  global.DeskLaunch = { ${names.join(', ')} };\n` +
    '})(typeof window !== \'undefined\' ? window : globalThis);\n';
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const made = classicBuild(readFileSync(here('desklaunch.mjs'), 'utf8'));
  if (process.argv[2] === '--check') {
    if (readFileSync(here('desklaunch.js'), 'utf8') !== made) {
      console.error('desklaunch.js is not in step with desklaunch.mjs: run "node web/desklaunch/build.mjs"');
      process.exit(1);
    }
  } else {
    writeFileSync(here('desklaunch.js'), made);
  }
}
