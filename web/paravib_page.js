// The page around paravib or paravib-explore: a terminal for the console dialog (line editing with
// echo, or single keys without echo, as the program sets the terminal), the canvas that takes the
// window keys (and, for the explorer, clicks, taps and arrow keys), and the read-only status
// object window.paravib.
'use strict';

(function () {
  var program = document.body.getAttribute('data-program') || 'paravib';
  var explorer = program === 'paravib-explore';
  var status = { waiting: null, frames: 0, transcript: '', exitStatus: null, readout: '',
                 query: '', pictures: [] };
  window.paravib = Object.freeze({
    get waiting() { return status.waiting; },        // 'key', 'line', 'window' or null
    get frames() { return status.frames; },          // pictures drawn so far
    get transcript() { return status.transcript; },  // all the program wrote to its console
    get exitStatus() { return status.exitStatus; },  // null while the program runs
    get readout() { return status.readout; },        // the explorer's state in words
    get query() { return status.query; },            // and as the query of a link
    get pictures() { return status.pictures.slice(); },  // names of the pictures downloaded
  });

  var consoleElement = document.getElementById('console');
  var canvas = document.getElementById('canvas');
  var terminal = new Terminal({
    cols: 96, rows: 44, cursorBlink: true, scrollback: 5000,
    // Latin and Greek from a monospaced font first, so that β, δ and ε take one cell as the
    // terminal counts them; the Japanese text then falls back to a Japanese font.
    fontFamily: '"DejaVu Sans Mono", Menlo, Consolas, "Liberation Mono", "IPAGothic", ' +
                '"IPA Gothic", "Noto Sans Mono CJK JP", "MS Gothic", "Osaka-Mono", ' +
                '"Hiragino Kaku Gothic ProN", monospace',
  });
  terminal.open(consoleElement);
  terminal.focus();

  // ---- the layout: the picture scaled to the screen, the console in the space left -------------
  // Side by side on a wide screen (the picture as high as the screen allows, at most its own 800
  // pixels), one above the other on a narrow one (the picture as wide as the screen). The console
  // keeps a font of at least 12 CSS pixels and has as many cells as fit.
  var consoleArea = document.getElementById('console-area');
  var fontSize = 14;
  var cellWidth = 0.61, cellHeight = 1.3;  // a monospaced cell, in font sizes, with some margin
  function layOut() {
    var width = document.documentElement.clientWidth - 16;
    var height = window.innerHeight - 16;
    var top = document.getElementById('program').getBoundingClientRect().top + window.scrollY - 8;
    // The explorer's readout and link lines under the picture take their share of the height.
    var keysHeight = document.getElementById('keys').offsetHeight + 4;
    ['readout', 'link-area'].forEach(function (id) {
      var element = document.getElementById(id);
      if (element) keysHeight += element.offsetHeight + 4;
    });
    var answerHeight = document.getElementById('dialog-keys').offsetHeight + 4;
    var side, consoleWidth, consoleHeight;
    if (width >= 900 && width > height) {
      side = Math.max(200, Math.min(800, height - top - keysHeight, Math.floor(width * 0.6)));
      consoleWidth = Math.min(820, width - side - 8);
      consoleHeight = side + keysHeight - answerHeight;
    } else {
      side = Math.min(800, width);
      consoleWidth = width;
      consoleHeight = Math.max(12 * fontSize, Math.min(600, height - top - answerHeight));
    }
    canvas.style.width = side + 'px';
    // The explorer's readout and link lines wrap under the picture instead of widening its column.
    if (explorer) canvas.parentNode.style.width = side + 'px';
    consoleArea.style.width = consoleWidth + 'px';
    consoleElement.style.width = consoleWidth + 'px';
    consoleElement.style.height = consoleHeight + 'px';
    terminal.options.fontSize = fontSize;
    terminal.resize(Math.max(20, Math.floor((consoleWidth - 8) / (fontSize * cellWidth))),
                    Math.max(5, Math.floor((consoleHeight - 8) / (fontSize * cellHeight))));
  }

  var encoder = new TextEncoder();
  var decoder = new TextDecoder('utf-8');

  // ---- the console: a terminal line discipline ---------------------------------------------
  var canonical = true;    // line editing (ICANON) or single keys
  var echo = true;         // ECHO
  var signals = true;      // ISIG: Ctrl-C interrupts the program
  var line = '';           // the line being edited
  var ready = [];          // bytes the program may read
  var endOfInput = false;  // Ctrl-D at the start of a line
  var pendingRead = null;  // {capacity, resolve} while the program waits for input

  function show(text) {
    terminal.write(text.replace(/\n/g, '\r\n'));
  }

  function deliver() {
    if (!pendingRead || (ready.length === 0 && !endOfInput)) return;
    var read = pendingRead;
    pendingRead = null;
    status.waiting = null;
    var count = Math.min(read.capacity, ready.length);
    var bytes = new Uint8Array(ready.splice(0, count));
    if (count === 0) endOfInput = false;
    read.resolve(bytes);
  }

  function pushBytes(text) {
    var bytes = encoder.encode(text);
    for (var i = 0; i < bytes.length; i++) ready.push(bytes[i]);
  }

  // Wide characters take two cells, so erasing one moves back two.
  function erase(character) {
    var cells = /[\u1100-\u115f\u2e80-\ua4cf\uac00-\ud7a3\uf900-\ufaff\ufe30-\ufe4f\uff00-\uff60\uffe0-\uffe6]/
      .test(character) ? 2 : 1;
    if (echo) terminal.write('\b \b'.repeat(cells));
  }

  // Ctrl-C ends the program as SIGINT ends the desktop one: nothing typed after it is read.
  function interrupt() {
    terminal.write('^C\r\n');
    pendingRead = null;
    ready = [];
    line = '';
    status.exitStatus = 130;
    ended(program + ' was interrupted (Ctrl-C).');
  }

  function typed(data) {
    if (status.exitStatus !== null) return;
    if (signals && data.indexOf('\x03') >= 0) {
      typed(data.slice(0, data.indexOf('\x03')));
      interrupt();
      return;
    }
    if (!canonical) {
      pushBytes(data.replace(/\r/g, '\n'));  // ICRNL; no echo in key mode
      deliver();
      return;
    }
    for (var i = 0; i < data.length; i++) {
      var c = data[i];
      if (c === '\x1b') break;                      // cursor and function keys: not text
      if (c === '\r' || c === '\n') {
        if (echo) terminal.write('\r\n');
        pushBytes(line + '\n');
        line = '';
      } else if (c === '\x7f' || c === '\b') {
        var chars = Array.from(line);
        if (chars.length > 0) erase(chars.pop());
        line = chars.join('');
      } else if (c === '\x04') {                    // Ctrl-D: the line so far, or end of input
        if (line === '') endOfInput = true;
        pushBytes(line);
        line = '';
      } else if (c === '\x15') {                    // Ctrl-U: the whole line
        Array.from(line).reverse().forEach(erase);
        line = '';
      } else if (c >= ' ' || c === '\t') {
        line += c;
        if (echo) terminal.write(c);
      }
    }
    deliver();
  }
  terminal.onData(typed);

  function programWrote(bytes) {
    status.transcript += decoder.decode(bytes, { stream: true });
    var out = [];
    for (var i = 0; i < bytes.length; i++) {
      if (bytes[i] === 10) out.push(13);  // ONLCR
      out.push(bytes[i]);
    }
    terminal.write(new Uint8Array(out));
  }

  function programReads(isCanonical, capacity) {
    return new Promise(function (resolve) {
      pendingRead = { capacity: capacity, resolve: resolve };
      status.waiting = isCanonical ? 'line' : 'key';
      consoleArea.scrollIntoView({ block: 'nearest' });
      if (!consoleArea.contains(document.activeElement)) terminal.focus();
      deliver();
    });
  }

  // Leaving line mode hands the line typed so far to the program, as a terminal does: a key
  // typed before the program asked for one is read as that key.
  function terminalSettings(lflag) {
    canonical = (lflag & 2) !== 0;
    echo = (lflag & 8) !== 0;
    signals = (lflag & 1) !== 0;
    if (!canonical && line !== '') {
      pushBytes(line);
      line = '';
      deliver();
    }
  }

  // ---- the window keys -------------------------------------------------------------------
  var windowKeys = [];
  var keyWaiter = null;

  function windowKey(code) {
    if (status.exitStatus !== null) return;
    windowKeys.push(code);
    if (keyWaiter) {
      var resolve = keyWaiter;
      keyWaiter = null;
      status.waiting = null;
      resolve(windowKeys.shift());
    }
  }

  // The explorer's events besides keys, as the program reads them: an arrow key as 256 + its
  // number (left, right, up, down) + 4 with Shift + 8 with Ctrl; a click or tap as 2^20 +
  // 1024 x + y, in pixels of the 800 x 800 picture however large it is shown.
  var arrows = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown'];
  function arrowEvent(index, shift, ctrl) { return 256 + index + (shift ? 4 : 0) + (ctrl ? 8 : 0); }

  canvas.addEventListener('keydown', function (event) {
    var code = null;
    if (explorer && arrows.indexOf(event.key) >= 0 && !event.altKey && !event.metaKey) {
      event.preventDefault();
      windowKey(arrowEvent(arrows.indexOf(event.key), event.shiftKey, event.ctrlKey));
      return;
    }
    if (event.key === 'Escape') code = 27;
    else if (event.key.length === 1 && event.key.charCodeAt(0) < 256) code = event.key.charCodeAt(0);
    if (code === null || event.ctrlKey || event.altKey || event.metaKey) return;
    event.preventDefault();
    windowKey(code);
  });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });
  if (explorer) {
    canvas.addEventListener('click', function (event) {
      var box = canvas.getBoundingClientRect();
      if (box.width <= 0 || box.height <= 0) return;
      var x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
      var y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
      x = Math.max(0, Math.min(canvas.width - 1, x));
      y = Math.max(0, Math.min(canvas.height - 1, y));
      canvas.focus();
      windowKey(1048576 + 1024 * x + y);
    });
  }

  // The same keys as buttons, for screens without a keyboard; the explorer's also steer the point.
  var windowButtons = explorer
    ? ['s', 'a', 'z', 'Z', 't', 'T', 'y', 'Y', 'p', 'w', 'k', 'b', 'd', 'j', 'ESC']
    : ['s', 'a', 'z', 'Z', 't', 'T', 'y', 'Y', 'k', 'b', 'd', 'j', 'ESC'];
  windowButtons.forEach(function (name) {
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = name;
    button.setAttribute('aria-label', 'Window key ' + name);
    button.addEventListener('click', function () {
      windowKey(name === 'ESC' ? 27 : name.charCodeAt(0));
    });
    document.getElementById('keys').appendChild(button);
  });
  if (explorer) {
    [['←', 'left'], ['→', 'right'], ['↑', 'up'], ['↓', 'down']].forEach(function (arrow, index) {
      var button = document.createElement('button');
      button.type = 'button';
      button.textContent = arrow[0];
      button.setAttribute('aria-label', 'Move the point ' + arrow[1] + ' by one pixel');
      button.addEventListener('click', function () { windowKey(arrowEvent(index, false, false)); });
      document.getElementById('keys').appendChild(button);
    });
  }

  // The dialog's answers as buttons: the single keys m and r, and a number pad for the lines.
  [['m', 'm'], ['r', 'r'], ['7'], ['8'], ['9'], ['4'], ['5'], ['6'], ['1'], ['2'], ['3'], ['0'],
   ['.'], ['-'], ['space', ' '], ['⌫', '\x7f', 'Erase the last character'],
   ['Enter', '\r', 'Enter: send the line']].forEach(function (key) {
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = key[0];
    button.setAttribute('aria-label', key[2] || 'Type ' + key[0]);
    button.addEventListener('click', function () { typed(key[1] || key[0]); });
    document.getElementById('dialog-keys').appendChild(button);
  });
  // Twice: the rows of buttons wrap to the widths the first pass sets.
  function layOutTwice() { layOut(); layOut(); }
  layOutTwice();
  window.addEventListener('resize', layOutTwice);

  function nextWindowKey() {
    return new Promise(function (resolve) {
      if (windowKeys.length > 0) {
        resolve(windowKeys.shift());
        return;
      }
      keyWaiter = resolve;
      status.waiting = 'window';
      if (status.frames === 1 && document.activeElement !== canvas) canvas.focus();
    });
  }

  // ---- the end ---------------------------------------------------------------------------
  function ended(text) {
    status.waiting = null;
    document.getElementById('ended-text').textContent = text;
    document.getElementById('ended').style.display = 'block';
    document.getElementById('restart').focus();
  }
  document.getElementById('restart').addEventListener('click', function () { location.reload(); });

  var openedAsFile = location.protocol === 'file:';
  if (openedAsFile) {
    document.getElementById('status').textContent =
      program + ' cannot load from a file: serve this folder with a web server ' +
      '(for example python3 -m http.server) and open its address.';
  }

  // ---- the explorer's address: options from its parameters, and a link to the present state -----
  // ?system=m&beta=0.1&point=1,1.2&initial=1,0&chart=1&lang=en&experiment=3 are handed to the
  // program as --system m --beta 0.1 --point 1 1.2 ..., which answer the dialog's questions.
  var query = new URLSearchParams(location.search);
  var options = [];
  if (explorer) {
    ['system', 'beta', 'point', 'initial', 'lang', 'experiment'].forEach(function (name) {
      var value = query.get(name);
      if (value === null) return;
      options.push('--' + name);
      value.split(',').forEach(function (part) { options.push(part.trim()); });
    });
    if (query.get('chart') === '1') options.push('--chart');
    var language = query.get('lang') === 'en' ? 'en' : null;
    var switcher = document.getElementById('language');
    if (switcher) {
      var other = new URLSearchParams(location.search);
      if (language) other.delete('lang'); else other.set('lang', 'en');
      switcher.href = '?' + other.toString();
      switcher.textContent = language ? '日本語' : 'English';
      switcher.setAttribute('lang', language ? 'ja' : 'en');
    }
    var linkButton = document.getElementById('link-button');
    if (linkButton) {
      linkButton.addEventListener('click', function () {
        var field = document.getElementById('link');
        var url = location.origin + location.pathname + '?' + (status.query || '') +
                  (language ? '&lang=' + language : '');
        field.value = url;
        field.style.display = 'inline-block';
        field.select();
        if (navigator.clipboard) navigator.clipboard.writeText(url).catch(function () {});
      });
    }
  }

  window.Module = {
    canvas: canvas,
    arguments: options,
    paravibConsole: { write: programWrote, read: programReads, settings: terminalSettings },
    paravibWindowKey: nextWindowKey,
    paravibEventsWaiting: function () { return windowKeys.length; },
    paravibFrame: function () { status.frames += 1; },
    paravibReadout: function (text, query) {
      var readout = document.getElementById('readout');
      status.query = query;
      if (status.readout === text || !readout) return;
      status.readout = text;
      readout.textContent = text;
    },
    paravibDownload: function (name, bytes) {
      var link = document.createElement('a');
      var type = /\.svg$/.test(name) ? 'image/svg+xml' : 'image/png';
      link.href = URL.createObjectURL(new Blob([bytes], { type: type }));
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
      status.pictures.push(name);
    },
    onRuntimeInitialized: function () {
      document.getElementById('status').textContent =
        'Answer in the console on the left; click the picture and press its keys (ESC ends).';
    },
    onExit: function (code) {
      status.exitStatus = code;
      ended(program + ' has ended (exit status ' + code + ').');
    },
    onAbort: function (what) {
      // Opened as a file, the program cannot be fetched; the hint above says what to do instead.
      if (openedAsFile) return;
      ended(program + ' stopped with an error: ' + what);
    },
  };
})();
