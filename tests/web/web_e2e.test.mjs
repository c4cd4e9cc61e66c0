// The browser edition in Debian's headless Chromium, played with real key events and read
// back from the canvases' pixels: the start, the plan's game to a new record, its shared
// link refereed by kostrel-sim and watched, the record read back after a reload, the holds,
// the names that both editions take, failing storage; the adversaries, their best results
// and why a piece came; codes refused in the address; on a phone, the layout, a game by
// touch and the buttons of watching.
//   KOSTREL_WEB_DIR   the built page (build/web); KOSTREL_SIM  the kostrel-sim that plans the
//   games and referees their codes (build/native/tools/kostrel-sim)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

// The Chromium launcher that the tests share with the measurements, from NODE_PATH.
const { startChromium, KnownDevices } =
    await import(pathToFileURL(createRequire(import.meta.url).resolve('chromium.mjs')).href);
const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const pageUrl = pathToFileURL(join(process.env.KOSTREL_WEB_DIR ?? join(root, 'build', 'web'),
                                   'index.html')).href;
// The plans' games against klasicky and zly, as kostrel-sim's bot plans them, the
// kostrel-sim that planned them ($KOSTREL_SIM names another) and the pieces as a player sees
// them, from the end-to-end tests' helpers on PYTHONPATH.
const { SIM, plan, zlyPlan, SHAPES } = JSON.parse(execFileSync('python3', ['-c',
  'import json; from game_plan import load_plan, sim_path; from piece_shapes import SHAPES; ' +
  'print(json.dumps({"SIM": sim_path(), "plan": load_plan(), ' +
  '"zlyPlan": load_plan(adversary="zly"), "SHAPES": SHAPES}))']));

// kostrel-sim's verdict on a code: the final board, then adversary, rows, pieces and over.
function refereed(code) {
  const lines = execFileSync(SIM, ['replay'], { input: code }).toString().trim().split('\n');
  return { board: lines.slice(0, 20), ...Object.fromEntries(lines.slice(20).map(
    (line) => line.split(' '))) };
}

const WAIT = 10000;  // ms for anything to show; a fall step takes 500
const NAME = 'Žluťoučký kůň';
const UNREADABLE =
    'Nepodařilo se mi přečíst rekord z úložiště prohlížeče, zřejmě ještě žádný nebyl zapsán';
const NOT_SAVED = 'Nepodařilo se mi zapsat rekord do úložiště prohlížeče: je vypnuté nebo plné.';
const BEATEN = 'Mezitím byl uložen stejný nebo vyšší rekord, váš výsledek se proto neuložil.';
const EMPTY_BOARD = Array(20).fill('..........');

let browser;
before(async () => { browser = await startChromium(); });
after(async () => { await browser?.close(); });

