// SPDX-License-Identifier: MIT
// The web page in headless Chromium, opened from file://, against the
// console d88cut of the same source tree: the sample set split into its five
// disks gives the same messages and the same four files, byte for byte; a
// damaged set gives the same warning and marks the file; a file of no D88
// shape gives the designed note; and no request leaves the page. The page
// answers a person: the drop zone by keyboard, a map's sector details by
// pointer and arrow keys, every file kept whatever its name, a zip that
// marks a flawed file, a pointer to d88info's report; axe-core finds no
// serious fault, light or dark; screenshots at 1280 and 390 px.
//   node page_test.cjs PAGE SOURCE_DIR
'use strict';
const { chromium } = require('playwright-core');
const fflate = require('fflate');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [page_, source] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'd88cut-web-'));
let failures = 0;
function check(ok, what) {
  if (!ok) {
    failures += 1;
    console.log(`FAIL: ${what}`);
  }
}

// The console programs, built into build/ when they are not there.
function consoleProgram(name) {
  const program = path.join(source, 'build', 'bin', name);
  if (!fs.existsSync(program)) {
    execFileSync('cmake', ['--preset', 'default'], { cwd: source, stdio: 'ignore' });
    execFileSync('cmake', ['--build', '--preset', 'default', '--target', 'd88cut', 'make_sample'],
                 { cwd: source, stdio: 'ignore' });
  }
  return program;
}

// Splits a D88 file into one file per image, as disk sets are kept.
function split(d88, prefix) {
  const names = [];
  for (let at = 0, i = 1; at + 688 <= d88.length; i += 1) {
    const size = d88.readUInt32LE(at + 0x1c);
    const name = `${prefix}${i}.d88`;
    fs.writeFileSync(path.join(work, name), d88.subarray(at, at + size));
    names.push(name);
    at += size;
  }
  return names;
}

// What the console d88cut says and cuts for `names`, run in a folder of its own.
function consoleRun(names, folder) {
  const dir = path.join(work, folder);
  fs.mkdirSync(dir);
  for (const name of names) fs.copyFileSync(path.join(work, name), path.join(dir, name));
  let log;
  try {
    log = execFileSync('sh', ['-c', `"$0" "$@" 2>&1`, consoleProgram('d88cut'), ...names],
                       { cwd: dir });
  } catch (e) {
    log = e.stdout;  // exit status 1: a file was incomplete
  }
  const files = {};
  for (const name of ['LOADER', 'DRIVER', 'MUSIC', 'MUSIC2']) {
    const file = path.join(dir, name);
    if (fs.existsSync(file)) files[name] = fs.readFileSync(file);
  }
  return { log: new TextDecoder('shift_jis').decode(log), files };
}

async function pageRun(page, names) {
  const before = await page.locator('#log').textContent();
  await page.setInputFiles('#files', names.map((name) => path.join(work, name)));
  return logAfter(page, before);
}

async function logAfter(page, before) {
  await page.waitForFunction((old) => {
    const log = document.getElementById('log').textContent;
    return log !== old && !document.getElementById('busy').textContent.endsWith('…');
  }, before);
  return page.locator('#log').textContent();
}

// The download a click starts. Headless Chromium now and then lets a click's
// download pass unseen; one more click is given before it counts as a fault.
async function downloadOf(page, click) {
  for (let attempt = 1; ; attempt += 1) {
    try {
      const [download] = await Promise.all([page.waitForEvent('download', { timeout: 10000 }),
                                            click()]);
      return download;
    } catch (e) {
      if (attempt === 2) throw e;
    }
  }
}

async function savedBytes(page, name) {
  const download = await downloadOf(page, () => page.getByRole('button', { name, exact: true }).click());
  check(download.suggestedFilename() === name, `${name} is offered as ${download.suggestedFilename()}`);
  return fs.readFileSync(await download.path());
}

