// Runs the Khronos glTF validator on every file named on the command line;
// exits 1 when any has an error (warnings and hints are printed only).
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

async function main(files) {
  let failed = false;
  for (const file of files) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
      uri: path.basename(file),
      externalResourceFunction: (uri) =>
        new Promise((resolve, reject) => {
          fs.readFile(path.join(path.dirname(file), decodeURIComponent(uri)), (error, data) =>
            error ? reject(error.toString()) : resolve(new Uint8Array(data)));
        }),
    });
    const issues = report.issues;
    for (const m of issues.messages) console.log(`${path.basename(file)}: ${m.severity === 0 ? 'error' : 'note'} ${m.code} ${m.pointer || ''} ${m.message}`);
    console.log(`${path.basename(file)}: ${issues.numErrors} errors, ${issues.numWarnings} warnings`);
    if (issues.numErrors > 0) failed = true;
  }
  process.exit(failed ? 1 : 0);
}

main(process.argv.slice(2)).catch((e) => { console.log(String(e)); process.exit(1); });
