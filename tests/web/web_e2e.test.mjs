// The browser edition in Debian's headless Chromium, played with real key events and read
// back from the canvases' pixels: the start, the plan's game to a new record, the record
// read back after a reload, the holds, the names that both editions take, failing storage;
// on a phone, the layout and a game by touch.
//   KOSTREL_WEB_DIR   the built page (build/web); KOSTREL_PLAN  the game to play
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
// The plan's game, as kostrel-sim's bot plans it ($KOSTREL_SIM names another kostrel-sim),
// and the pieces as a player sees them, from the end-to-end tests' helpers on PYTHONPATH.
const { plan, SHAPES } = JSON.parse(execFileSync('python3', ['-c',
  'import json; from game_plan import load_plan; from piece_shapes import SHAPES; ' +
  'print(json.dumps({"plan": load_plan(), "SHAPES": SHAPES}))']));

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
// error; returned once the game is there to take keys, which may be after the load event.
async function openPage({ scale = 1, phone } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];
  page.on('console', (message) => message.type() === 'error' && page.errors.push(message.text()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  page.on('dialog', (dialog) => page.errors.push(`a browser dialog: ${dialog.message()}`));
  if (phone) await page.emulate(KnownDevices[phone]);
  else await page.setViewport({ width: 800, height: 600, deviceScaleFactor: scale });
  await page.evaluateOnNewDocument(() => {
    // Whether the session holds the game for the page's cause ('focus', 'hidden', 'dialog').
    window.heldBy = (cause) => pageReady && _kostrel_held_by(HOLD_CAUSES[cause]) !== 0;
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
  });
  await page.goto(pageUrl);
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

// "Nejlepší výsledky..." by the keyboard alone: Alt+H opens "Hra", its letter v picks it.
async function bestResultText(page) {
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyH');
  await page.keyboard.up('Alt');
  await page.keyboard.press('KeyV');
  const shown = await waitForMessage(page, 'Rekord');
  await closeMessage(page);
  return shown;
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

test('the first game to a new record, read back after a reload; blur and About hold it',
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

  await page.reload();
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
  assert.deepEqual(page.errors, []);
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

  // Storage that cannot be read, as when the browser blocks the site's, may hold a record:
  // nothing is saved over it, and a game needs none.
  await page.evaluate(() => Object.defineProperty(window, 'localStorage', {
    get() { throw new DOMException('storage is off', 'SecurityError'); } }));
  assert.equal(await bestResultText(page), UNREADABLE);
  await page.evaluate(() => askForName(7));
  await page.keyboard.press('Enter');
  assert.equal(await waitForMessage(page, 'Rekord'), NOT_SAVED);
  await closeMessage(page);
  await boardChangesAfter(page, 'a game without storage', () => page.keyboard.press('F2'));
  // A menu clicked open and shut gives the arrows back to the game.
  await page.click('.menubar > li > button');
  await page.click('.menubar > li > button');
  await page.keyboard.press('ArrowLeft');
  assert.equal(await page.$('.menubar [aria-expanded=true]'), null);
  assert.deepEqual(page.errors, []);
});

test('a phone: board and buttons on screen; a game by touch, Down held repeats; a dialog stays',
     async () => {
  const page = await openPage({ phone: 'Moto G4' });
  // Once the page has fitted the board's canvas (200 pixels wide in the markup) to the screen:
  // nothing to scroll; the board whole, 1:2, a canvas pixel to each screen pixel; the buttons
  // whole, at least 44 px, and named for a screen reader.
  await page.waitForFunction(() => document.getElementById('board').width !== 200,
                             { timeout: WAIT }).catch(() => {});
  assert.deepEqual(await page.evaluate(() => {
    const onScreen = (box) => box.left >= 0 && box.top >= 0 && box.right <= innerWidth &&
                              box.bottom <= innerHeight;
    const board = document.getElementById('board');
    const box = board.getBoundingClientRect();
    return {
      scrolls: document.documentElement.scrollWidth > innerWidth ||
               document.documentElement.scrollHeight > innerHeight,
      board: onScreen(box) && box.height / box.width,
      pixels: [board.width, board.height].join() === [box.width, box.height].map(
        (side) => Math.round(side * devicePixelRatio)).join(),
      buttons: [...document.querySelectorAll('.controls button')].filter((button) => {
        const place = button.getBoundingClientRect();
        return onScreen(place) && place.width >= 44 && place.height >= 44;
      }).map((button) => button.ariaLabel ?? button.textContent),
    };
  }), { scrolls: false, board: 2, pixels: true,
        buttons: ['Nová hra', 'Doleva', 'Doprava', 'Otočit', 'Dolů'] });

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
  assert.equal(await waitForMessage(page, 'Rekord'), UNREADABLE);
  await page.touchscreen.tap(5, 630);
  assert.ok(await page.$('#message[open]'), 'a tap beside the dialog closed it');
  await page.tap('#message button');
  await page.waitForFunction(() => !document.querySelector('dialog[open]') && !heldBy('dialog'),
                             { timeout: WAIT });
  assert.deepEqual(page.errors, []);
});