// The game's page in a browser context of its own (its own storage and focus), on a desktop
// or the phone named, with a reader of the canvases' cells and a record of every console
// error; with storage 'off', every use of the site's storage throws from the page's start.
// Returned once the game is there to take keys (reopen).
async function openPage({ scale = 1, phone, hash = '', storage = 'works' } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];
  page.on('console', (message) => message.type() === 'error' && page.errors.push(message.text()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  page.on('dialog', (dialog) => page.errors.push(`a browser dialog: ${dialog.message()}`));
  if (phone) await page.emulate(KnownDevices[phone]);
  else await page.setViewport({ width: 800, height: 600, deviceScaleFactor: scale });
  await page.evaluateOnNewDocument((storage) => {
    if (storage === 'off') {  // as when the browser blocks the site's storage
      Object.defineProperty(window, 'localStorage', {
        get() { throw new DOMException('storage is off', 'SecurityError'); } });
    }
    // Whether the session holds the game for the page's cause ('focus', 'hidden', 'dialog').
    window.heldBy = (cause) => pageReady && _kostrel_held_by(HOLD_CAUSES[cause]) !== 0;
    // What shows under the score: the box's title and its lines.
    window.sideShown = () => [document.getElementById('adversary-title').textContent,
      ...[...document.querySelectorAll('#adversary-box p')].filter((line) =>
        line.checkVisibility()).map((line) => line.textContent)];
    // '#' yellow, '.' black, '?' anything else, at each cell's centre, whatever its size.
    window.readGrid = (id) => {
      const canvas = document.getElementById(id);
      const [columns, rows] = id === 'board' ? [10, 20] : [4, 4];
      const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      const colour = (x, y) => {
        const at = (Math.floor(y * canvas.height / rows) * canvas.width +
                    Math.floor(x * canvas.width / columns)) * 4;
        const [red, green, blue] = pixels.slice(at, at + 3);
        return red === 255 && green === 255 && blue === 0 ? '#' : red + green + blue ? '?' : '.';
      };
      return Array.from({ length: rows }, (_, row) => Array.from(
        { length: columns }, (_, column) => colour(column + 0.475, row + 0.475)).join(''));
    };
  }, storage);
  return reopen(page, pageUrl + hash);
}

// Loads the address given, else the page's own again, and waits until the game is there to
// take keys, which may be after the load event: until then a blank canvas reads as an empty
// board and the page's texts are its markup's.
async function reopen(page, address) {
  if (address) await page.goto(address);
  else await page.reload();
  await page.waitForFunction(() => pageReady, { timeout: WAIT });
  return page;
}

// The cells on an empty preview, as readGrid gives it.
function picture(cells) {
  const grid = Array.from({ length: 4 }, () => Array(4).fill('.'));
  for (const [row, column] of cells) grid[row][column] = '#';
  return grid.map((line) => line.join(''));
}

async function grids(page) {
  return page.evaluate(() => ({ board: readGrid('board'), preview: readGrid('preview') }));
}

// Waits until the board and the preview show what is wanted; says what they showed if not.
async function waitForGrids(page, what, wanted) {
  try {
    await page.waitForFunction((wanted) => ['board', 'preview'].every((id) =>
      !wanted[id] || readGrid(id).join('\n') === wanted[id].join('\n')),
      { polling: 'raf', timeout: WAIT }, wanted);
  } catch (error) {
    const seen = await grids(page);
    assert.fail(`waiting for ${what}: ${error.message}\nboard:\n${seen.board.join('\n')}\n` +
                `preview:\n${seen.preview.join('\n')}`);
  }
}

// The row of the falling piece once the board shows it on the stack in column `left`, 4
// where it appears, and at least `keyed` rows below the top besides the fall timer's ticks
// counted in the page's fallTicks.
async function waitForPiece(page, what, stack, cells, { left = 4, keyed = 0 } = {}) {
  const found = await page.waitForFunction((stack, cells, left, keyed) => {
    const seen = readGrid('board');
    const rows = seen.flatMap((line, row) => [...line].some((cell, column) => cell === '#' &&
                                                            stack[row][column] === '.') ? [row] : []);
    const top = rows.length ? rows[0] : 0;
    const wanted = stack.map((line) => [...line]);
    for (const [row, column] of cells) {
      if (!wanted[top + row]) return false;
      wanted[top + row][left + column] = '#';
    }
    return wanted.map((line) => line.join('')).join('\n') === seen.join('\n') &&
           top - (window.fallTicks ?? 0) >= keyed && top + 1;
  }, { polling: 'raf', timeout: WAIT }, stack, cells, left, keyed).catch(async (error) => {
    const state = await page.evaluate(() => JSON.stringify({
      pageReady, holds: Object.keys(HOLD_CAUSES).filter(heldBy), focus: document.hasFocus() }));
    assert.fail(`waiting for ${what}: ${error.message}; page ${state}\nboard:\n` +
                `${(await grids(page)).board.join('\n')}\nstack:\n${stack.join('\n')}`);
  });
  return (await found.jsonValue()) - 1;
}

async function text(page, selector) {
  return page.$eval(selector, (element) => element.textContent);
}

async function waitForMessage(page, caption) {
  await page.waitForFunction((caption) => document.querySelector('#message[open]') &&
    document.getElementById('message-caption').textContent === caption, { timeout: WAIT },
    caption);
  return text(page, '#message-text');
}

// Waits for the effect of Escape on the game too: the page lets go of the game on the
// dialog's close event, which comes after the dialog has left the screen, and a key that
// comes between is taken without acting.
async function closeMessage(page) {
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !document.querySelector('dialog[open]') && !heldBy('dialog'),
                             { timeout: WAIT });
}

