// The page around the game: the menu, the dialogs, the keys, the on-screen buttons, the
// focus, what shows beside the board and the links that the address holds. The game, its
// holds, its adversaries, its replays and the best result's form are the C++ session's; this
// script only hands it keys and texts and tells it what holds the game.
var TEXT_NEW_RECORD_PROMPT = 'Vaše skore %d je nový rekord, zadejte prosím své jméno';
var TEXT_RECORD_CAPTION = 'Rekord';
var TEXT_BEST_RESULT = 'Nelepšího skore %d dosáhl %s.';
var TEXT_BEST_RESULT_UNREADABLE =
    'Nepodařilo se mi přečíst rekord z úložiště prohlížeče, zřejmě ještě žádný nebyl zapsán';
var TEXT_RECORD_NOT_SAVED =
    'Nepodařilo se mi zapsat rekord do úložiště prohlížeče: je vypnuté nebo plné.';
var TEXT_RECORD_BEATEN =
    'Mezitím byl uložen stejný nebo vyšší rekord, váš výsledek se proto neuložil.';
var TEXT_ABOUT_CAPTION = 'Zubrant';
var TEXT_ABOUT = 'Pokusný Kostrel s zlou umělou inteligencí\nNapsal Varnek';
var TEXT_BEST_ADVERSARY = 'Protivník: %s';
var TEXT_ADVERSARY_CAPTION = 'Protivník';
var TEXT_UNKNOWN_IN_ADDRESS = 'Protivníka „%s“ z adresy stránky neznám, hraje %s.';
var TEXT_UNKNOWN_REMEMBERED = 'Zapamatovaného protivníka neznám, hraje %s.';
var TEXT_NEXT_ADVERSARY = 'další hra: %s';
var TEXT_PAUSED = 'pozastaveno';
var TEXT_GAME_PAUSED = 'pozastaveno (P)';
var TEXT_WATCHING = 'Přehrávání';
var TEXT_WATCH_TITLE = 'Kostrel – přehrávání';
var TEXT_SPEED = 'rychlost %s';
var TEXT_WATCH_OVER = 'Záznam skončil, skore %s.';
var TEXT_REPLAY_CAPTION = 'Záznam hry';
var TEXT_BAD_REPLAY = 'Záznam hry nelze přehrát: %s';
var TEXT_NO_RECORD = 'Protivník %s zatím nemá žádný rekord.';
var TEXT_NO_RECORD_GAME = 'Hra rekordu protivníka %s není uložená.';
var TEXT_SHARE_CAPTION = 'Sdílet hru';
var TEXT_NOTHING_TO_SHARE = 'Zatím nebyla odehrána žádná hra.';
var TEXT_COPIED = 'Odkaz je zkopírovaný.';
var TEXT_SELECTED = 'Odkaz je označený, zkopírujte ho klávesami Ctrl+C.';
var TEXT_NO_CHOICE = 'Zatím nebyl vybrán žádný dílek.';
var TEXT_BLIND = 'Protivník %s vybírá dílky, aniž se dívá na plochu.';
var TEXT_SCORED = 'vyšší = horší';

var pageReady = false;
// What may hold the game still, as the session numbers the causes: the focus gone to
// another window, a hidden page, a dialog.
var HOLD_CAUSES = { focus: 1, hidden: 2, dialog: 4 };
// The keys that play by event.key, as the Windows virtual-key codes that the session takes:
// the game's, its pause, and those of a replay watched.
var VIRTUAL_KEYS = {
  ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, F2: 0x71, p: 0x50, P: 0x50,
  ' ': 0x20, '+': 0x6B, '-': 0x6D, End: 0x23, Escape: 0x1B, q: 0x51, Q: 0x51,
};

function holdGame(cause, held) {
  if (held) releaseButtons();  // a held button would end the focus hold with its keys
  if (pageReady) _kostrel_hold(HOLD_CAUSES[cause], held ? 1 : 0);
}

// Hands a key to the session by its event.key, or '' for a key that does not play: every
// key proves the focus. True for the game's keys.
function pressKey(key) {
  var virtualKey = VIRTUAL_KEYS.hasOwnProperty(key) ? VIRTUAL_KEYS[key] : 0;
  return pageReady && _kostrel_key_down(virtualKey) !== 0;
}

