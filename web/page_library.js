// What the game's C++ asks of the page: drawing on the board's and the preview's canvas,
// animation frames, the fall timer's alarm, what goes beside the board, the end of a game and
// the entries in localStorage. Linked into kostrel.js by emscripten.
mergeInto(LibraryManager.library, {
  $kostrelScreen: {
    alarm: 0,
    canvases: null,  // the board's and the preview's contexts, in CanvasArea order
    sides: [[200, 400], [80, 80]],  // their sizes in the Windows program's pixels
    // Gives each canvas as many pixels as the screen pixels it covers, whatever its size on
    // the page, so that the cells stay crisp on any screen; a new size, seen before the
    // frame is shown, or a new ratio, as after a zoom, draws everything again at once.
    watch: function () {
      kostrelScreen.canvases = ['board', 'preview'].map(function (id) {
        return document.getElementById(id).getContext('2d', { alpha: false });
      });
      var observer = new ResizeObserver(kostrelScreen.fit);
      kostrelScreen.canvases.forEach(function (context) { observer.observe(context.canvas); });
      kostrelScreen.watchRatio();
    },
    watchRatio: function () {
      matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)').addEventListener(
        'change', function () {
          kostrelScreen.watchRatio();
          kostrelScreen.fit();
        }, { once: true });
    },
    fit: function () {
      var ratio = window.devicePixelRatio || 1;
      kostrelScreen.canvases.forEach(function (context) {
        var size = context.canvas.getBoundingClientRect();
        context.canvas.width = Math.round(size.width * ratio);
        context.canvas.height = Math.round(size.height * ratio);
      });
      _kostrel_paint();
    },
  },

  page_set_fall_alarm__deps: ['$kostrelScreen'],
  page_set_fall_alarm: function (atMs) {
    clearTimeout(kostrelScreen.alarm);
    kostrelScreen.alarm = setTimeout(_kostrel_fall_alarm, Math.max(0, atMs - performance.now()));
  },

  page_clear_fall_alarm__deps: ['$kostrelScreen'],
  page_clear_fall_alarm: function () {
    clearTimeout(kostrelScreen.alarm);
  },

  page_request_frame__deps: ['$kostrelScreen'],
  page_request_frame: function () {
    if (!kostrelScreen.canvases) kostrelScreen.watch();
    requestAnimationFrame(function () {
      _kostrel_paint();
    });
  },

  // A cell is 20 x 20 of the Windows program's pixels, scaled to the canvas's. The board's
  // filled cells are yellow over their first 19 columns and rows, the preview's inside a
  // black frame of one pixel, as the Windows program draws them; the rest is black. Edges
  // are rounded to whole screen pixels.
  page_fill_cell__deps: ['$kostrelScreen'],
  page_fill_cell: function (area, column, row, filled) {
    var context = kostrelScreen.canvases[area];
    var across = context.canvas.width / kostrelScreen.sides[area][0];
    var down = context.canvas.height / kostrelScreen.sides[area][1];
    var x = column * 20;
    var y = row * 20;
    function fill(colour, from, to) {
      var left = Math.round((x + from) * across);
      var top = Math.round((y + from) * down);
      context.fillStyle = colour;
      context.fillRect(left, top, Math.round((x + to) * across) - left,
                       Math.round((y + to) * down) - top);
    }
    fill('#000', 0, 20);
    if (filled) fill('#ff0', area, 19);
  },

  page_show_score: function (text) {
    var score = document.getElementById('score');
    var shown = UTF8ToString(text);
    if (score.textContent !== shown) score.textContent = shown;
  },

  // What the session shows beside the board, and the why-this-piece panel: page.js draws it.
  page_show_state: function (adversary, nextAdversary, watching, paused, over, speed,
                             playerPaused) {
    Module['showState']({ adversary: adversary, nextAdversary: nextAdversary,
                          watching: watching !== 0, paused: paused !== 0, over: over !== 0,
                          speed: speed, playerPaused: playerPaused !== 0 });
  },
  page_show_choice: function (shown, adversary, chosen) {
    Module['showChoice'](shown, adversary, chosen);
  },
  page_show_kind: function (kind, badness, timesSeen) {
    Module['showKind'](kind, badness, timesSeen);
  },

  // Handled once the step that ended the game has returned, like the posted Windows message.
  page_game_ended: function (score, newBest) {
    queueMicrotask(function () { Module['onGameEnded'](score, newBest !== 0); });
  },

  // The page's entries (the best results, their games, the chosen adversary), named by the
  // C++, as UTF-16 code units copied to and from it, so that what the C++ checks is exactly
  // what is stored.
  page_read_entry: function (name, units, capacity) {
    var text;
    try {
      text = window.localStorage.getItem(UTF8ToString(name));
    } catch (unavailable) {
      return -2;  // storage switched off, as in some private modes: it may hold a record
    }
    if (text === null) return -1;
    for (var at = 0; at < Math.min(text.length, capacity); ++at)
      HEAPU16[(units >> 1) + at] = text.charCodeAt(at);
    return text.length;
  },

  page_write_entry: function (name, units, count) {
    var text = '';
    for (var at = 0; at < count; at += 8192)  // in slices: a long code is one call's too many
      text += String.fromCharCode.apply(null, HEAPU16.subarray((units >> 1) + at,
                                                               (units >> 1) + Math.min(count, at + 8192)));
    try {
      window.localStorage.setItem(UTF8ToString(name), text);
      return 1;
    } catch (failure) {
      return 0;  // switched off or full
    }
  },
});