// A menu's item by the keyboard alone: Alt with the menu's letter, then the item's.
async function pickMenuItem(page, menu, item) {
  await page.keyboard.down('Alt');
  await page.keyboard.press(menu);
  await page.keyboard.up('Alt');
  await page.keyboard.press(item);
}

// "Nejlepší výsledky..." (Alt+H, v), which names the adversary.
async function bestResultText(page, adversary = 'klasický') {
  await pickMenuItem(page, 'KeyH', 'KeyV');
  const shown = await waitForMessage(page, 'Rekord');
  await closeMessage(page);
  const [result, named] = shown.split('\n');
  assert.equal(named, `Protivník: ${adversary}`);
  return result;
}

// Waits for what shows under the score after an action: the box's title, then its lines.
async function waitForSide(page, what, wanted) {
  await page.waitForFunction((wanted) => sideShown().join('|') === wanted.join('|'),
                             { polling: 'raf', timeout: WAIT }, wanted).catch(async (error) => {
    assert.fail(`waiting for ${what}: ${error.message}; it shows ` +
                `${JSON.stringify(await page.evaluate(() => sideShown()))}`);
  });
}

// Plays a plan's game at once through the page's keys, with no fall tick between them: each
// piece turned, shifted and stepped down to its rest and one more step, which fixes it.
async function playAtOnce(page, plan) {
  await page.evaluate((pieces) => {
    pressKey('F2');
    for (const piece of pieces) {
      [...Array(piece.turns).fill('ArrowUp'),
       ...Array(Math.abs(piece.shift)).fill(piece.shift > 0 ? 'ArrowRight' : 'ArrowLeft'),
       ...Array(piece.rest + 1).fill('ArrowDown')].forEach(pressKey);
    }
  }, plan.pieces);
}

// Plays the plan's game: each piece is turned and shifted where it shows and stepped down
// to one row above its rest at most, so the running fall timer, not a key, fixes it, and a
// tick between two keys changes nothing.
async function playPlan(page) {
  await page.keyboard.press('F2');
  let stack = EMPTY_BOARD;
  for (const [n, piece] of plan.pieces.entries()) {
    const cells = SHAPES[piece.kind][piece.rotation];
    const row = await waitForPiece(page, `piece ${n}, kind ${piece.kind} rotation ` +
                                   `${piece.rotation}, in column 4`, stack, cells);
    await waitForGrids(page, `the preview of piece ${n}`,
                       { preview: picture(SHAPES[piece.preview[0]][piece.preview[1]]) });
    const keys = [...Array(piece.turns).fill('ArrowUp'),
                  ...Array(Math.abs(piece.shift)).fill(piece.shift > 0 ? 'ArrowRight' : 'ArrowLeft'),
                  ...Array(Math.max(0, piece.rest - row - 1)).fill('ArrowDown')];
    for (const key of keys) await page.keyboard.press(key);
    stack = piece.stack;
  }
  await page.waitForFunction((score) => document.getElementById('score').textContent === score,
                             { timeout: WAIT }, String(plan.final_score));
  await page.waitForSelector('#record-dialog[open]', { timeout: WAIT });
}

// Holds the page still for over two fall steps; the board must not change meanwhile.
async function assertHeld(page, what) {
  const held = (await grids(page)).board;
  await new Promise((resolve) => setTimeout(resolve, 1200));
  assert.deepEqual((await grids(page)).board, held, `the board moved while ${what}`);
}

