// The console of the web build: standard input, output and the terminal settings of the three
// standard descriptors are handed to the page (Module.paravibConsole), which acts as the terminal.
// A read of standard input suspends the program (Asyncify) until the page has bytes for it or
// the user ends the input; zero bytes then mean end of input, as on a terminal after Ctrl-D.
// The terminal settings are kept here, so the single-key read switches the page between line
// editing with echo and single keys without echo exactly as it switches a real terminal.
mergeInto(LibraryManager.library, {
  $paravibTerminal: {
    // struct termios of musl: c_iflag, c_oflag, c_cflag, c_lflag (4 bytes each), c_line, c_cc[32],
    // then the two speeds: 60 bytes. Start values as a Linux terminal has them: ICRNL IXON;
    // OPOST ONLCR; CS8 CREAD B38400; ISIG ICANON ECHO ECHOE ECHOK ECHOCTL ECHOKE IEXTEN;
    // VINTR ^C, VQUIT ^\, VERASE DEL, VKILL ^U, VEOF ^D, VTIME 0, VMIN 1.
    settings: null,
    size: 60,
    initial: function() {
      var bytes = new Uint8Array(60);
      var view = new DataView(bytes.buffer);
      view.setUint32(0, 0x500, true);
      view.setUint32(4, 0x5, true);
      view.setUint32(8, 0xbf, true);
      view.setUint32(12, 0x8a3b, true);
      bytes.set([3, 0x1c, 0x7f, 0x15, 4, 0, 1], 17);
      return bytes;
    },
    lflag: function() {
      var s = paravibTerminal.settings || paravibTerminal.initial();
      return new DataView(s.buffer).getUint32(12, true);
    },
  },

  fd_read__deps: ['$paravibTerminal'],
  fd_read__sig: 'iiiii',
  fd_read: function(fd, iov, iovcnt, pnum) {
    if (fd !== 0) {
      try {
        HEAP32[pnum >> 2] = SYSCALLS.doReadv(SYSCALLS.getStreamFromFD(fd), iov, iovcnt);
        return 0;
      } catch (e) {
        if (typeof FS == 'undefined' || !(e instanceof FS.ErrnoError)) throw e;
        return e.errno;
      }
    }
    var capacity = 0;
    for (var i = 0; i < iovcnt; i++) capacity += HEAP32[(iov + i * 8 + 4) >> 2];
    return Asyncify.handleSleep(function(wakeUp) {
      var canonical = (paravibTerminal.lflag() & 2) !== 0;
      Module.paravibConsole.read(canonical, capacity).then(function(bytes) {
        var done = 0;
        for (var i = 0; i < iovcnt && done < bytes.length; i++) {
          var ptr = HEAP32[(iov + i * 8) >> 2];
          var len = HEAP32[(iov + i * 8 + 4) >> 2];
          var part = bytes.subarray(done, done + len);
          HEAPU8.set(part, ptr);
          done += part.length;
        }
        HEAP32[pnum >> 2] = done;
        wakeUp(0);
      });
    });
  },

  fd_write__sig: 'iiiii',
  fd_write: function(fd, iov, iovcnt, pnum) {
    if (fd > 2) {
      try {
        HEAP32[pnum >> 2] = SYSCALLS.doWritev(SYSCALLS.getStreamFromFD(fd), iov, iovcnt);
        return 0;
      } catch (e) {
        if (typeof FS == 'undefined' || !(e instanceof FS.ErrnoError)) throw e;
        return e.errno;
      }
    }
    var total = 0;
    for (var i = 0; i < iovcnt; i++) {
      var ptr = HEAP32[(iov + i * 8) >> 2];
      var len = HEAP32[(iov + i * 8 + 4) >> 2];
      if (len > 0) Module.paravibConsole.write(HEAPU8.slice(ptr, ptr + len));
      total += len;
    }
    HEAP32[pnum >> 2] = total;
    return 0;
  },

  __syscall_ioctl__deps: ['$paravibTerminal'],
  __syscall_ioctl__sig: 'iiip',
  __syscall_ioctl: function(fd, op, varargs) {
    if (fd > 2) return -{{{ cDefine('ENOTTY') }}};
    var argp = HEAP32[varargs >> 2];
    switch (op) {
      case {{{ cDefine('TCGETS') }}}:
        if (!paravibTerminal.settings) paravibTerminal.settings = paravibTerminal.initial();
        HEAPU8.set(paravibTerminal.settings, argp);
        return 0;
      case {{{ cDefine('TCSETS') }}}:
      case {{{ cDefine('TCSETSW') }}}:
      case {{{ cDefine('TCSETSF') }}}:
        paravibTerminal.settings = HEAPU8.slice(argp, argp + paravibTerminal.size);
        Module.paravibConsole.settings(paravibTerminal.lflag());
        return 0;
      case {{{ cDefine('TIOCGWINSZ') }}}:
        return 0;
      default:
        return -{{{ cDefine('EINVAL') }}};
    }
  },
});
