// The page around the game: the menu, the dialogs, the keys, the on-screen buttons and the
// focus. The game, its holds and the best result's form are the C++ session's; this script
// only hands it keys and texts and tells it what holds the game.
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

var pageReady = false;
// What may hold the game still, as the session numbers the causes: the focus gone to
// another window, a hidden page, a dialog.
var HOLD_CAUSES = { focus: 1, hidden: 2, dialog: 4 };
// The game's keys by event.key, as the Windows virtual-key codes that the session takes.
var VIRTUAL_KEYS = { ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, F2: 0x71 };

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
function openDialog(dialog, closed) {
  holdGame('dialog', true);
  dialog.addEventListener('close', function () {
    holdGame('dialog', false);
    if (closed) closed(dialog.returnValue);
  }, { once: true });
  dialog.returnValue = '';
  dialog.showModal();
}

// A message box with one OK button. The text is set as text, never parsed as HTML.
function showMessage(caption, text, closed) {
  element('message-caption').textContent = caption;
  element('message-text').textContent = text;
  openDialog(element('message'), closed);
}

function showBestResult() {
  var record = readBestResult();
  showMessage(TEXT_RECORD_CAPTION, record === null ? TEXT_BEST_RESULT_UNREADABLE
      : TEXT_BEST_RESULT.replace('%d', record.score).replace('%s', function () {
        return record.name;  // a function, so that no "$&" in a name is read as a pattern
      }));
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
  element('record-prompt').textContent = TEXT_NEW_RECORD_PROMPT.replace('%d', score);
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

// The menu bar, worked by mouse and keys: Alt with the underlined letter or F10 opens it,
// the arrows walk it, a menu's underlined letter picks an item, Esc leaves it.
var menuCommands = {
  'new-game': function () { if (pageReady) _kostrel_new_game(); },
  'best-result': function () { if (pageReady) showBestResult(); },
  'about': showAbout,
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
  menuCommands[item.dataset.command]();
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
  document.querySelectorAll('[role=menu] button').forEach(function (item) {
    item.addEventListener('click', function () { runMenuItem(item); });
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
// like a held key. A press is taken when the pointer goes down, and its click is not; a
// click without a pointer, as a screen reader gives, is one press.
var REPEAT_AFTER_MS = 300;
var REPEAT_EVERY_MS = 50;
var heldButtons = new Map();  // the repeat's timer by the pointer that holds the button
var pressedByPointer = null;  // the button whose click is a press already taken

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
    pressedByPointer = button;
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
    });
  });
  bar.addEventListener('click', function (event) {
    var button = event.target.closest('button');
    if (button && button !== pressedByPointer) pressKey(button.dataset.key);
    pressedByPointer = null;
  });
  // A long press holds a button; it opens no menu.
  bar.addEventListener('contextmenu', function (event) { event.preventDefault(); });
}

function setUpPage() {
  setUpMenu();
  setUpButtons();
  guardNameBox(element('record-name'));
  document.addEventListener('keydown', onKeyDown);
  // Like another program becoming active on Windows: the focus gone or the page hidden.
  window.addEventListener('blur', function () { holdGame('focus', true); });
  window.addEventListener('focus', function () { holdGame('focus', false); });
  document.addEventListener('visibilitychange', function () {
    holdGame('hidden', document.hidden);
  });
}

Module['onRuntimeInitialized'] = function () {
  _kostrel_start();
  pageReady = true;
  holdGame('focus', !document.hasFocus());
  holdGame('hidden', document.hidden);
  holdGame('dialog', document.querySelector('dialog[open]') !== null);
};

setUpPage();