// Hands a text to the C++ as UTF-16 code units, so that a lone surrogate reaches it as
// such; the count, which the C++ refuses when the text did not fit.
function passText(text) {
  var units = _kostrel_text_units(text.length);
  for (var at = 0; units !== 0 && at < text.length; ++at)
    HEAPU16[(units >> 1) + at] = text.charCodeAt(at);
  return units !== 0 ? text.length : -1;
}

// Whether the name prompt may hold this text; an empty one is saved as "?".
function acceptableName(name) {
  return _kostrel_name_allowed(passText(name)) !== 0;
}

// The stored best result as {score, name}, or null for none: missing, unreadable or of any
// other form.
function readBestResult() {
  var score = _kostrel_read_best();
  return score < 0 ? null : { score: score, name: UTF8ToString(_kostrel_best_name()) };
}

function element(id) {
  return document.getElementById(id);
}

// Every dialog is modal and holds the game while it is open; `closed` gets its return value.
// One opens at a time: a dialog asked for while another is open waits for it to close, and
// `filling` puts in its texts when it opens.
var waitingDialogs = [];

function openDialog(dialog, closed, filling) {
  if (document.querySelector('dialog[open]') !== null) {
    waitingDialogs.push(function () { openDialog(dialog, closed, filling); });
    return;
  }
  if (filling) filling();
  holdGame('dialog', true);
  dialog.addEventListener('close', function () {
    holdGame('dialog', false);
    if (closed) closed(dialog.returnValue);
    if (waitingDialogs.length && document.querySelector('dialog[open]') === null)
      waitingDialogs.shift()();
  }, { once: true });
  dialog.returnValue = '';
  dialog.showModal();
}

// A message box with one OK button. The text is set as text, never parsed as HTML.
function showMessage(caption, text, closed) {
  openDialog(element('message'), closed, function () {
    element('message-caption').textContent = caption;
    element('message-text').textContent = text;
  });
}

// The text with each %s replaced by the next value, as it is: no "$&" in a value is read as
// a pattern.
function filled(text) {
  var values = Array.prototype.slice.call(arguments, 1);
  return text.replace(/%[sd]/g, function () { return String(values.shift()); });
}

function adversaryName(index) {
  return UTF8ToString(_kostrel_adversary_name(index));
}

function showBestResult() {
  var record = readBestResult();
  showMessage(TEXT_RECORD_CAPTION, (record === null ? TEXT_BEST_RESULT_UNREADABLE
      : filled(TEXT_BEST_RESULT, record.score, record.name)) + '\n' +
      filled(TEXT_BEST_ADVERSARY, adversaryName(_kostrel_chosen_adversary())));
}

function showAbout() {
  showMessage(TEXT_ABOUT_CAPTION, TEXT_ABOUT);
}

// The prompt refuses an edit that would make the name unstorable and keeps it as it was.
function guardNameBox(box) {
  var before = null;
  box.addEventListener('beforeinput', function () {
    before = { value: box.value, start: box.selectionStart, end: box.selectionEnd };
  });
  box.addEventListener('input', function () {
    if (acceptableName(box.value) || before === null) return;
    box.value = before.value;
    box.setSelectionRange(before.start, before.end);
  });
}

function askForName(score) {
  var box = element('record-name');
  box.value = '';
  element('record-prompt').textContent = filled(TEXT_NEW_RECORD_PROMPT, score);
  var client = document.querySelector('.client').getBoundingClientRect();
  element('record-dialog').style.left = client.left + 'px';
  element('record-dialog').style.top = client.top + 'px';
  // Enter or OK saves; Esc or Cancel saves nothing.
  // A save finds the entry saved (0), beaten by another tab's meanwhile (1) or failed (2).
  openDialog(element('record-dialog'), function (answer) {
    var outcome = answer === 'ok' ? _kostrel_save_best(score, passText(box.value)) : 0;
    if (outcome !== 0)
      showMessage(TEXT_RECORD_CAPTION, outcome === 1 ? TEXT_RECORD_BEATEN : TEXT_RECORD_NOT_SAVED);
  });
}

// Called when a game is over: a new best result asks for a name.
Module['onGameEnded'] = function (score, newBest) {
  if (newBest) askForName(score);
};

