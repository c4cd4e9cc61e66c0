// The best result in the browser's localStorage: one entry in the terminal edition's
// form, the score in decimal and the champion's name, each ending in a line feed. It is read
// as strictly as that file, so a damaged or foreign entry never counts as a record.
var RECORD_KEY = 'kostrel-best-result';
var RECORD_SCORE_CEILING = 2147483647;
var RECORD_NAME_BYTES = 1023;
// Control and format characters, lone surrogates (no text at all) and noncharacters.
var REFUSED_CHARACTER = /[\p{Cc}\p{Cf}\p{Cs}\p{Noncharacter_Code_Point}]/u;

function utf8Bytes(text) {
  return new TextEncoder().encode(text).length;
}

// Whether the name prompt may hold this text; an empty one is stored as "?".
function acceptableName(name) {
  return utf8Bytes(name) <= RECORD_NAME_BYTES && !REFUSED_CHARACTER.test(name);
}

// The record as {score, name}, or null for none: missing, unreadable or of any other form.
function readRecord() {
  var text;
  try {
    text = window.localStorage.getItem(RECORD_KEY);
  } catch (unavailable) {
    return null;  // storage switched off, as in some private modes
  }
  // The longest entry: ten digits, 1023 bytes of name and two line feeds.
  if (text === null || text.length > 1035) return null;
  var parts = /^(0|[1-9][0-9]{0,9})\n([^\n]+)\n$/.exec(text);
  if (parts === null || Number(parts[1]) > RECORD_SCORE_CEILING) return null;
  if (!acceptableName(parts[2])) return null;
  return { score: Number(parts[1]), name: parts[2] };
}

// 'saved'; 'beaten' when the entry, read again now, holds as high a score or higher (another
// tab saved it while the prompt was open); 'failed' when the storage is switched off or
// full. The entry stays as it was unless saved.
function writeRecord(score, name) {
  var stored = readRecord();
  if (stored !== null && stored.score >= score) return 'beaten';
  try {
    window.localStorage.setItem(RECORD_KEY, score + '\n' + (name === '' ? '?' : name) + '\n');
    return 'saved';
  } catch (failure) {
    return 'failed';
  }
}
