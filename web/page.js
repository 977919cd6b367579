// SPDX-License-Identifier: MIT
// The page: hands the D88 files dropped on it to d88cut and d88info (the
// programs' own code, in WebAssembly, in an in-memory file system), shows
// what they say, offers the files d88cut cut, and draws each image as a map.
// It reads, recognises, cuts and reports nothing itself.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const utf8 = new TextDecoder('utf-8');  // all the programs write here is UTF-8
  const FILE_KEYS = { LOADER: 'loader', DRIVER: 'driver', MUSIC: 'music', MUSIC2: 'music2' };
  const STATE_TEXT = {
    complete: 'complete', incomplete: 'incomplete', damaged: 'damaged',
    kept: 'kept', 'not written': 'not written', 'read failed': 'could not be read',
  };

  let programs = null;  // the Emscripten module, made on first use
  // The game's files as the programs know them:
  // {LOADER: {disk: 'system', sectors: [[track, c, h, r], ...]}, ...}.
  let gameFiles = null;
  let serial = 0;
  let cut = {};  // name -> bytes of the last run's files

  async function loadPrograms() {
    if (programs === null) {
      programs = await createD88Web({ print: () => {}, printErr: () => {} });
      programs.callMain(['runs', '/runs.json']);
      gameFiles = JSON.parse(utf8.decode(programs.FS.readFile('/runs.json')));
    }
    return programs;
  }

  // Runs one program of the page's build; returns its exit status.
  function run(args) {
    try {
      return programs.callMain(args);
    } catch (e) {
      if (e && typeof e.status === 'number') return e.status;  // exit()
      throw e;
    }
  }

  function readText(path, decoder) {
    const text = decoder.decode(programs.FS.readFile(path));
    programs.FS.unlink(path);
    return text;
  }

  // Puts the files into a fresh folder of the in-memory file system, named
  // as they are (a name given twice is taken once, the later file).
  async function placeFiles(files, dir) {
    programs.FS.mkdir(dir);
    const names = [];
    for (const file of files) {
      const bytes = new Uint8Array(await file.arrayBuffer());
      programs.FS.writeFile(`${dir}/${file.name}`, bytes);
      if (!names.includes(file.name)) names.push(file.name);
    }
    return names;
  }

  function removeFolder(dir) {
    for (const name of programs.FS.readdir(dir)) {
      if (name !== '.' && name !== '..') programs.FS.unlink(`${dir}/${name}`);
    }
    programs.FS.chdir('/');
    programs.FS.rmdir(dir);
  }

  async function handle(fileList) {
    const files = Array.from(fileList);
    if (files.length === 0) return;
    $('busy').hidden = false;
    await new Promise((resolve) => setTimeout(resolve, 20));  // show "Reading…" first
    try {
      await loadPrograms();
      const n = ++serial;
      const dir = `/run${n}`;
      const names = await placeFiles(files, dir);
      programs.FS.chdir(dir);
      // d88cut FILE...: its two streams in one log, in order.
      run(['cut', `/log${n}`, `/status${n}`, 'd88cut', '--', ...names]);
      const log = readText(`/log${n}`, utf8);
      const states = JSON.parse(readText(`/status${n}`, utf8));
      cut = {};
      for (const name of Object.keys(gameFiles)) {
        if (!states[name].written) continue;  // what lies under its name is no cut of this run
        try {
          cut[name] = programs.FS.readFile(`${dir}/${name}`);
        } catch (e) { /* not cut */ }
      }
      run(['info', `/info${n}`, `/infoerr${n}`, 'd88info', '--', ...names]);
      const infoText = readText(`/info${n}`, utf8) + readText(`/infoerr${n}`, utf8);
      run(['info', `/json${n}`, `/jsonerr${n}`, 'd88info', '--json', '--sectors', '--', ...names]);
      const infoJson = readText(`/json${n}`, utf8);
      readText(`/jsonerr${n}`, utf8);
      removeFolder(dir);
      show(log, states, infoText, JSON.parse(infoJson));
    } catch (e) {
      $('results').hidden = false;
      $('log').textContent = `The page could not read these files (${e && e.message ? e.message : e}).`;
    } finally {
      $('busy').hidden = true;
    }
  }

  function show(log, states, infoText, info) {
    $('results').hidden = false;
    $('log').textContent = log;
    $('info').textContent = infoText;
    const list = $('saved');
    list.replaceChildren();
    for (const name of Object.keys(gameFiles)) {
      if (!cut[name]) continue;
      const state = states[name].state;
      const item = document.createElement('li');
      item.dataset.state = state;
      if (state !== 'complete') item.className = 'flawed';
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = name;
      button.addEventListener('click', () => save(name, cut[name]));
      const label = document.createElement('span');
      label.className = 'state';
      label.textContent = `${cut[name].length} bytes, ${STATE_TEXT[state] || state}`;
      item.append(button, label);
      list.append(item);
    }
    const any = Object.keys(cut).length > 0;
    $('nofiles').hidden = any;
    $('zip').hidden = !any;
    drawMaps(info);
  }

  // Offers bytes for saving under exactly `name`: no extension is added.
  function save(name, bytes) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function saveZip() {
    const entries = {};
    for (const name of Object.keys(cut)) entries[name] = cut[name];
    save('d88cut-files.zip', fflate.zipSync(entries, { level: 6 }));
  }

  // --- the map of each image: tracks across, sector numbers down ---

  function isError(status) { return status !== 0 && status !== 0x10; }

  function filesOf(game) {
    const disk = game.disk === 'scenario' ? `scenario ${game.scenario}` : game.disk;
    return Object.keys(gameFiles).filter((name) => gameFiles[name].disk === disk);
  }

  function drawMaps(info) {
    const maps = $('maps');
    maps.replaceChildren();
    const style = getComputedStyle(document.documentElement);
    const colour = (key) => style.getPropertyValue(`--${key}`).trim();
    for (const file of info.files) {
      for (const image of file.images) {
        if (image.error) continue;
        maps.append(drawImage(file.path, image, colour));
      }
    }
  }

  function drawImage(path, image, colour) {
    // The run sectors of the files d88cut cuts from this image, by place.
    const runOf = new Map();
    for (const name of filesOf(image.game)) {
      for (const [track, c, h, r] of gameFiles[name].sectors) runOf.set(`${track}/${c}/${h}/${r}`, name);
    }
    const found = new Set();
    let tracks = 80;
    let rows = 5;
    for (const track of image.tracks) {
      tracks = Math.max(tracks, track.index + 1);
      for (const record of track.records) rows = Math.max(rows, Math.min(record.r, 64));
    }
    const canvas = document.createElement('canvas');
    const cell = 8;
    canvas.width = tracks * cell;
    canvas.height = rows * cell;
    const g = canvas.getContext('2d');
    let damaged = 0;
    for (const track of image.tracks) {
      for (const record of track.records) {
        if (record.r < 1 || record.r > rows) continue;
        const key = `${track.index}/${record.c}/${record.h}/${record.r}`;
        const file = record.n === 3 ? runOf.get(key) : undefined;
        if (file) found.add(key);
        const bad = isError(record.status);
        if (bad) damaged += 1;
        g.fillStyle = colour(bad ? 'bad' : file ? FILE_KEYS[file] : 'other');
        g.fillRect(track.index * cell + 1, (record.r - 1) * cell + 1, cell - 2, cell - 2);
      }
    }
    let missing = 0;
    g.strokeStyle = colour('bad');
    for (const [key] of runOf) {
      if (found.has(key)) continue;
      const [track, , , r] = key.split('/').map(Number);
      missing += 1;
      g.strokeRect(track * cell + 1.5, (r - 1) * cell + 1.5, cell - 3, cell - 3);
    }
    const figure = document.createElement('figure');
    figure.className = 'map';
    const title = document.createElement('h3');
    const kind = image.game.disk === 'system' ? 'system disk'
      : image.game.disk === 'scenario' ? `scenario disk ${image.game.scenario}` : 'not a disk of the game';
    title.textContent = `${path}, image ${image.index}: ${image.name} (${kind})`;
    const caption = document.createElement('p');
    caption.textContent = `${image.tracks.length} tracks with records; ` +
      `${missing} sectors missing from the runs; ${damaged} recorded with an error`;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', `${title.textContent}. ${caption.textContent}`);
    figure.append(title, canvas, caption);
    return figure;
  }

  // --- dropping and choosing ---

  $('files').addEventListener('change', (event) => {
    handle(event.target.files);
    event.target.value = '';
  });
  $('zip').addEventListener('click', saveZip);
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    $('drop').classList.add('over');
  });
  document.addEventListener('dragleave', () => $('drop').classList.remove('over'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    $('drop').classList.remove('over');
    handle(event.dataTransfer.files);
  });
})();
