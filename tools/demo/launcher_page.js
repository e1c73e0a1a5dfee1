// A copy of the launcher page with a script that stands in for the plug-in's object, and the
// images folder the page should show icons from. The page library goes inside the copy, so
// that the copy works wherever it is written.
'use strict';

const fs = require('node:fs');
const path = require('node:path');

const library = path.join(__dirname, '..', '..', 'web', 'desklaunch', 'desklaunch.js');

function withStandIn(html, standInScriptTag, imagesUrl) {
  const inlined = '<script>\n' + fs.readFileSync(library, 'utf8') + '</script>';
  return html
    .replace('</head>', standInScriptTag + '\n</head>')
    .replace(/data-images="[^"]*"/, `data-images="${imagesUrl}"`)
    .replace('<script src="../web/desklaunch/desklaunch.js"></script>', () => inlined);
}

module.exports = { withStandIn };

// node launcher_page.js PAGE CATALOGUE_FILE IMAGES_URL OUTPUT: the page answering with the
// catalogue text the plug-in gave in the demo.
if (require.main === module) {
  const [page, catalogueFile, imagesUrl, output] = process.argv.slice(2);
  const catalogue = fs.readFileSync(catalogueFile, 'utf8');
  const tag = '<script>\n// The answer npDesklaunch gave in the demo, for viewing this page without the plug-in.\n' +
    'HTMLObjectElement.prototype.RecentlyApplications = function () {\n  return ' +
    JSON.stringify(catalogue) + ';\n};\n</script>';
  fs.writeFileSync(output, withStandIn(fs.readFileSync(page, 'utf8'), tag, imagesUrl));
}