// The share dialog: a link to the last game, in progress or finished, as the page's own
// address (without its fragment) with #replay=CODE, and a button that copies it.
function showShare() {
  var code = UTF8ToString(_kostrel_last_code());
  if (code === '') {
    showMessage(TEXT_SHARE_CAPTION, TEXT_NOTHING_TO_SHARE);
    return;
  }
  openDialog(element('share'), null, function () {
    element('share-link').value = location.href.split('#')[0] + '#replay=' + code;
    element('share-note').textContent = '';
  });
}

// The clipboard where the page may use it; otherwise the link selected, for Ctrl+C.
function copyLink() {
  var link = element('share-link');
  function select() {
    link.focus();
    link.select();
    element('share-note').textContent = TEXT_SELECTED;
  }
  if (!navigator.clipboard || !navigator.clipboard.writeText) {
    select();
    return;
  }
  navigator.clipboard.writeText(link.value).then(function () {
    element('share-note').textContent = TEXT_COPIED;
  }, select);
}

// Watches a replay code of any length, or says why it cannot be watched.
function watchCode(code) {
  var bytes = _kostrel_code_bytes(code.length);
  for (var at = 0; at < code.length; ++at) {
    var unit = code.charCodeAt(at);
    HEAPU8[bytes + at] = unit < 0x80 ? unit : 0xFF;  // beyond ASCII: a byte no code has
  }
  if (_kostrel_watch_code() === 0)
    showMessage(TEXT_REPLAY_CAPTION, filled(TEXT_BAD_REPLAY, UTF8ToString(_kostrel_refusal())));
}

function watchBest() {
  var outcome = _kostrel_watch_best();  // 0 watching, 1 no best result, 2 no game for it
  if (outcome !== 0) {
    showMessage(TEXT_REPLAY_CAPTION, filled(outcome === 1 ? TEXT_NO_RECORD : TEXT_NO_RECORD_GAME,
                                            adversaryName(_kostrel_chosen_adversary())));
  }
}

// The address's fragment as its parts: #adversary=ID and #replay=CODE, joined by "&".
function addressParts() {
  var parts = {};
  location.hash.slice(1).split('&').forEach(function (part) {
    var equals = part.indexOf('=');
    if (equals > 0) parts[part.slice(0, equals)] = part.slice(equals + 1);
  });
  return parts;
}

// What the address asks for: the adversary of this visit's games, which the remembered one
// gives way to, and a replay to watch.
function openAddress(remembered) {
  var parts = addressParts();
  if (parts.hasOwnProperty('adversary')) {
    var id = parts.adversary;
    try {
      id = decodeURIComponent(id);
    } catch (malformed) {
      // shown as it came
    }
    if (_kostrel_choose_named(passText(id)) < 0) {
      showMessage(TEXT_ADVERSARY_CAPTION, filled(TEXT_UNKNOWN_IN_ADDRESS, id.slice(0, 40),
                                                 adversaryName(_kostrel_chosen_adversary())));
    }
  } else if (remembered === -1) {
    showMessage(TEXT_ADVERSARY_CAPTION,
                filled(TEXT_UNKNOWN_REMEMBERED, adversaryName(_kostrel_chosen_adversary())));
  }
  markAdversary();
  if (parts.hasOwnProperty('replay')) watchCode(parts.replay);
}

// The menu marks the adversary of the next game.
function markAdversary() {
  var chosen = String(_kostrel_chosen_adversary());
  document.querySelectorAll('[data-command=adversary]').forEach(function (item) {
    item.setAttribute('aria-checked', String(item.dataset.adversary === chosen));
  });
}

// Chosen in the menu: remembered, and the address's choice, if it had one, is dropped from
// it, so that a reload keeps the menu's.
function chooseAdversary(item) {
  _kostrel_choose_adversary(Number(item.dataset.adversary));
  markAdversary();
  if (addressParts().hasOwnProperty('adversary'))
    history.replaceState(null, '', location.href.split('#')[0]);
}

// The menu's items for the adversaries, by the game's names; the first letter picks one.
function addAdversaryItems() {
  var menu = element('menu-adversary-items');
  for (var index = 0; _kostrel_adversary_name(index) !== 0; ++index) {
    var name = adversaryName(index);
    var item = document.createElement('button');
    item.setAttribute('role', 'menuitemradio');
    item.dataset.command = 'adversary';
    item.dataset.adversary = index;
    item.dataset.letter = name[0].toLowerCase();
    var letter = document.createElement('u');
    letter.textContent = name[0];
    item.append(letter, name.slice(1));
    var entry = document.createElement('li');
    entry.append(item);
    menu.append(entry);
  }
}