// Runs the action and waits for the board to change after it.
async function boardChangesAfter(page, what, action) {
  const from = (await grids(page)).board;
  await action();
  await page.waitForFunction((from) => readGrid('board').join() !== from.join(),
                             { polling: 'raf', timeout: WAIT }, from).catch(async (error) => {
    const holds = await page.evaluate(() => [...Object.keys(HOLD_CAUSES).filter(heldBy),
                                              document.activeElement.outerHTML]);
    assert.fail(`waiting for ${what}: ${error.message}; holds and focus: ${holds}`);
  });
}

test('the first game to a new record, refereed from its link and watched; blur and About hold it',
     async () => {
  const page = await openPage({ scale: 2 });
  // Before the first game: an empty board and the preview's kind 0 in rotation 0, drawn in
  // whole screen pixels: a preview cell is yellow inside a black frame one pixel wide.
  await waitForGrids(page, 'the start', { board: EMPTY_BOARD, preview: picture(SHAPES[0][0]) });
  const edge = await page.evaluate(() => {
    const row = document.getElementById('preview').getContext('2d').getImageData(0, 20, 40, 1);
    return Array.from({ length: 40 }, (_, x) => (row.data[4 * x + 1] ? 'y' : 'k')).join('');
  });
  assert.equal(edge, `kk${'y'.repeat(36)}kk`);

  // playPlan finds the plan's first piece and preview, which kostrel_sim_test pins, there.
  await playPlan(page);

  const score = plan.final_score;
  assert.equal(await text(page, '#record-prompt'),
               `Vaše skore ${score} je nový rekord, zadejte prosím své jméno`);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'record-name');
  await page.keyboard.type(NAME);
  await page.keyboard.sendCharacter('\u200B');  // a format character is refused
  await page.keyboard.press('Enter');
  await page.waitForFunction((stored) => localStorage.getItem('kostrel-best-result') === stored,
                             { timeout: WAIT }, `${score}\n${NAME}\n`);

  // The game's code, read from the share dialog's link to the page: kostrel-sim replays it
  // to the score, the pieces and the board that the page showed, where the last piece did
  // not fit; it is the record's game.
  const { board } = await grids(page);
  await pickMenuItem(page, 'KeyH', 'KeyS');
  await page.waitForSelector('#share[open]', { timeout: WAIT });
  const [address, code] = (await page.$eval('#share-link', (box) => box.value)).split('#replay=');
  assert.equal(address, pageUrl);
  const { board: grid, ...verdict } = refereed(code);
  const last = grid.map((line) => [...line]);
  for (const [row, column] of SHAPES[plan.pieces.at(-1).preview[0]][plan.pieces.at(-1).preview[1]])
    last[row][4 + column] = '#';
  assert.deepEqual(verdict, { adversary: 'klasicky', rows: String(score),
                              pieces: String(plan.pieces.length), over: '1' });
  assert.deepEqual(board, last.map((line) => line.join('')));
  assert.equal(await page.evaluate(() => localStorage.getItem('kostrel-best-result-replay')),
               code);
  await closeMessage(page);

  await reopen(page);
  await waitForGrids(page, 'the start after the reload', { board: EMPTY_BOARD });
  assert.equal(await bestResultText(page), `Nelepšího skore ${score} dosáhl ${NAME}.`);

  // After a click anywhere, F2, Tab, Left, Shift+Tab, Left: Tab leaves the keys the game's.
  await page.click('.titlebar');
  for (const key of ['F2', 'Tab', 'ArrowLeft']) await page.keyboard.press(key);
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  await page.keyboard.press('ArrowLeft');
  const first = SHAPES[plan.pieces[0].kind][plan.pieces[0].rotation];
  await waitForPiece(page, 'the first piece two columns left', EMPTY_BOARD, first, { left: 2 });
  const other = await page.browserContext().newPage();
  await other.bringToFront();
  await page.waitForFunction(() => !document.hasFocus());
  await assertHeld(page, 'another page had the focus');
  await boardChangesAfter(page, 'the game to go on after the focus came back',
                          () => page.bringToFront());

  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyN');
  await page.keyboard.up('Alt');
  await page.keyboard.press('KeyP');
  assert.equal(await waitForMessage(page, 'Zubrant'),
               'Pokusný Kostrel s zlou umělou inteligencí\nNapsal Varnek');
  await assertHeld(page, 'the About box was open');
  await boardChangesAfter(page, 'the game to go on after the About box',
                          () => closeMessage(page));

  // P pauses; the record's game, watched meanwhile (Alt+H, p), ends at End on the record's
  // board, and Esc gives the game back as it was, paused until P.
  await page.keyboard.press('KeyP');
  await waitForSide(page, 'the pause', ['Protivník', 'klasický', 'pozastaveno (P)']);
  const paused = (await grids(page)).board;
  await pickMenuItem(page, 'KeyH', 'KeyP');
  await waitForSide(page, 'the record watched', ['Přehrávání', 'klasický', 'rychlost 1×',
                                                 'Esc: zpět']);
  await page.keyboard.press('End');
  await waitForSide(page, 'the record\'s end', ['Přehrávání', 'klasický', 'rychlost 1×',
                                                `Záznam skončil, skore ${score}.`, 'Esc: zpět']);
  assert.deepEqual((await grids(page)).board, board);
  await page.keyboard.press('Escape');
  await waitForSide(page, 'the game back', ['Protivník', 'klasický', 'pozastaveno (P)']);
  assert.deepEqual((await grids(page)).board, paused);
  await boardChangesAfter(page, 'the game to go on after P', () => page.keyboard.press('KeyP'));
  assert.deepEqual(page.errors, []);

  // The link opened: watched twice as fast, paused, at End on kostrel-sim's board, and left
  // with Esc for the page's start.
  const watcher = await openPage({ hash: `#replay=${code}` });
  await watcher.keyboard.press('NumpadAdd');
  const watching = ['Přehrávání', 'klasický', 'rychlost 2×'];
  await waitForSide(watcher, 'twice the speed', [...watching, 'Esc: zpět']);
  await watcher.keyboard.press('Space');
  await waitForSide(watcher, 'the pause', [...watching, 'pozastaveno', 'Esc: zpět']);
  await watcher.keyboard.press('End');
  await waitForSide(watcher, 'the end', [...watching, `Záznam skončil, skore ${score}.`,
                                         'Esc: zpět']);
  assert.deepEqual((await grids(watcher)).board, board);
  await watcher.keyboard.press('Escape');
  await waitForSide(watcher, 'the start', ['Protivník', 'klasický']);
  assert.deepEqual((await grids(watcher)).board, EMPTY_BOARD);
  assert.deepEqual(watcher.errors, []);
});