// At 390 px every map fits the screen whole (turned: tracks down), and 70
// presses of the key that steps across tracks reach track 70 with its cell
// on screen.
async function turnedMaps(page) {
  const fits = await page.evaluate(() => [...document.querySelectorAll('.map canvas')].every(
    (canvas) => canvas.getBoundingClientRect().right <= document.documentElement.clientWidth));
  check(fits, 'every map fits 390 px');
  await page.locator('.map canvas').first().focus();
  for (let i = 0; i < 70; i += 1) await page.keyboard.press('ArrowDown');
  const details = await page.locator('.map .details').first().textContent();
  const onScreen = await page.evaluate(() => {
    const canvas = document.querySelector('.map canvas');
    const box = canvas.getBoundingClientRect();
    const cell = (canvas.height - 28) / 80;
    const top = box.top + (28 + 70 * cell) * box.height / canvas.height;
    return top >= 0 && top + cell <= window.innerHeight;
  });
  check(details.startsWith('Track 70 ') && onScreen,
        `70 steps across tracks at 390 px: ${details} (cell on screen: ${onScreen})`);
}

// axe-core over the page with the sample set, light and dark, at 1280 and
// 390 px (there after a folder's run too), with a screenshot of each before
// and after (the audit alone bypasses the page's Content-Security-Policy,
// to add axe).
async function audit(browser, disks) {
  for (const scheme of ['light', 'dark']) {
    for (const width of [1280, 390]) {
      const context = await browser.newContext({ bypassCSP: true, colorScheme: scheme,
                                                 viewport: { width, height: 900 } });
      const page = await context.newPage();
      await page.goto(`file://${page_}`);
      const shot = (when) => page.screenshot({
        path: path.join(path.dirname(page_), `page-${width}-${scheme}-${when}.png`), fullPage: true });
      await shot('before');
      await pageRun(page, disks);
      if (width === 390) {
        if (scheme === 'light') await turnedMaps(page);
        // A folder's result on screen, walked, for the audit below.
        const before = await page.locator('#log').textContent();
        await page.setInputFiles('#folder', path.join(work, 'collection'));
        await logAfter(page, before);
      }
      await page.locator('.map canvas').first().hover({ position: { x: 28 + 5, y: 28 + 5 } });
      await shot('after');
      await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
      const result = await page.evaluate(() => axe.run());
      const serious = result.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
      check(serious.length === 0, `axe-core, ${scheme}, ${width} px: ` +
            serious.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`).join('; '));
      await context.close();
    }
  }
}

let bigTime = 0;
let grown = 0;
let longest = 0;

// The resident memory of every Chromium process, in bytes: the browser,
// the page's renderer and its worker.
function chromiumMemory() {
  let total = 0;
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      if (!fs.readFileSync(`/proc/${pid}/comm`, 'utf8').startsWith('chrom')) continue;
      const rss = /VmRSS:\s+(\d+) kB/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'));
      if (rss) total += Number(rss[1]) * 1024;
    } catch (e) { /* gone meanwhile */ }
  }
  return total;
}

// Runs `names` on the page while sampling Chromium's memory; the most it
// grew by over its size before the run.
async function peakMemoryOf(page, names) {
  const before = chromiumMemory();
  let peak = before;
  const timer = setInterval(() => { peak = Math.max(peak, chromiumMemory()); }, 50);
  await pageRun(page, names);
  clearInterval(timer);
  return Math.max(peak, chromiumMemory()) - before;
}

async function main() {
  const sample = path.join(work, 'sample.d88');
  execFileSync(consoleProgram('make_sample'), [sample]);
  const disks = split(fs.readFileSync(sample), 'disk');
  // The system disk without track 30: MUSIC incomplete.
  const damaged = Buffer.from(fs.readFileSync(path.join(work, disks[0])));
  damaged.writeUInt32LE(0, 0x20 + 4 * 30);
  fs.writeFileSync(path.join(work, 'damaged.d88'), damaged);
  fs.writeFileSync(path.join(work, 'notes.txt'), 'not a disk image, only some text\n');

  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const context = await browser.newContext({ acceptDownloads: true });
  const page = await context.newPage();
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  const started = Date.now();
  await page.goto(`file://${page_}`);
  const version = await page.locator('#version').textContent();
  check(/^\d+\.\d+/.test(version) && page_.includes(`d88cut-${version}-web.html`),
        `the page says its version: ${version}`);

  // The sample set as five files: the same messages and files as the console.
  let t = Date.now();
  const shown = await pageRun(page, disks);
  const sampleTime = Date.now() - t;
  const expected = consoleRun(disks, 'sample');
  check(shown === expected.log, `the page says\n${shown}\nwhere d88cut says\n${expected.log}`);
  check(shown.includes('SYSTEM DISKを認識しました.'), 'the Japanese reads as such');
  for (const name of Object.keys(expected.files)) {
    const bytes = await savedBytes(page, name);
    check(bytes.equals(expected.files[name]), `${name} saved from the page differs`);
  }
  check(Object.keys(expected.files).length === 4, 'the console cut four files');
  check(await page.locator('#saved li[data-state="complete"]').count() === 4, 'four complete files');
  check(await page.locator('.map canvas').count() === 5, 'a map for each of the five images');
  const zip = await downloadOf(page, () => page.click('#zip'));
  check(zip.suggestedFilename() === 'd88cut-files.zip', 'the zip is offered');

  // The same five disks in a zip: the same messages, headed by the zip's
  // name, and the same files.
  const entries = {};
  for (const name of disks) entries[name] = new Uint8Array(fs.readFileSync(path.join(work, name)));
  entries['readme.txt'] = new TextEncoder().encode('the disks\n');
  fs.writeFileSync(path.join(work, 'set.zip'), fflate.zipSync(entries, { level: 6 }));
  const zipped = await pageRun(page, ['set.zip']);
  check(zipped.replaceAll('set.zip:', '') === expected.log, `set.zip: the page says\n${zipped}`);
  for (const name of Object.keys(expected.files)) {
    check((await savedBytes(page, name)).equals(expected.files[name]), `${name} from set.zip differs`);
  }
  check(await page.locator('.map canvas').count() === 5, 'a map for each image in the zip');

  // The map answers: a LOADER sector by pointer, the next one by the keys.
  const map = page.locator('.map canvas').first();
  const details = page.locator('.map .details').first();
  await map.hover({ position: { x: 28 + 1 * 11 + 5, y: 28 + 5 } });
  check((await details.textContent()).startsWith(
    'Track 1 (C 0, H 1), R 1: C 0 H 1 R 1 N 3, 1024 data bytes, good. LOADER\'s run, its bytes 0–1023.'),
  `the map's details by pointer: ${await details.textContent()}`);
  await map.focus();
  await page.keyboard.press('ArrowDown');
  check((await details.textContent()).includes('R 2') &&
        (await details.textContent()).includes('its bytes 1024–2047'),
  `the map's details by keys: ${await details.textContent()}`);

  // The drop zone by keyboard: Enter and Space open the chooser (its input
  // is clicked; the native dialog is held back here).
  await page.evaluate(() => {
    window.chosen = 0;
    document.getElementById('files').addEventListener('click', (event) => {
      window.chosen += 1;
      event.preventDefault();
    });
  });
  for (const key of ['Enter', ' ']) {
    await page.focus('#drop');
    await page.keyboard.press(key);
  }
  check(await page.evaluate(() => window.chosen) === 2, 'Enter and Space on the drop zone choose');
  check((await page.locator('#busy').textContent()).startsWith('Done: 5 files cut') ||
        (await page.locator('#busy').textContent()).startsWith('Done: 4 files cut'),
        `the status says the run is done: ${await page.locator('#busy').textContent()}`);

  // Files of one name are all kept, and a D88 file named LOADER is read.
  for (const [folder, disk] of [['A', disks[0]], ['B', disks[1]]]) {
    fs.mkdirSync(path.join(work, folder));
    fs.copyFileSync(path.join(work, disk), path.join(work, folder, 'disk.d88'));
  }
  const twice = await pageRun(page, ['A/disk.d88', 'B/disk.d88']);
  check(twice.includes('disk.d88:\nSYSTEM DISK') && twice.includes('disk (2).d88:\nSCENARIO DISK 4'),
        `two files of one name: ${twice}`);
  check(await page.locator('#saved li').count() === 4, 'both files of one name were read');
  // A name outside Shift_JIS shows as given.
  fs.copyFileSync(path.join(work, disks[0]), path.join(work, 'Ω ☃ é.d88'));
  const unicode = await pageRun(page, ['Ω ☃ é.d88', disks[1]]);
  check(unicode.startsWith('Ω ☃ é.d88:\nSYSTEM DISK'), `a name outside Shift_JIS: ${unicode}`);
  fs.copyFileSync(path.join(work, disks[0]), path.join(work, 'LOADER'));
  const named = await pageRun(page, ['LOADER']);
  check(named.startsWith('SYSTEM DISK') &&
        await page.locator('#saved li[data-state="complete"]').count() === 3,
  `a D88 file named LOADER gives LOADER, DRIVER and MUSIC: ${named}`);

  // A damaged system disk: the warning, and MUSIC marked.
  const damagedLog = await pageRun(page, ['damaged.d88']);
  const damagedExpected = consoleRun(['damaged.d88'], 'damaged');
  check(damagedLog === damagedExpected.log, `damaged: the page says\n${damagedLog}`);
  check(damagedLog.includes('MUSIC (image 0) is incomplete'), 'the warning is shown');

  check(await page.locator('#saved li[data-state="incomplete"] button').textContent() === 'MUSIC',
        'the incomplete MUSIC is marked');
  check((await savedBytes(page, 'MUSIC')).equals(damagedExpected.files.MUSIC),
        'the incomplete MUSIC is the console d88cut\'s');
  const flawedZip = await downloadOf(page, () => page.click('#zip'));
  const zipped2 = fflate.unzipSync(new Uint8Array(fs.readFileSync(await flawedZip.path())));
  check(Object.keys(zipped2).includes('MUSIC - incomplete.txt'),
        `the zip marks the incomplete MUSIC: ${Object.keys(zipped2)}`);
  await page.locator('.map canvas').first().hover({ position: { x: 28 + 30 * 11 + 5, y: 28 + 5 } });
  check((await page.locator('.map .details').first().textContent()).includes(
    'missing: the run of MUSIC needs it'), 'the map says a missing sector is missing');

  // A 7z whose entry has a Japanese name (7z stores it as UTF-16): named as
  // the console names it. (p7zip makes it; ./test.sh installs it.)
  fs.copyFileSync(path.join(work, disks[0]), path.join(work, 'ゲーム.d88'));
  try {
    execFileSync('7z', ['a', '-bd', '-t7z', 'names.7z', 'ゲーム.d88'], { cwd: work, stdio: 'ignore' });
  } catch (e) {
    console.log('no 7z: the 7z name is not tried');
  }
  if (fs.existsSync(path.join(work, 'names.7z'))) {
    const namesLog = await pageRun(page, ['names.7z']);
    check(namesLog.includes('names.7z:ゲーム.d88:'), `a 7z's Japanese name: the page says\n${namesLog}`);
    const titles = await page.locator('figure.map h3').allTextContents();
    check(titles.some((title) => title.includes('names.7z:ゲーム.d88, image 0')),
          `a 7z's name in the map titles: ${titles.join(' | ')}`);
  }

  // A folder with the set in folders of its own, and a note that is no disk:
  // walked as the console walks it; the four files whole.
  const collection = path.join(work, 'collection');
  for (const [i, name] of disks.entries()) {
    fs.mkdirSync(path.join(collection, `title ${i}`), { recursive: true });
    fs.copyFileSync(path.join(work, name), path.join(collection, `title ${i}`, name));
  }
  fs.writeFileSync(path.join(collection, 'readme.txt'), 'the disks\n');
  let before = await page.locator('#log').textContent();
  await page.setInputFiles('#folder', collection);
  const folderLog = await logAfter(page, before);
  const folderExpected = (() => {
    const log = execFileSync('sh', ['-c', `"$0" "$@" 2>&1 || true`, consoleProgram('d88cut'), '-n',
                                    'collection'], { cwd: work });
    return new TextDecoder('shift_jis').decode(log);
  })();
  check(folderLog.includes('collection/title 0/disk1.d88:') &&
        folderLog.includes('d88cut: note: looked at 6 files: 5 D88 files, 0 archives'),
        `a folder: the page says\n${folderLog}\nwhere d88cut -n says\n${folderExpected}`);
  for (const name of Object.keys(expected.files)) {
    check((await savedBytes(page, name)).equals(expected.files[name]), `${name} from a folder differs`);
  }
  // The list: each disk where it was found, and what is cut from it.
  const found = await page.locator('#copies').textContent();
  check(found.startsWith('system disk: 1 copy, 1 release\n  collection/title 0/disk1.d88 (image 0)\n') &&
        found.includes('LOADER whole, DRIVER whole, MUSIC whole; cut from it: LOADER, DRIVER, MUSIC') &&
        found.includes('scenario disk 1: 1 copy\n  collection/title 4/disk5.d88 (image 0)'),
        `where each disk was found:\n${found}`);

  // The same folder dropped: its entries walked (a drop's entries, made
  // here: Playwright drops no folder), read as the chosen folder was.
  await page.evaluate(() => {
    const stash = document.createElement('input');
    stash.type = 'file';
    stash.multiple = true;
    stash.id = 'stash';
    stash.hidden = true;
    document.body.append(stash);
  });
  const stashed = [...disks.map((name, i) => path.join(collection, `title ${i}`, name)),
    path.join(collection, 'readme.txt')];
  await page.setInputFiles('#stash', stashed);
  await page.evaluate(() => { document.getElementById('log').textContent = ''; });  // the same log comes
  await page.evaluate((names) => {
    const files = Array.from(document.getElementById('stash').files);
    const fileEntry = (fullPath, file) => ({ isFile: true, isDirectory: false, fullPath,
                                             file: (ok) => setTimeout(() => ok(file), 0) });
    const folderEntry = (fullPath, children) => ({
      isFile: false, isDirectory: true, fullPath,
      createReader: () => {
        let given = false;  // one batch, then none: the end
        return { readEntries: (ok) => setTimeout(() => { ok(given ? [] : children); given = true; }, 0) };
      },
    });
    const titles = names.map((name, i) => folderEntry(`/collection/title ${i}`,
                                                      [fileEntry(`/collection/title ${i}/${name}`, files[i])]));
    const top = folderEntry('/collection', [...titles, fileEntry('/collection/readme.txt', files[names.length])]);
    const drop = new Event('drop', { bubbles: true, cancelable: true });
    Object.defineProperty(drop, 'dataTransfer', {
      value: { items: [{ webkitGetAsEntry: () => top }], files: [] },
    });
    document.dispatchEvent(drop);
  }, disks);
  const droppedLog = await logAfter(page, '');
  check(droppedLog === folderLog, `a dropped folder: the page says\n${droppedLog}\nwhere chosen it said\n${folderLog}`);
  for (const name of Object.keys(expected.files)) {
    check((await savedBytes(page, name)).equals(expected.files[name]), `${name} from a dropped folder differs`);
  }

  // A system disk cut short before its signature: headed as the log says.
  const short = Buffer.from(fs.readFileSync(path.join(work, disks[0])));
  fs.writeFileSync(path.join(work, 'short.d88'), short.subarray(0, short.readUInt32LE(0x20 + 4 * 30)));
  const shortLog = await pageRun(page, ['short.d88']);
  const shortTitles = await page.locator('figure.map h3').allTextContents();
  check(shortLog.includes('probably the system disk, cut short') &&
        shortTitles.some((title) => title.includes('(probably the system disk, cut short)')),
        `a cut-short system disk's map: ${shortTitles.join(' | ')}`);

  // A D88 file of 64 images: the programs run in a worker, so the page's
  // thread never holds long; and a run can be cancelled, leaving nothing.
  const big = Buffer.concat(Array.from({ length: 64 },
                                       (_, i) => fs.readFileSync(path.join(work, disks[i % 5]))));
  fs.writeFileSync(path.join(work, 'big.d88'), big);
  await page.evaluate(() => {
    window.longest = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.longest = Math.max(window.longest, entry.duration);
    }).observe({ type: 'longtask' });
  });
  t = Date.now();
  await pageRun(page, ['big.d88']);
  bigTime = Date.now() - t;
  longest = await page.evaluate(() => window.longest);
  check(longest < 250, `the page's thread held ${longest} ms on 64 images`);
  check(bigTime < 30000, `64 images took ${bigTime} ms`);
  check(await page.locator('.map canvas').count() === 64, 'a map for each of the 64 images');
  // Cancel is pressed the moment the run has started (as a person would,
  // long before 64 images are read).
  await page.evaluate(() => document.getElementById('files').addEventListener('change', () => {
    setTimeout(() => document.getElementById('cancel').click(), 0);
  }, { once: true }));
  await page.setInputFiles('#files', [path.join(work, 'big.d88')]);
  await page.waitForFunction(() => document.getElementById('busy').textContent === 'Cancelled.');
  check(await page.locator('#log').textContent() === 'Cancelled.' &&
        await page.locator('.map canvas').count() === 0 && await page.locator('#saved li').count() === 0,
  'a cancelled run leaves nothing shown');
  // A large folder: read with its progress shown file by file, and cancelled
  // on the way, as files are.
  const many = path.join(work, 'many');
  fs.mkdirSync(many);
  for (let i = 0; i < 300; i += 1) {
    fs.writeFileSync(path.join(many, `notes${String(i).padStart(3, '0')}.txt`), 'a note\n'.repeat(100));
  }
  await page.evaluate(() => {
    window.seen = [];
    const busy = document.getElementById('busy');
    window.watcher = new MutationObserver(() => {
      window.seen.push(busy.textContent);
      if (busy.textContent.includes('(100 of 300,')) document.getElementById('cancel').click();
    });
    window.watcher.observe(busy, { childList: true, characterData: true, subtree: true });
  });
  await page.setInputFiles('#folder', many);
  await page.waitForFunction(() => document.getElementById('busy').textContent === 'Cancelled.');
  const seen = await page.evaluate(() => { window.watcher.disconnect(); return window.seen; });
  check(seen.some((text) => /^Reading notes\d{3}\.txt \(1 of 300, 700 bytes\)…$/.test(text)) &&
        !seen.some((text) => text.includes('(101 of 300,')) &&
        await page.locator('#log').textContent() === 'Cancelled.',
  `a large folder's progress, cancelled at file 100: ${seen.slice(0, 3).join(' | ')} … ${seen.slice(-3).join(' | ')}`);

  // A 100 MB input (64 images and what follows them): Chromium grows by less
  // than four times its size.
  const hundred = Buffer.alloc(100 * 1024 * 1024);
  big.copy(hundred);
  fs.writeFileSync(path.join(work, 'hundred.d88'), hundred);
  grown = await peakMemoryOf(page, ['hundred.d88']);
  check(grown < 4 * hundred.length, `a 100 MB input took ${grown} bytes more`);
  check(await page.locator('.map canvas').count() === 64, 'the 100 MB input was read');

  // Two copies of the system disk, each with another sector recorded with a
  // CRC error: LOADER assembled whole, and the map says which copy gave
  // what. (A sector's header: C H R N, then the status at byte 8.)
  const withCrcError = (name, c, h, r) => {
    const d88 = Buffer.from(fs.readFileSync(path.join(work, disks[0])));
    for (let at = 688; at + 16 <= d88.length; at += 1) {
      if (d88[at] === c && d88[at + 1] === h && d88[at + 2] === r && d88[at + 3] === 3 &&
          d88.readUInt16LE(at + 14) === 1024) {
        d88[at + 8] = 0xb0;
        break;
      }
    }
    fs.writeFileSync(path.join(work, name), d88);
  };
  withCrcError('copy1.d88', 1, 0, 3);  // track 2 R 3
  withCrcError('copy2.d88', 1, 1, 2);  // track 3 R 2
  const copies = await pageRun(page, ['copy1.d88', 'copy2.d88']);
  check(copies.includes('d88cut: note: LOADER was assembled from 2 copies'), `two copies: ${copies}`);
  check(await page.locator('#saved li[data-state="complete"]').count() === 3, 'LOADER assembled whole');
  await page.locator('.map canvas').first().hover({ position: { x: 28 + 2 * 11 + 5, y: 28 + 2 * 11 + 5 } });
  const copyDetails = await page.locator('.map .details').first().textContent();
  check(copyDetails.includes('The file is assembled with this sector from copy2.d88 (image 0).') &&
        copyDetails.includes('Lacking or damaged in: copy1.d88 (image 0).'),
  `the map says which copy gave the sector: ${copyDetails}`);

  // A file of no D88 shape: the designed note, never a stack trace.
  const textLog = await pageRun(page, ['notes.txt']);
  check(textLog.includes('d88cut: note: notes.txt is not a D88 file: it is text, not a disk image'),
        `a text file gives the note: ${textLog}`);
  check(await page.locator('#nofiles').isVisible(), 'no file is offered for it');
  check(!(await page.locator('#zip').isVisible()), 'no zip is offered for it');

  // A D88 file with no disk of the game: the pointer to d88info opens its report.
  const blank = Buffer.from(fs.readFileSync(path.join(work, disks[2])));
  blank.fill(0, 0x20, 0x2b0);
  fs.writeFileSync(path.join(work, 'blank.d88'), blank);
  await pageRun(page, ['blank.d88']);
  await page.click('#why');
  check(await page.locator('#report').evaluate((report) => report.open), 'Why? opens the report');

  check(errors.length === 0, `no error in the page: ${errors.join('; ')}`);
  const outside = requests.filter((url) => !url.startsWith('file://') && !url.startsWith('blob:') &&
                                           !url.startsWith('data:'));
  check(outside.length === 0, `no request leaves the page: ${outside.join(', ')}`);
  await page.screenshot({ path: path.join(path.dirname(page_), 'page.png'), fullPage: true });
  await audit(browser, disks);
  await browser.close();
  console.log(`page ${fs.statSync(page_).size} bytes; sample set in ${sampleTime} ms; ` +
              `64 images in ${bigTime} ms, the page's thread held at most ${longest} ms; ` +
              `a 100 MB input grew Chromium by ${Math.round(grown / 1048576)} MB; ` +
              `whole test ${Date.now() - started} ms`);
}

main().then(() => {
  fs.rmSync(work, { recursive: true, force: true });
  console.log(failures === 0 ? '1 passed, 0 failed' : `0 passed, 1 failed (${failures} checks)`);
  process.exit(failures === 0 ? 0 : 1);
}, (error) => {
  console.log(`FAIL: ${error && error.stack ? error.stack : error}`);
  process.exit(1);
});