// The menu bar, worked by mouse and keys: Alt with the underlined letter or F10 opens it,
// the arrows walk it, a menu's underlined letter picks an item, Esc leaves it.
var menuCommands = {
  'new-game': function () { if (pageReady) _kostrel_new_game(); },
  'best-result': function () { if (pageReady) showBestResult(); },
  'share': function () { if (pageReady) showShare(); },
  'watch-best': function () { if (pageReady) watchBest(); },
  'adversary': chooseAdversary,
  'about': showAbout,
  'why': function (item) { if (pageReady) showWhy(item.getAttribute('aria-checked') !== 'true'); },
};

function menuButtons() {
  return Array.from(document.querySelectorAll('.menubar > li > button'));
}

// The button among these whose underlined letter the key is, if any.
function withLetter(buttons, key) {
  var letter = key.toLowerCase();
  return buttons.find(function (each) { return each.dataset.letter === letter; });
}

function openMenu(button, focusItem) {
  closeMenus();
  button.setAttribute('aria-expanded', 'true');
  var items = element(button.getAttribute('aria-controls'));
  items.hidden = false;
  (focusItem ? items.querySelector('button') : button).focus();
}

function closeMenus() {
  menuButtons().forEach(function (button) {
    button.setAttribute('aria-expanded', 'false');
    element(button.getAttribute('aria-controls')).hidden = true;
  });
}

// Leaves the menu bar: the keys belong to the game again.
function leaveMenu() {
  closeMenus();
  if (document.activeElement) document.activeElement.blur();
}

function runMenuItem(item) {
  leaveMenu();
  menuCommands[item.dataset.command](item);
}

// Keys in the menu bar. Tab, Enter and Space do what they do on any button.
function onMenuKey(event) {
  var buttons = menuButtons();
  var menu = event.target.closest('.menubar > li');
  var button = menu.firstElementChild;
  var item = event.target.closest('[role=menu] button');
  var items = Array.from(menu.querySelectorAll('[role=menu] button'));
  switch (event.key) {
  case 'ArrowLeft':
  case 'ArrowRight':
    var next = buttons.indexOf(button) + (event.key === 'ArrowRight' ? 1 : -1);
    openMenu(buttons[(next + buttons.length) % buttons.length], item !== null);
    break;
  case 'ArrowDown':
  case 'ArrowUp':
    if (item === null) {
      openMenu(button, true);
      break;
    }
    var below = items.indexOf(item) + (event.key === 'ArrowDown' ? 1 : -1);
    items[(below + items.length) % items.length].focus();
    break;
  case 'Escape':
  case 'F10':
    if (item !== null) openMenu(button, false);
    else leaveMenu();
    break;
  default:
    var picked = item && withLetter(items, event.key);
    if (!picked) return;
    runMenuItem(picked);
  }
  event.preventDefault();
}

// Whether the menu bar has the focus, which only F10, Alt or a click gives it: it has the keys.
function inMenu(node) {
  return !!(node && node.closest && node.closest('.menubar'));
}

function onKeyDown(event) {
  // Keys reach only a page that has the focus, so every key goes to the session, which
  // ends a focus hold on it: a page that loaded while its window was being activated may
  // never get the focus event. The game's keys play wherever the focus is, except in the
  // dialogs and the menu.
  var dialogOpen = document.querySelector('dialog[open]') !== null;
  var menu = inMenu(event.target);
  var forGame = !dialogOpen && !menu && !event.ctrlKey && !event.altKey && !event.metaKey;
  if (pressKey(forGame ? event.key : '')) {
    event.preventDefault();  // the arrows would scroll the page, F2 is the browser's
    return;
  }
  if (dialogOpen) return;  // the dialog has the keys
  if (event.key === 'Tab' && !menu) {
    event.preventDefault();  // the focus stays with the game and its keys
    return;
  }
  if (event.altKey && !event.ctrlKey) {
    var button = withLetter(menuButtons(), event.key);
    if (button) {
      openMenu(button, true);
      event.preventDefault();
    }
    return;
  }
  if (menu) {
    onMenuKey(event);
  } else if (event.key === 'F10') {
    menuButtons()[0].focus();
    event.preventDefault();
  }
}