// The table of names that the terminal edition's tests take alike (best_result_test.cpp):
// [name, accepted]; its \uXXXX, one UTF-16 code unit each, are JSON's.
const NAMES = readFileSync(join(root, 'tests', 'model', 'session', 'best_result_names.tsv'), 'utf8')
  .split('\n').filter((line) => line && !line.startsWith('#')).map((line) => line.split('\t'))
  .map(([verdict, times, text]) => [JSON.parse(`"${text}"`).repeat(times), verdict === 'accept']);

test('stored records: the shared names, strict reading, names as text; full and off storage',
     async () => {
  const page = await openPage();
  const store = (value) => page.evaluate((value) => {
    localStorage.setItem('kostrel-best-result', value);
  }, value);
  // The stored form is the C++'s (best_result_test.cpp); an entry too long to hand over too.
  const taken = await page.evaluate((names) => names.map(([name]) => {
    localStorage.setItem('kostrel-best-result', `5\n${name}\n`);
    const read = readBestResult();
    return read !== null && read.score === 5 && read.name === name && acceptableName(name);
  }), [...NAMES, ['x'.repeat(5000), false]]);
  assert.deepEqual(taken, [...NAMES.map(([, accepted]) => accepted), false]);
  const shown = {
    '7\n<img src=x onerror=alert(1)>\n': 'Nelepšího skore 7 dosáhl <img src=x onerror=alert(1)>.',
    '2147483647\n$&\n': 'Nelepšího skore 2147483647 dosáhl $&.',
  };
  for (const [value, expected] of Object.entries(shown)) {
    await store(value);
    assert.equal(await bestResultText(page), expected);
    assert.equal(await page.$('#message img'), null);
  }
  // A record that another tab saved while the prompt was open stays: the save reads again.
  await page.evaluate(() => askForName(7));
  await store('9\nEva\n');
  await page.keyboard.type('Jan');
  await page.keyboard.press('Enter');
  assert.equal(await waitForMessage(page, 'Rekord'), BEATEN);
  await closeMessage(page);
  assert.equal(await page.evaluate(() => localStorage.getItem('kostrel-best-result')), '9\nEva\n');
  // Alt with a key that means something in a selector opens nothing and breaks nothing.
  await page.keyboard.down('Alt');
  await page.keyboard.press('"');
  await page.keyboard.up('Alt');
  // Only the game's keys are kept from the browser.
  assert.deepEqual(await page.evaluate(() => ['ArrowLeft', 'F2', ' ', 'a', 'F1', 'Home'].map(
    (key) => !document.dispatchEvent(new KeyboardEvent('keydown', { key, cancelable: true })))),
                   [true, true, false, false, false, false]);
  // Full storage: the record is not saved, and the player is told.
  await page.evaluate(() => {
    Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
    askForName(10);
  });
  await page.keyboard.press('Enter');
  assert.equal(await waitForMessage(page, 'Rekord'), NOT_SAVED);
  await closeMessage(page);
  // A blur with the focus still there, as when the focus event was missed: F2 ends the hold.
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  await boardChangesAfter(page, 'a new game after a blur', () => page.keyboard.press('F2'));

  assert.deepEqual(page.errors, []);

  // A page loaded with storage that cannot be read, as when the browser blocks the site's,
  // may hold a record: nothing is saved over it, and a game, which nothing has started on
  // the page before F2, needs none.
  const off = await openPage({ storage: 'off' });
  assert.equal(await bestResultText(off), UNREADABLE);
  await off.evaluate(() => askForName(7));
  await off.keyboard.press('Enter');
  assert.equal(await waitForMessage(off, 'Rekord'), NOT_SAVED);
  await closeMessage(off);
  await boardChangesAfter(off, 'a game without storage', () => off.keyboard.press('F2'));
  // A menu clicked open and shut gives the arrows back to the game.
  await off.click('.menubar > li > button');
  await off.click('.menubar > li > button');
  await off.keyboard.press('ArrowLeft');
  assert.equal(await off.$('.menubar [aria-expanded=true]'), null);
  assert.deepEqual(off.errors, []);
});

