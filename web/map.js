// SPDX-License-Identifier: MIT
// The map of one disk image, for the page: tracks across and sector numbers
// down (on a screen too narrow for its tracks, turned: tracks down, sectors
// across), each numbered; the game's files' runs, missing and damaged sectors
// marked; a sector's details (its ID, data size, status in words, the file
// and which of its bytes) on pointer, tap and the arrow keys, in a live line
// beneath. d88Map(path, image, gameFiles) makes it from d88info's JSON of the
// image and the runs the programs give (and, with several copies of a disk,
// d88info's "together": which copy gave each sector); it reads nothing else.
'use strict';
const d88Map = (() => {
  const FILE_KEYS = { LOADER: 'loader', DRIVER: 'driver', MUSIC: 'music', MUSIC2: 'music2' };
  let gameFiles = {};
  let together = {};  // d88info's "together": copies of a file and which gave each sector

  // With several copies of its disk: which copy the assembled file takes the
  // sector k of `name`'s run from, and which copies lack it.
  function copiesSay(name, k) {
    const copies = together[name];
    if (!copies || !copies.sectors[k]) return '';
    const label = (c) => `${copies.from[c].path} (image ${copies.from[c].image})`;
    const sector = copies.sectors[k];
    const from = sector.from >= 0 ? ` The file is assembled with this sector from ${label(sector.from)}.`
      : ' No copy has it whole.';
    const lacking = sector.lacking.length > 0
      ? ` Lacking or damaged in: ${sector.lacking.map(label).join(', ')}.` : '';
    return from + lacking;
  }

  function isError(status) { return status !== 0 && status !== 0x10; }

  function filesOf(game) {
    const disk = game.disk === 'scenario' ? `scenario ${game.scenario}` : game.disk;
    return Object.keys(gameFiles).filter((name) => gameFiles[name].disk === disk);
  }

  const STATUS_WORDS = {
    0x00: 'good', 0x10: 'good (deleted-data mark)', 0xa0: 'a CRC error in its ID',
    0xb0: 'a CRC error in its data', 0xe0: 'no address mark', 0xf0: 'no data mark',
  };
  const CELL = 11;     // px per sector: 80 tracks fit the page at 1280 px
  const MARGIN = 28;   // px for the numbers
  const LARGEST = 24;  // px per sector at most, for a finger on a turned map
  const PAGE_PADDING = 48;  // px the page keeps around a map

  // Where each game file's run lies on an image of its disk: 'track/c/h/r'
  // -> {name, first, last} (the file's own bytes in that sector, or none).
  function runPlaces(game) {
    const places = new Map();
    for (const name of filesOf(game)) {
      const { offset, length, sectors } = gameFiles[name];
      sectors.forEach(([track, c, h, r], k) => {
        const first = Math.max(0, k * 1024 - offset);
        const last = Math.min(length, (k + 1) * 1024 - offset) - 1;
        places.set(`${track}/${c}/${h}/${r}`, { name, first, last, track, c, h, r, k });
      });
    }
    return places;
  }

  // The map of one image: tracks across, sector numbers down, each with
  // numbers; a sector's details on pointer, tap and the arrow keys.
  function makeMap(path, image) {
    const places = runPlaces(image.game);
    const cells = new Map();  // 'track/r' -> {record, place, missing}
    let tracks = 80;
    let rows = 5;
    for (const track of image.tracks) {
      tracks = Math.max(tracks, track.index + 1);
      for (const record of track.records) {
        if (record.r < 1 || record.r > 64) continue;
        rows = Math.max(rows, record.r);
        const place = record.n === 3 ? places.get(`${track.index}/${record.c}/${record.h}/${record.r}`) : undefined;
        if (!cells.has(`${track.index}/${record.r}`)) cells.set(`${track.index}/${record.r}`, { record, place, track: track.index });
      }
    }
    let missing = 0;
    for (const place of places.values()) {
      const key = `${place.track}/${place.r}`;
      const cell = cells.get(key);
      if (cell && cell.place === place) continue;
      missing += 1;
      cells.set(key, { record: null, place, track: place.track, missing: true });
    }
    const damaged = [...cells.values()].filter((c) => c.record && isError(c.record.status)).length;

    const figure = document.createElement('figure');
    figure.className = 'map';
    const title = document.createElement('h3');
    const kind = image.game.disk === 'system' ? 'system disk'
      : image.game.disk === 'scenario' ? `scenario disk ${image.game.scenario}`
      : image.game.disk === 'system cut short' ? 'probably the system disk, cut short'
      : 'not a disk of the game';
    title.textContent = `${path}, image ${image.index}: ${image.name} (${kind})`;
    const caption = document.createElement('p');
    const count = (n, one, many) => `${n} ${n === 1 ? one : many}`;
    caption.textContent = `${count(image.tracks.length, 'track', 'tracks')} with records; ` +
      `${count(missing, 'sector', 'sectors')} missing from the runs; ` +
      `${count(damaged, 'sector', 'sectors')} recorded with an error`;
    const scroller = document.createElement('div');
    scroller.className = 'scroller';
    const canvas = document.createElement('canvas');
    // Where the tracks do not fit across, the map turns: tracks down,
    // sector numbers across, its cells as large as the width allows.
    const room = document.documentElement.clientWidth - PAGE_PADDING;
    const turned = MARGIN + tracks * CELL > room;
    const cell = turned ? Math.max(CELL, Math.min(LARGEST, Math.floor((room - MARGIN) / rows))) : CELL;
    // The top-left corner of a sector's cell.
    const at = (track, r) => (turned ? [MARGIN + (r - 1) * cell, MARGIN + track * cell]
      : [MARGIN + track * cell, MARGIN + (r - 1) * cell]);
    canvas.width = MARGIN + (turned ? rows : tracks) * cell;
    canvas.height = MARGIN + (turned ? tracks : rows) * cell;
    canvas.style.width = `${canvas.width}px`;
    canvas.tabIndex = 0;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', `${title.textContent}. ${caption.textContent}. ` +
      `Arrow keys move through the sectors (${turned ? 'down and up' : 'left and right'} from ` +
      'track to track); the details are read out below.');
    const details = document.createElement('p');
    details.className = 'details';
    details.setAttribute('aria-live', 'polite');
    details.textContent = 'Point at a sector, tap it, or focus the map and use the arrow keys.';
    const cursor = { track: 0, r: 1, shown: false };

    const describe = (track, r) => {
      const cell = cells.get(`${track}/${r}`);
      const where = `Track ${track} (C ${track >> 1}, H ${track & 1}), R ${r}`;
      if (!cell) return `${where}: no record.`;
      const part = cell.place
        ? ` ${cell.place.name}'s run${cell.place.last >= cell.place.first
          ? `, its bytes ${cell.place.first}–${cell.place.last}` : ' (before the file begins)'}.` +
          copiesSay(cell.place.name, cell.place.k)
        : ' Not in a file d88cut cuts.';
      if (cell.missing) return `${where}: missing: the run of ${cell.place.name} needs it.${part}`;
      const rec = cell.record;
      const status = STATUS_WORDS[rec.status] || `a read error (status 0x${rec.status.toString(16)})`;
      return `${where}: C ${rec.c} H ${rec.h} R ${rec.r} N ${rec.n}, ${rec.dataSize} data bytes, ` +
        `${status}.${part}`;
    };
    const paint = () => {
      const g = canvas.getContext('2d');
      const style = getComputedStyle(document.documentElement);
      const colour = (key) => style.getPropertyValue(`--${key}`).trim();
      g.clearRect(0, 0, canvas.width, canvas.height);
      g.fillStyle = colour('muted');
      g.font = '10px system-ui, sans-serif';
      // Track numbers every 10 along their side, sector numbers along theirs.
      for (let t = 0; t < tracks; t += 10) {
        const [x, y] = at(t, 1);
        g.textAlign = turned ? 'right' : 'center';
        if (turned) g.fillText(String(t), MARGIN - 4, y + cell / 2 + 4);
        else g.fillText(String(t), x + cell / 2, 12);
      }
      for (let r = 1; r <= rows; r += rows > 16 ? 4 : 1) {
        const [x, y] = at(0, r);
        g.textAlign = turned ? 'center' : 'right';
        if (turned) g.fillText(String(r), x + cell / 2, 12);
        else g.fillText(String(r), MARGIN - 4, y + cell - 2);
      }
      for (const sector of cells.values()) {
        const [x, y] = at(sector.track, sector.record ? sector.record.r : sector.place.r);
        if (sector.missing) {
          g.strokeStyle = colour('bad');
          g.lineWidth = 2;
          g.strokeRect(x + 2, y + 2, cell - 4, cell - 4);
          continue;
        }
        g.fillStyle = colour(isError(sector.record.status) ? 'bad'
          : sector.place ? FILE_KEYS[sector.place.name] : 'other');
        g.fillRect(x + 1, y + 1, cell - 2, cell - 2);
      }
      if (cursor.shown) {
        const [x, y] = at(cursor.track, cursor.r);
        g.strokeStyle = colour('ink');
        g.lineWidth = 2;
        g.strokeRect(x, y, cell, cell);
      }
    };
    // Keeps the cursor's cell on screen: the page scrolls to it.
    const showCursor = () => {
      const box = canvas.getBoundingClientRect();
      const scale = box.height / canvas.height;
      const top = box.top + at(cursor.track, cursor.r)[1] * scale;
      if (top < 0 || top + cell * scale > window.innerHeight) {
        window.scrollBy(0, top - window.innerHeight / 2);
      }
    };
    const moveTo = (track, r) => {
      cursor.track = Math.min(tracks - 1, Math.max(0, track));
      cursor.r = Math.min(rows, Math.max(1, r));
      cursor.shown = true;
      details.textContent = describe(cursor.track, cursor.r);
      paint();
    };
    const atPointer = (event) => {
      const box = canvas.getBoundingClientRect();
      const across = Math.floor(((event.clientX - box.left) * canvas.width / box.width - MARGIN) / cell);
      const down = Math.floor(((event.clientY - box.top) * canvas.height / box.height - MARGIN) / cell);
      const [track, r] = turned ? [down, across + 1] : [across, down + 1];
      if (track >= 0 && track < tracks && r >= 1 && r <= rows) moveTo(track, r);
    };
    canvas.addEventListener('pointermove', atPointer);
    canvas.addEventListener('pointerdown', atPointer);
    canvas.addEventListener('focus', () => moveTo(cursor.track, cursor.r));
    canvas.addEventListener('keydown', (event) => {
      // [tracks, sector numbers] a key moves by, as the map lies.
      const steps = turned
        ? { ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1] }
        : { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
      const step = steps[event.key];
      if (!step) return;
      event.preventDefault();
      moveTo(cursor.track + step[0], cursor.r + step[1]);
      showCursor();
    });
    paint();
    scroller.append(canvas);
    figure.append(title, scroller, details, caption);
    return figure;
  }


  return (path, image, files, copies) => {
    gameFiles = files;
    together = copies || {};
    return makeMap(path, image);
  };
})();