function setUpMenu() {
  menuButtons().forEach(function (button) {
    button.addEventListener('click', function () {
      if (button.getAttribute('aria-expanded') === 'true') leaveMenu();
      else openMenu(button, false);
    });
  });
  document.querySelectorAll('[role=menu]').forEach(function (menu) {
    menu.addEventListener('click', function (event) {
      var item = event.target.closest('button');
      if (item) runMenuItem(item);
    });
  });
  // A tap or click elsewhere leaves the menu, and the keys are the game's again.
  document.addEventListener('pointerdown', function (event) {
    if (inMenu(event.target)) return;
    closeMenus();
    if (inMenu(document.activeElement)) document.activeElement.blur();
  });
}

// The on-screen buttons. A press is one key, the button's data-key, handed over as a typed
// key is; one with data-repeat held presses it again after 300 ms, then 20 times a second,
// like a held key. A press is taken when the pointer goes down, and the click that follows
// it is not, whatever button it lands on (a press may show another set of buttons under the
// pointer); a click without a pointer, as a screen reader gives, is one press.
var REPEAT_AFTER_MS = 300;
var REPEAT_EVERY_MS = 50;
var heldButtons = new Map();  // the repeat's timer by the pointer that holds the button
var pressedByPointer = false;  // the click to come is of a press already taken

function releaseButton(pointerId) {
  clearTimeout(heldButtons.get(pointerId));  // a timeout's or an interval's
  heldButtons.delete(pointerId);
}

function releaseButtons() {
  heldButtons.forEach(function (timer, pointerId) { releaseButton(pointerId); });
}

// Shows the buttons of one set (data-set) and hides the others.
function showButtonSet(name) {
  releaseButtons();
  document.querySelectorAll('.button-set').forEach(function (set) {
    set.hidden = set.dataset.set !== name;
  });
}

function setUpButtons() {
  var bar = document.querySelector('.controls');
  bar.addEventListener('pointerdown', function (event) {
    var button = event.target.closest('button');
    if (!button || event.button !== 0) return;
    event.preventDefault();  // the focus stays where it is, and nothing is selected
    pressedByPointer = true;
    pressKey(button.dataset.key);
    var pointerId = event.pointerId;
    button.setPointerCapture(pointerId);  // its release comes here wherever it is
    button.classList.add('pressed');      // which :active would not show after preventDefault
    releaseButton(pointerId);
    if (!button.hasAttribute('data-repeat')) return;
    heldButtons.set(pointerId, setTimeout(function () {
      heldButtons.set(pointerId, setInterval(pressKey, REPEAT_EVERY_MS, button.dataset.key));
    }, REPEAT_AFTER_MS));
  });
  ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) {
    bar.addEventListener(type, function (event) {
      releaseButton(event.pointerId);
      event.target.classList.remove('pressed');
      if (type === 'pointercancel') pressedByPointer = false;  // no click comes
    });
  });
  bar.addEventListener('click', function (event) {
    var button = event.target.closest('button');
    if (button && !pressedByPointer) pressKey(button.dataset.key);
    pressedByPointer = false;
  });
  // A long press holds a button; it opens no menu.
  bar.addEventListener('contextmenu', function (event) { event.preventDefault(); });
}

// What shows beside the board, as the session's paint tells it: whose game it is, the next
// game's adversary when another is chosen, the player's pause; while a replay is watched,
// its adversary, its speed, its pause and its end, the title saying so, and the buttons of
// watching. Only what changes is touched.
var shownWatching = null;  // whether the last paint showed a replay; null before the first

function setText(id, text) {
  var node = element(id);
  if (node.textContent !== text) node.textContent = text;
}

function speedText(power) {
  return power >= 0 ? (1 << power) + '×' : '1/' + (1 << -power) + '×';
}