// The kind whose picture the preview shows, and the kind that the why-this-piece panel marks,
// from the same paint.
async function previewAndMarked(page) {
  return page.evaluate((SHAPES) => {
    const preview = readGrid('preview').join('');
    const shown = SHAPES.findIndex((rotations) => rotations.some((cells) => {
      const grid = Array.from({ length: 16 }, () => '.');
      for (const [row, column] of cells) grid[row * 4 + column] = '#';
      return grid.join('') === preview;
    }));
    return [shown, Number(document.querySelector('#why-kinds .chosen')?.dataset.kind)];
  }, SHAPES);
}

test('adversaries: chosen and remembered, from the address; a best result each; why this piece',
     async () => {
  const page = await openPage();
  await page.evaluate(() => localStorage.setItem('kostrel-best-result', '3\nEva\n'));
  // Alt+P lists the game's adversaries with klasický marked; z picks zlý for the next game.
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyP');
  await page.keyboard.up('Alt');
  assert.deepEqual(await page.$$eval('#menu-adversary-items button', (items) => items.map(
    (item) => `${item.textContent} ${item.getAttribute('aria-checked')}`)),
                   ['klasický true', 'zlý false', 'S a Z false', 'náhodný false']);
  await page.keyboard.press('KeyZ');
  await waitForSide(page, 'zlý chosen', ['Protivník', 'zlý']);
  assert.equal(await page.evaluate(() => localStorage.getItem('kostrel-adversary')), 'zly');

  // A record against zlý goes to its own entries, and klasický's stays as it was.
  await playAtOnce(page, zlyPlan);
  await page.waitForSelector('#record-dialog[open]', { timeout: WAIT });
  await page.keyboard.type('Jan');
  await page.keyboard.press('Enter');
  await page.waitForFunction((stored) => localStorage.getItem('kostrel-best-result-zly') ===
                             stored, { timeout: WAIT }, `${zlyPlan.final_score}\nJan\n`);
  assert.deepEqual(await page.evaluate(() => [localStorage.getItem('kostrel-best-result'),
    localStorage.getItem('kostrel-best-result-zly-replay').split('.').slice(0, 2).join('.')]),
                   ['3\nEva\n', 'kostrel1.zly']);

  // Remembered across a reload; the why-this-piece panel marks the preview's kind.
  await reopen(page);
  await waitForSide(page, 'zlý remembered', ['Protivník', 'zlý']);
  assert.equal(await bestResultText(page, 'zlý'), `Nelepšího skore ${zlyPlan.final_score} ` +
               'dosáhl Jan.');
  await page.keyboard.press('F2');
  await pickMenuItem(page, 'KeyN', 'KeyD');
  await page.waitForSelector('#why-kinds .chosen', { timeout: WAIT });
  const [shown, marked] = await previewAndMarked(page);
  assert.ok(shown >= 0 && shown === marked, `the preview shows ${shown}, the panel marks ${marked}`);
  assert.deepEqual(page.errors, []);

  // The address's adversary wins for the visit; an unknown one, in the address or remembered,
  // gives klasický with a notice. Codes that cannot be watched say why, and the game starts.
  const address = await openPage({ hash: '#adversary=sz' });
  await waitForSide(address, 'S a Z from the address', ['Protivník', 'S a Z']);
  const unknown = await openPage({ hash: '#adversary=xyz' });
  assert.equal(await waitForMessage(unknown, 'Protivník'),
               'Protivníka „xyz“ z adresy stránky neznám, hraje klasický.');
  await closeMessage(unknown);
  await unknown.evaluate(() => localStorage.setItem('kostrel-adversary', 'novy'));
  await reopen(unknown, pageUrl);
  assert.equal(await waitForMessage(unknown, 'Protivník'),
               'Zapamatovaného protivníka neznám, hraje klasický.');
  await closeMessage(unknown);
  await waitForSide(unknown, 'klasický', ['Protivník', 'klasický']);
  const megabyte = `kostrel1.klasicky.0029e2c0.00.${'t9999'.repeat(200000)}`;
  for (const [code, reason] of [
    ['kostrel1.klasicky.0029e2c0.00.t0', 'count "0" instead of 2..9999 at character 32'],
    [megabyte, 'events after the game\'s end at character ']]) {
    const refused = await openPage({ hash: `#replay=${code}` });
    const said = await waitForMessage(refused, 'Záznam hry');
    assert.ok(said.startsWith(`Záznam hry nelze přehrát: bad replay: ${reason}`), said);
    await closeMessage(refused);
    await boardChangesAfter(refused, 'a game after a refused code',
                            () => refused.keyboard.press('F2'));
    await refused.browserContext().close();
  }
  assert.deepEqual([...address.errors, ...unknown.errors], []);
});

