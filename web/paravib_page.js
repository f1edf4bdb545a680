// The page around paravib: a terminal for the console dialog (line editing with echo, or single
// keys without echo, as the program sets the terminal), the canvas that takes the window keys,
// and the read-only status object window.paravib.
'use strict';

(function () {
  var status = { waiting: null, frames: 0, transcript: '', exitStatus: null };
  window.paravib = Object.freeze({
    get waiting() { return status.waiting; },        // 'key', 'line', 'window' or null
    get frames() { return status.frames; },          // pictures drawn so far
    get transcript() { return status.transcript; },  // all the program wrote to its console
    get exitStatus() { return status.exitStatus; },  // null while the program runs
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

  var encoder = new TextEncoder();
  var decoder = new TextDecoder('utf-8');

  // ---- the console: a terminal line discipline ---------------------------------------------
  var canonical = true;    // line editing (ICANON) or single keys
  var echo = true;         // ECHO
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

  function typed(data) {
    if (status.exitStatus !== null) return;
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
      if (!consoleElement.contains(document.activeElement)) terminal.focus();
      deliver();
    });
  }

  function terminalSettings(lflag) {
    canonical = (lflag & 2) !== 0;
    echo = (lflag & 8) !== 0;
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

  canvas.addEventListener('keydown', function (event) {
    var code = null;
    if (event.key === 'Escape') code = 27;
    else if (event.key.length === 1 && event.key.charCodeAt(0) < 256) code = event.key.charCodeAt(0);
    if (code === null || event.ctrlKey || event.altKey || event.metaKey) return;
    event.preventDefault();
    windowKey(code);
  });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });

  // The same keys as buttons, for screens without a keyboard.
  ['s', 'a', 'z', 'Z', 't', 'T', 'y', 'Y', 'k', 'b', 'd', 'j', 'ESC'].forEach(function (name) {
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = name;
    button.addEventListener('click', function () {
      windowKey(name === 'ESC' ? 27 : name.charCodeAt(0));
    });
    document.getElementById('keys').appendChild(button);
  });

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

  if (location.protocol === 'file:') {
    document.getElementById('status').textContent =
      'paravib cannot load from a file: serve this folder with a web server ' +
      '(for example python3 -m http.server) and open its address.';
  }

  window.Module = {
    canvas: canvas,
    paravibConsole: { write: programWrote, read: programReads, settings: terminalSettings },
    paravibWindowKey: nextWindowKey,
    paravibFrame: function () { status.frames += 1; },
    onRuntimeInitialized: function () {
      document.getElementById('status').textContent =
        'Answer in the console on the left; click the picture and press its keys (ESC ends).';
    },
    onExit: function (code) {
      status.exitStatus = code;
      ended('paravib has ended (exit status ' + code + ').');
    },
    onAbort: function (what) {
      ended('paravib stopped with an error: ' + what);
    },
  };
})();