Module['showState'] = function (state) {
  var watching = state.watching;
  setText('adversary-title', watching ? TEXT_WATCHING : TEXT_ADVERSARY_CAPTION);
  setText('adversary-name', adversaryName(state.adversary));
  var line = '';
  if (watching) line = filled(TEXT_SPEED, speedText(state.speed));
  else if (state.playerPaused) line = TEXT_GAME_PAUSED;
  else if (state.nextAdversary !== state.adversary)
    line = filled(TEXT_NEXT_ADVERSARY, adversaryName(state.nextAdversary));
  setText('state-line', line);
  setText('watch-end', !watching ? '' : state.over
      ? filled(TEXT_WATCH_OVER, element('score').textContent) : state.paused ? TEXT_PAUSED : '');
  if (watching !== shownWatching) {
    element('watch-keys').hidden = !watching;
    document.querySelector('.titlebar').textContent = watching ? TEXT_WATCH_TITLE : 'Kostrel';
    showButtonSet(watching ? 'watch' : 'game');
  }
  shownWatching = watching;
};

// The why-this-piece panel: while it is on, the paint tells it what the adversary saw when it
// chose the preview's piece (shown: 0 nothing chosen yet, 1 chosen without looking, 2 every
// kind scored), then each kind's score.
function showWhy(on) {
  document.querySelector('[data-command=why]').setAttribute('aria-checked', String(on));
  element('why').hidden = !on;
  _kostrel_show_choice(on ? 1 : 0);
}

Module['showChoice'] = function (shown, adversary, chosen) {
  element('why-kinds').hidden = shown !== 2;
  setText('why-text', shown === 2 ? TEXT_SCORED : shown === 1
      ? filled(TEXT_BLIND, adversaryName(adversary)) : TEXT_NO_CHOICE);
  element('why-kinds').querySelectorAll('li').forEach(function (row, kind) {
    var marked = shown === 2 && kind === chosen;
    row.classList.toggle('chosen', marked);
    if (marked) row.setAttribute('aria-current', 'true');
    else row.removeAttribute('aria-current');
  });
};

// The badness of the kind's best answer, and how often its board came before, if it did.
Module['showKind'] = function (kind, badness, timesSeen) {
  var row = element('why-kinds').children[kind];
  var text = String(badness) + (timesSeen > 0 ? ' ↻' + timesSeen : '');
  var cell = row.querySelector('.badness');
  if (cell.textContent !== text) cell.textContent = text;
};

// A row for each kind with its picture, drawn as the preview draws it, in screen pixels.
function addWhyRows() {
  var list = element('why-kinds');
  for (var kind = 0; _kostrel_kind_picture(kind) !== 0; ++kind) {
    var picture = UTF8ToString(_kostrel_kind_picture(kind), 16);
    var row = document.createElement('li');
    row.dataset.kind = kind;
    var canvas = document.createElement('canvas');
    var side = Math.round(16 * (window.devicePixelRatio || 1));
    canvas.width = canvas.height = side;
    canvas.setAttribute('aria-hidden', 'true');
    var context = canvas.getContext('2d', { alpha: false });
    context.fillStyle = '#000';
    context.fillRect(0, 0, side, side);
    context.fillStyle = '#ff0';
    for (var cell = 0; cell < 16; ++cell) {
      if (picture[cell] === ' ') continue;
      var left = Math.round((cell % 4) * side / 4);
      var top = Math.round(Math.floor(cell / 4) * side / 4);
      context.fillRect(left, top, Math.round(((cell % 4) + 1) * side / 4) - left - 1,
                       Math.round((Math.floor(cell / 4) + 1) * side / 4) - top - 1);
    }
    var badness = document.createElement('span');
    badness.className = 'badness';
    row.append(canvas, badness);
    list.append(row);
  }
}

function setUpPage() {
  setUpMenu();
  setUpButtons();
  guardNameBox(element('record-name'));
  element('share-copy').addEventListener('click', copyLink);
  document.addEventListener('keydown', onKeyDown);
  // Like another program becoming active on Windows: the focus gone or the page hidden.
  window.addEventListener('blur', function () { holdGame('focus', true); });
  window.addEventListener('focus', function () { holdGame('focus', false); });
  document.addEventListener('visibilitychange', function () {
    holdGame('hidden', document.hidden);
  });
}

// The adversary remembered, then what the address asks for, which a link followed later in
// the same page asks for again.
Module['onRuntimeInitialized'] = function () {
  _kostrel_start();
  pageReady = true;
  addAdversaryItems();
  addWhyRows();
  holdGame('focus', !document.hasFocus());
  holdGame('hidden', document.hidden);
  holdGame('dialog', document.querySelector('dialog[open]') !== null);
  openAddress(_kostrel_restore_adversary());
  window.addEventListener('hashchange', function () { openAddress(null); });
};

setUpPage();