// The on-screen buttons that show whole, at least 44 px, by their names for a screen reader.
async function shownButtons(page) {
  return page.evaluate(() => [...document.querySelectorAll('.controls button')].filter((button) => {
    const place = button.getBoundingClientRect();
    return place.left >= 0 && place.top >= 0 && place.right <= innerWidth &&
           place.bottom <= innerHeight && place.width >= 44 && place.height >= 44;
  }).map((button) => button.ariaLabel ?? button.textContent.replace(/\s+/g, ' ')));
}

test('a phone: board and buttons on screen; a game by touch, Down held repeats; a dialog stays',
     async () => {
  const page = await openPage({ phone: 'Moto G4' });
  // Once the page has fitted the board's canvas (200 pixels wide in the markup) to the screen:
  // nothing to scroll; the board whole, 1:2, a canvas pixel to each screen pixel; the buttons
  // whole, at least 44 px, and named for a screen reader.
  await page.waitForFunction(() => document.getElementById('board').width !== 200,
                             { timeout: WAIT }).catch(() => {});
  assert.deepEqual(await page.evaluate(() => {
    const board = document.getElementById('board');
    const box = board.getBoundingClientRect();
    return {
      scrolls: document.documentElement.scrollWidth > innerWidth ||
               document.documentElement.scrollHeight > innerHeight,
      board: box.left >= 0 && box.top >= 0 && box.right <= innerWidth &&
             box.bottom <= innerHeight && box.height / box.width,
      pixels: [board.width, board.height].join() === [box.width, box.height].map(
        (side) => Math.round(side * devicePixelRatio)).join(),
    };
  }), { scrolls: false, board: 2, pixels: true });
  assert.deepEqual(await shownButtons(page),
                   ['Nová hra', 'Doleva', 'Doprava', 'Otočit', 'Dolů', 'Pauza']);

  // Counts the fall timer's ticks; a first call, before any game, binds emscripten's export.
  await page.evaluate(() => {
    _kostrel_fall_alarm();
    const tick = _kostrel_fall_alarm;
    window.fallTicks = 0;
    _kostrel_fall_alarm = () => { ++window.fallTicks; tick(); };
  });
  const first = SHAPES[plan.pieces[0].kind][plan.pieces[0].rotation];
  await page.tap('.controls [data-key=F2]');
  await waitForPiece(page, 'the first piece after "Nová hra"', EMPTY_BOARD, first);
  await page.tap('[aria-label=Doleva]');
  await waitForPiece(page, 'the piece one column left', EMPTY_BOARD, first, { left: 3 });
  // Held, Down moves the piece more rows than the fall timer's ticks and one press can, in
  // the column where one tap on Left put it.
  const top = await page.evaluate(() => {
    window.fallTicks = 0;
    return readGrid('board').findIndex((line) => line.includes('#'));
  });
  const down = await (await page.$('[aria-label=Dolů]')).boundingBox();
  await page.touchscreen.touchStart(down.x + down.width / 2, down.y + down.height / 2);
  await waitForPiece(page, 'the piece while Down is held', EMPTY_BOARD, first,
                     { left: 3, keyed: top + 4 });
  await page.touchscreen.touchEnd();

  // The menu and a dialog by touch; a tap beside the dialog leaves it open.
  await page.tap('#menu-game');
  await page.tap('[data-command=best-result]');
  assert.equal(await waitForMessage(page, 'Rekord'), `${UNREADABLE}\nProtivník: klasický`);
  // The tap's last event is its click; the check waits a task after it, when every handler
  // of the tap has run.
  await page.evaluate(() => {
    window.tapped = new Promise((resolve) => addEventListener('click', () => setTimeout(resolve),
                                                              { capture: true, once: true }));
  });
  await page.touchscreen.tap(5, 630);
  await page.waitForFunction(() => tapped.then(() => true), { timeout: WAIT });
  assert.ok(await page.$('#message[open]'), 'a tap beside the dialog closed it');
  await page.tap('#message button');
  await page.waitForFunction(() => !document.querySelector('dialog[open]') && !heldBy('dialog'),
                             { timeout: WAIT });

  // A link followed during the game: the buttons of watching replace the game's until "Zpět
  // ke hře", which gives the game back paused until its own pause button.
  await page.evaluate(() => { location.hash = '#replay=kostrel1.klasicky.0029e2c0.00.t40'; });
  await waitForSide(page, 'the link watched', ['Přehrávání', 'klasický', 'rychlost 1×']);
  assert.deepEqual(await shownButtons(page),
                   ['Pauza', 'Pomaleji', 'Rychleji', 'Na konec', 'Zpět ke hře']);
  await page.tap('[data-key=Escape]');
  await waitForSide(page, 'the game back', ['Protivník', 'klasický', 'pozastaveno (P)']);
  await boardChangesAfter(page, 'the game to go on', () => page.tap('[data-key=p]'));
  assert.deepEqual(page.errors, []);
});
