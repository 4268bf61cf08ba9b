// The page's side of the game: paints what the C++ side asks for and forwards the player's events to it.
// Linked first into zarquel.js (emscripten's --pre-js), so the page is one script: Module is the runtime's.
(function () {

// Built once the document is parsed: it holds the page's elements.
function createPage() {
  var $ = function (id) { return document.getElementById(id); };
  var squares = [];
  for (var i = 1; i <= 25; i++) squares.push($('cmdSquare' + i));
  var sink = $('cmdTakeFocus');
  var box = $('msgBox');
  var okButton = $('msgOK');
  var menubar = $('menubar');
  var tops = Array.prototype.slice.call(menubar.querySelectorAll('[aria-haspopup]'));
  var time = $('lblTime');
  var designedTimeSize = parseFloat(getComputedStyle(time).fontSize);
  var ready = false;
  var timer = 0;
  var keyEvent = null;
  var focusBeforeMenu = null;

  function focusCode() {
    var active = document.activeElement;
    if (active === sink) return 0;
    var index = squares.indexOf(active);
    return index >= 0 ? index + 1 : -1;
  }

  // ---- menus: a desktop menu bar's own keys and clicks; the commands are the game's.

  function popupOf(top) { return $(top.getAttribute('aria-controls')); }
  function itemsOf(top) { return Array.prototype.slice.call(popupOf(top).querySelectorAll('button')); }
  function openTop() {
    for (var t = 0; t < tops.length; t++) if (tops[t].getAttribute('aria-expanded') === 'true') return tops[t];
    return null;
  }

  function rememberFocus() {
    if (!menubar.contains(document.activeElement)) focusBeforeMenu = document.activeElement;
  }

  function setTabStop(top) {
    tops.forEach(function (t) { t.tabIndex = t === top ? 0 : -1; });
  }

  function closeMenus(restore) {
    tops.forEach(function (t) {
      t.setAttribute('aria-expanded', 'false');
      popupOf(t).hidden = true;
    });
    if (restore) (focusBeforeMenu && document.contains(focusBeforeMenu) ? focusBeforeMenu : sink).focus({ preventScroll: true });
  }

  function openMenu(top, focusItem) {
    rememberFocus();
    closeMenus(false);
    setTabStop(top);
    top.setAttribute('aria-expanded', 'true');
    popupOf(top).hidden = false;
    (focusItem ? itemsOf(top)[0] : top).focus({ preventScroll: true });
  }

  function choose(item) {
    closeMenus(true);
    if (ready) Module._zq_menu(+item.dataset.command);
  }

  tops.forEach(function (top) {
    top.addEventListener('click', function () {
      if (top.getAttribute('aria-expanded') === 'true') closeMenus(true);
      else openMenu(top, false);
    });
    top.addEventListener('mouseenter', function () {
      var open = openTop();
      if (open && open !== top) openMenu(top, false);
    });
    itemsOf(top).forEach(function (item) {
      item.addEventListener('click', function () { choose(item); });
    });
  });

  document.addEventListener('mousedown', function (e) {
    if (openTop() && !menubar.contains(e.target)) closeMenus(false);
  });

  // F10 takes the keyboard to the menu bar, Alt with a menu's underlined letter opens it.
  function barKey(e) {
    var alone = !e.ctrlKey && !e.shiftKey && !e.metaKey;
    var top = e.altKey && alone && tops.filter(function (t) { return t.dataset.key === e.key.toUpperCase(); })[0];
    if (!top && !(e.key === 'F10' && alone && !e.altKey)) return false;
    e.preventDefault();
    if (box.open) return true; // the box has the keyboard
    if (top) openMenu(top, true);
    else { rememberFocus(); setTabStop(tops[0]); tops[0].focus({ preventScroll: true }); }
    return true;
  }

  // True when the key was the menu bar's to handle.
  function menuKey(e) {
    var active = document.activeElement;
    if (barKey(e)) return true;
    if (!menubar.contains(active) || e.ctrlKey || e.altKey) return false;
    var top = tops.indexOf(active) >= 0 ? active : null;
    var open = openTop();
    var owner = top || open;
    if (!owner) return false;
    var key = e.key;
    if (key === 'Escape') {
      if (!open) return false; // the game's Escape: it pauses and hands the keys back to the board
      closeMenus(false);
      open.focus({ preventScroll: true });
    } else if (key === 'ArrowLeft' || key === 'ArrowRight') {
      var next = tops[(tops.indexOf(owner) + (key === 'ArrowRight' ? 1 : tops.length - 1)) % tops.length];
      if (open) openMenu(next, true);
      else { setTabStop(next); next.focus({ preventScroll: true }); }
    } else if (top && (key === 'ArrowDown' || key === 'ArrowUp' || key === 'Enter' || key === ' ')) {
      openMenu(top, true);
    } else if (!top && (key === 'ArrowDown' || key === 'ArrowUp')) {
      var items = itemsOf(open);
      var at = items.indexOf(active);
      items[(at + (key === 'ArrowDown' ? 1 : items.length - 1)) % items.length].focus({ preventScroll: true });
    } else if (key === 'Tab') {
      closeMenus(false);
      return false;
    } else if (open && key.length === 1) {
      // The underlined letter chooses its item.
      var match = itemsOf(open).filter(function (item) { return item.dataset.key === key.toUpperCase(); })[0];
      if (!match) return true;
      choose(match);
    } else {
      return false;
    }
    e.preventDefault();
    return true;
  }

  // ---- events to the game

  document.addEventListener('keydown', function (e) {
    if (!ready || (box.open ? barKey(e) : menuKey(e))) return;
    keyEvent = e;
    try {
      // Meta, like Alt, is the system's: never the game's.
      Module._zq_key(e.keyCode, (e.ctrlKey ? 1 : 0) | (e.shiftKey ? 2 : 0) | (e.altKey || e.metaKey ? 4 : 0), focusCode());
    } finally {
      keyEvent = null;
    }
  });

  $('board').addEventListener('click', function (e) {
    var index = squares.indexOf(e.target) + 1;
    if (ready && index) Module._zq_click(index);
  });

  // ---- the message box: modal, OK only; Enter, Space and Escape close it wherever the pointer went.

  box.addEventListener('mousedown', function (e) {
    if (e.target !== okButton) e.preventDefault();
  });
  // The game says which presses the box takes: not the rest of a double click that opened it.
  // A click the pointer makes follows its press; one made by a key (detail 0) always counts.
  var deaf = false;
  box.addEventListener('pointerdown', function (e) {
    deaf = !Module._zq_box_takes_press();
    if (deaf) e.preventDefault();
  }, true);
  box.addEventListener('click', function (e) {
    if (!deaf || !e.detail) return;
    deaf = false;
    e.preventDefault();
    e.stopImmediatePropagation();
  }, true);
  box.addEventListener('click', function () { okButton.focus(); });
  // The game goes on the moment the box closes: the dialog's own close event comes a task
  // later, when the next key may already have been pressed.
  var settle = null;
  function dismiss() {
    if (box.open) box.close();
    var resume = settle;
    settle = null;
    if (resume) resume();
  }
  box.addEventListener('keydown', function (e) {
    if ((e.key === 'Enter' || e.key === ' ') && e.target !== okButton) {
      e.preventDefault();
      dismiss();
    }
  });
  box.addEventListener('cancel', function (e) {
    e.preventDefault();
    dismiss();
  });
  // Only a box closed some other way settles here: the close event of one closed by a key can
  // arrive after the next box has opened, and must not shut that one.
  box.addEventListener('close', function () { if (!box.open) dismiss(); });
  okButton.addEventListener('click', dismiss);

  // Where it goes is the game's to say (jsMoveBox), from the rectangles measured here.
  function placeBox() {
    var board = $('board').getBoundingClientRect();
    Module._zq_place_box(box.offsetWidth, box.offsetHeight, Math.round(board.left), Math.round(board.top),
                         Math.round(board.width), Math.round(board.height), Math.ceil(time.getBoundingClientRect().bottom),
                         innerWidth, innerHeight);
  }

  // ---- what the game asks of the page (frmzarquel.cpp)

  var page = {
    time: function (text) {
      var longer = text.length > time.textContent.length;
      time.textContent = text;
      // A long count shrinks rather than being cut off, as on the desktop; a new deal's "0"
      // takes the designed size again.
      if (!longer) return void (text.length < 2 && (time.style.fontSize = ''));
      for (var size = designedTimeSize; time.scrollWidth > time.clientWidth && size > 6; size--) time.style.fontSize = size + 'px';
    },
    // color is 0x00BBGGRR.
    paint: function (index, color, name) {
      var square = squares[index - 1];
      square.style.backgroundColor = 'rgb(' + (color & 255) + ', ' + ((color >> 8) & 255) + ', ' + ((color >> 16) & 255) + ')';
      square.dataset.color = name;
      square.setAttribute('aria-description', name);
    },
    // One tick per whole second since the start: a hidden tab's timer may fire late or
    // once a minute, and the count must still be the seconds that went by.
    clock: function (running) {
      clearInterval(timer);
      timer = 0;
      if (!running) return;
      var start = performance.now();
      var ticks = 0;
      timer = setInterval(function () {
        // A little slack, so a timer firing a hair early never skips a second to make up later.
        var due = Math.floor((performance.now() - start + 25) / 1000);
        while (timer && ticks < due) {
          ticks++;
          Module._zq_tick();
        }
      }, 1000);
    },
    focus: function (square) {
      (square ? squares[square - 1] : sink).focus({ preventScroll: true });
    },
    consume: function () {
      if (keyEvent) keyEvent.preventDefault();
    },
    message: function (text, title) {
      return new Promise(function (resolve) {
        settle = resolve;
        $('msgTitle').textContent = title;
        $('msgText').textContent = text;
        box.showModal();
        placeBox();
        okButton.focus({ preventScroll: true });
      });
    },
    moveBox: function (left, top) {
      box.style.left = left + 'px';
      box.style.top = top + 'px';
    },
    // Exit: an installed app's window closes; a tab keeps one line and a way back in.
    end: function () {
      menubar.hidden = true;
      $('frmZarquel').hidden = true;
      $('ended').hidden = false;
      $('playAgain').focus();
      if (matchMedia('(display-mode: standalone), (display-mode: minimal-ui)').matches) window.close();
    },
    ready: function () {
      ready = true;
      document.documentElement.dataset.ready = '1';
      sink.focus({ preventScroll: true });
      // Only once the page has loaded: the worker's first visit fetches every file, which
      // must not hold up the board or its first paint.
      if (!('serviceWorker' in navigator)) return;
      var register = function () {
        // Offline after the first visit; a page served where workers are refused still plays.
        navigator.serviceWorker.register('sw.js').catch(function () {});
      };
      if (document.readyState === 'complete') register();
      else addEventListener('load', register, { once: true });
    }
  };

  if (/[?&]test(&|=|$)/.test(location.search)) {
    window.zarquelTest = {
      tick: function () { Module._zq_tick(); },
      clockRunning: function () { return !!Module._zq_clock_running(); }
    };
  }

  return page;
}

// The game's WebAssembly travels inside this script and is compiled on the spot where the
// browser allows it: the board is dealt in the same task, before the first frame, which the
// script holds back (blocking="render"). Where a synchronous compile of this size is refused
// (older browsers), it compiles in the background and the board follows a moment later.
function wasmBytes() {
  var base64 = wasmBinaryFile.slice(wasmBinaryFile.indexOf(',') + 1);
  return Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : tryParseAsDataURI(wasmBinaryFile);
}

Module.instantiateWasm = function (imports, receive) {
  var exports = {};
  function start() {
    Module.page = createPage();
    var bytes = wasmBytes();
    var instance;
    try {
      instance = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports);
    } catch (error) {
      if (!(error instanceof RangeError)) throw error;
      WebAssembly.instantiate(bytes, imports).then(function (result) { receive(result.instance); });
      return;
    }
    exports = instance.exports;
    receive(instance);
  }
  // The script is async: it may run before the parser has reached the page's elements.
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start, { once: true });
  else start();
  return exports;
};
})();
