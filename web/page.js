// SPDX-License-Identifier: MIT
// The page: hands the D88 files dropped on it to d88cut and d88info (the
// programs' own code, in WebAssembly, in an in-memory file system), shows
// what they say, offers the files d88cut cut, and draws each image as a map.
// It reads, recognises, cuts and reports nothing itself.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const FILE_KEYS = { LOADER: 'loader', DRIVER: 'driver', MUSIC: 'music', MUSIC2: 'music2' };
  const STATE_TEXT = {
    complete: 'complete', incomplete: 'incomplete', damaged: 'damaged',
    kept: 'kept', 'not written': 'not written', 'read failed': 'could not be read',
  };

  // The game's files as the programs know them:
  // {LOADER: {disk: 'system', offset, length, sectors: [[track, c, h, r], ...]}, ...}.
  let gameFiles = null;
  let cut = {};  // name -> bytes of the last run's files

  // The programs run in a Worker made from this page's own script (a blob:
  // URL: the page stays one file), so that the page never freezes. This
  // function is its whole driver: given the files, it runs d88cut and
  // d88info on them in the in-memory file system and sends back what they
  // said and cut, then empties the file system again.
  function workerMain() {
    const utf8 = new TextDecoder('utf-8');
    let programs = null;
    const run = (args) => {
      try {
        return programs.callMain(args);
      } catch (e) {
        if (e && typeof e.status === 'number') return e.status;  // exit()
        throw e;
      }
    };
    const readText = (path) => {
      const text = utf8.decode(programs.FS.readFile(path));
      programs.FS.unlink(path);
      return text;
    };
    const removeFolder = (dir) => {
      for (const name of programs.FS.readdir(dir)) {
        if (name === '.' || name === '..') continue;
        const path = `${dir}/${name}`;
        if (programs.FS.isDir(programs.FS.stat(path).mode)) removeFolder(path);
        else programs.FS.unlink(path);
      }
      programs.FS.chdir('/');
      programs.FS.rmdir(dir);
    };
    self.onmessage = async (event) => {
      const { files } = event.data;
      const dir = '/run';
      try {
        if (programs === null) {
          programs = await createD88Web({ print: () => {}, printErr: () => {} });
        }
        programs.callMain(['runs', '/runs.json']);
        const gameFiles = JSON.parse(readText('/runs.json'));
        programs.FS.mkdir(dir);
        programs.FS.mkdir(`${dir}/in`);
        let placed = 0;
        const total = files.reduce((sum, file) => sum + file.buffer.byteLength, 0);
        for (const file of files) {
          // A folder's file: its folders made first ("Title/Disk 1/a.d88").
          const parts = file.name.split('/');
          for (let i = 1; i < parts.length; i += 1) {
            const folder = `${dir}/${parts.slice(0, i).join('/')}`;
            if (!programs.FS.analyzePath(folder).exists) programs.FS.mkdir(folder);
          }
          programs.FS.writeFile(`${dir}/${file.name}`, new Uint8Array(file.buffer));
          file.buffer = null;  // the worker's copy is in the file system now
          placed += 1;
          self.postMessage({ type: 'progress', text: `Read ${placed} of ${files.length} files (${total} bytes); cutting…` });
        }
        // A folder is named once: the programs walk it.
        const names = [...new Set(files.map((file) => file.arg))];
        programs.FS.chdir(dir);
        run(['cut', '/log', '/status', 'd88cut', '--', ...names]);  // both streams in one log, in order
        const log = readText('/log');
        const states = JSON.parse(readText('/status'));
        const cutFiles = {};
        for (const name of Object.keys(gameFiles)) {
          if (!states[name].written) continue;  // what lies under its name is no cut of this run
          try {
            cutFiles[name] = programs.FS.readFile(`${dir}/${name}`);
          } catch (e) { /* not cut */ }
        }
        self.postMessage({ type: 'progress', text: 'Reporting what is in the files…' });
        run(['info', '/info', '/infoerr', 'd88info', '--', ...names]);
        const infoText = readText('/info') + readText('/infoerr');
        // Where each of the five disks was found, and which copy gives each file.
        run(['list', '/list', '/listerr', 'd88cut', '-l', '--', ...names]);
        const copiesText = readText('/list');
        readText('/listerr');
        run(['info', '/json', '/jsonerr', 'd88info', '--json', '--sectors', '--', ...names]);
        const info = JSON.parse(readText('/json'));
        readText('/jsonerr');
        removeFolder(dir);
        self.postMessage({ type: 'done', gameFiles, log, states, cutFiles, infoText, info, copiesText },
                         Object.values(cutFiles).map((bytes) => bytes.buffer));
      } catch (e) {
        try { removeFolder(dir); } catch (ignored) { /* never made */ }
        self.postMessage({ type: 'error', message: String(e && e.message ? e.message : e) });
      }
    };
  }

  let workerUrl = null;
  let worker = null;
  let stopRun = null;  // rejects the run in progress once it is in the worker
  let activeRun = 0;   // the run in progress, by number
  let cancelledRun = 0;

  function startWorker() {
    if (workerUrl === null) {
      const programsScript = document.getElementById('programs').textContent;
      workerUrl = URL.createObjectURL(new Blob([programsScript, `\n(${workerMain})();\n`],
                                               { type: 'text/javascript' }));
    }
    worker = new Worker(workerUrl);
  }

  // The name a file is given in the run: its own, or with a number when an
  // earlier file of the run has that name ("disk (2).d88"); a file named like
  // one of the game's files goes into a folder of its own, "in/LOADER", so
  // that the file cut under that name is not it.
  function runName(name, taken) {
    const dot = name.lastIndexOf('.');
    const [stem, ext] = dot > 0 ? [name.slice(0, dot), name.slice(dot)] : [name, ''];
    let unique = name;
    for (let k = 2; taken.has(unique); k += 1) unique = `${stem} (${k})${ext}`;
    taken.add(unique);
    return Object.prototype.hasOwnProperty.call(FILE_KEYS, unique) ? `in/${unique}` : unique;
  }

  // The status line, read out by screen readers.
  function say(text) {
    $('busy').hidden = false;
    $('busy').textContent = text;
  }

  // Reads the files once each (the bytes move to the worker, not copied) and
  // runs the programs on them there.
  // A file of a folder keeps its path below the page's run folder; the
  // folder's own name is kept clear of other names of the run and of the
  // game's files' names (a folder named LOADER).
  function pathName(path, taken, folders) {
    const [top, ...rest] = path.split('/');
    if (!folders.has(top)) {
      let unique = top;
      for (let k = 2; taken.has(unique) || Object.prototype.hasOwnProperty.call(FILE_KEYS, unique);
           k += 1) {
        unique = `${top} (${k})`;
      }
      taken.add(unique);
      folders.set(top, unique);
    }
    return [folders.get(top), ...rest].join('/');
  }

  async function runInWorker(files, id) {
    const taken = new Set();
    const folders = new Map();
    const payload = [];
    for (const [i, file] of files.entries()) {
      say(`Reading ${file.name} (${i + 1} of ${files.length}, ${file.size} bytes)…`);
      const path = file.relativePath || file.webkitRelativePath || '';
      const name = path.includes('/') ? pathName(path, taken, folders) : runName(file.name, taken);
      // On the command line: the file, or the folder it is in.
      const arg = path.includes('/') ? name.split('/')[0] : name;
      payload.push({ name, arg, buffer: await file.arrayBuffer() });
      if (cancelledRun === id || activeRun !== id) throw new Error('cancelled');
    }
    if (worker === null) startWorker();
    return new Promise((resolve, reject) => {
      stopRun = reject;
      worker.onmessage = (event) => {
        const message = event.data;
        if (message.type === 'progress') say(message.text);
        else if (message.type === 'done') resolve(message);
        else reject(new Error(message.message));
      };
      worker.onerror = (event) => reject(new Error(event.message || 'the programs stopped'));
      worker.postMessage({ files: payload }, payload.map((file) => file.buffer));
    });
  }

  // Stops the run in progress: its worker and all it held go.
  function cancel() {
    cancelledRun = activeRun;
    if (worker !== null) worker.terminate();
    worker = null;
    if (stopRun !== null) stopRun(new Error('cancelled'));
  }

  // What an earlier run showed is not this one's: it goes.
  function clearResults(text) {
    cut = {};
    $('results').hidden = false;
    $('saved').replaceChildren();
    $('maps').replaceChildren();
    mapsDrawn += 1;  // stops a drawing in progress
    $('info').textContent = '';
    $('copies').textContent = '';
    $('why').hidden = true;
    $('nofiles').hidden = true;
    $('zip').hidden = true;
    $('log').textContent = text;
  }

  async function handle(fileList) {
    const files = Array.from(fileList);
    if (files.length === 0) return;
    cancel();  // one run at a time: a new drop replaces the one in progress
    const id = ++activeRun;
    say('Reading…');
    $('cancel').hidden = false;
    let done = 'Done.';
    try {
      const result = await runInWorker(files, id);
      gameFiles = result.gameFiles;
      cut = result.cutFiles;
      $('copies').textContent = result.copiesText;
      await show(result.log, result.states, result.infoText, result.info);  // done when drawn
      const count = Object.keys(cut).length;
      done = `Done: ${count} ${count === 1 ? 'file' : 'files'} cut.`;
    } catch (e) {
      if (activeRun !== id) return;  // replaced by a later run, which shows its own
      const cancelled = e && e.message === 'cancelled';
      clearResults(cancelled ? 'Cancelled.'
        : `The page could not read these files (${e && e.message ? e.message : e}).`);
      done = cancelled ? 'Cancelled.' : 'The files could not be read.';
      if (!cancelled && worker !== null) {
        worker.terminate();  // its memory goes with it
        worker = null;
      }
    } finally {
      if (activeRun === id) {  // a later run speaks for itself
        stopRun = null;
        $('cancel').hidden = true;
        say(done);
      }
    }
  }

  let lastStates = {};

  function show(log, states, infoText, info) {
    lastStates = states;
    $('results').hidden = false;
    $('log').textContent = log;
    $('info').textContent = infoText;
    $('why').hidden = !/^d88cut: note: d88info /m.test(log);
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
    return drawMaps(info);
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

  // The zip: the files under their own names, and beside each flawed one a
  // note that says so ("MUSIC - incomplete.txt") with what d88cut said of it.
  function saveZip() {
    const entries = {};
    const log = $('log').textContent.split('\n');
    for (const name of Object.keys(cut)) {
      entries[name] = cut[name];
      const state = lastStates[name] ? lastStates[name].state : 'complete';
      if (state === 'complete') continue;
      const said = log.filter((line) => line.includes(` ${name} `) || line.includes(` ${name}:`));
      const text = `${name} is not complete: it is ${STATE_TEXT[state] || state}.\r\n` +
        `What d88cut said of it:\r\n${said.join('\r\n')}\r\n`;
      entries[`${name} - ${STATE_TEXT[state] || state}.txt`] = new TextEncoder().encode(text);
    }
    save('d88cut-files.zip', fflate.zipSync(entries, { level: 6 }));
  }

  // --- the maps: web/map.js draws each ---

  // Draws the maps a few at a time, each few in a task of its own, so that
  // 64 images never hold the page; a later run's maps stop the drawing.
  let mapsDrawn = 0;
  async function drawMaps(info) {
    const maps = $('maps');
    maps.replaceChildren();
    const drawing = ++mapsDrawn;
    let count = 0;
    for (const file of info.files) {
      for (const image of file.images) {
        if (image.error) continue;
        if (++count % 4 === 0) await new Promise((resolve) => setTimeout(resolve, 0));
        if (drawing !== mapsDrawn) return;
        maps.append(d88Map(file.path, image, gameFiles, info.together));
      }
    }
  }

  // --- dropping and choosing ---

  $('files').addEventListener('change', (event) => {
    handle(event.target.files);
    event.target.value = '';
  });
  $('folder').addEventListener('change', (event) => {
    handle(event.target.files);
    event.target.value = '';
  });

  // A dropped folder: every file below it, each with its path from it.
  function filesOf(entry) {
    if (entry.isFile) {
      return new Promise((resolve, reject) => entry.file((file) => {
        file.relativePath = entry.fullPath.replace(/^\//, '');
        resolve([file]);
      }, reject));
    }
    const reader = entry.createReader();
    const entries = [];
    return new Promise((resolve, reject) => {
      const readMore = () => reader.readEntries(async (batch) => {
        if (batch.length > 0) {
          entries.push(...batch);
          readMore();
          return;
        }
        try {
          const lists = await Promise.all(entries.map(filesOf));
          resolve(lists.flat());
        } catch (e) {
          reject(e);
        }
      }, reject);
      readMore();
    });
  }

  async function dropped(transfer) {
    const entries = Array.from(transfer.items || [])
      .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null));
    if (!entries.some((entry) => entry && entry.isDirectory)) return transfer.files;
    const lists = await Promise.all(entries.filter((entry) => entry).map(filesOf));
    return lists.flat();
  }
  $('zip').addEventListener('click', saveZip);
  $('cancel').addEventListener('click', cancel);
  // The drop zone opens the chooser, as its button does.
  $('drop').addEventListener('keydown', (event) => {
    if (event.target !== $('drop') || (event.key !== 'Enter' && event.key !== ' ')) return;
    event.preventDefault();
    $('files').click();
  });
  $('why').addEventListener('click', () => {
    const report = $('report');
    report.open = true;
    report.scrollIntoView();
    report.querySelector('summary').focus();
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    $('drop').classList.add('over');
  });
  document.addEventListener('dragleave', () => $('drop').classList.remove('over'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    $('drop').classList.remove('over');
    dropped(event.dataTransfer).then(handle, () => handle(event.dataTransfer.files));
  });
})();
