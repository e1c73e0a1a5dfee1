// A copy of the launcher page with a script that stands in for the plug-in's object, and the
// images folder the page should show icons from.
'use strict';

function withStandIn(html, standInScriptTag, imagesUrl) {
  return html
    .replace('</head>', standInScriptTag + '\n</head>')
    .replace(/data-images="[^"]*"/, `data-images="${imagesUrl}"`);
}

module.exports = { withStandIn };

// node launcher_page.js PAGE CATALOGUE_FILE IMAGES_URL OUTPUT: the page answering with the
// catalogue text the plug-in gave in the demo.
if (require.main === module) {
  const fs = require('node:fs');
  const [page, catalogueFile, imagesUrl, output] = process.argv.slice(2);
  const catalogue = fs.readFileSync(catalogueFile, 'utf8');
  const tag = '<script>\n// The answer npDesklaunch gave in the demo, for viewing this page without the plug-in.\n' +
    'HTMLObjectElement.prototype.RecentlyApplications = function () {\n  return ' +
    JSON.stringify(catalogue) + ';\n};\n</script>';
  fs.writeFileSync(output, withStandIn(fs.readFileSync(page, 'utf8'), tag, imagesUrl));
}
