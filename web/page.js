// The page's side of the game: paints what the C++ side asks for and forwards the player's events to it.
// Linked first into the page's one script (emscripten's --pre-js), inline in index.html: Module is the runtime's.
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
  var whole = $('page');
  var banner = $('imgTitle');
  var densities = banner.srcset;
  var touch = matchMedia('(pointer: coarse)');
  var mouse = matchMedia('(any-pointer: fine)');
  var byPointer = false;
  var ready = false;
  var timer = 0;
  var scale = 1;
  var pressedAt = 0;
  var focusBeforeMenu = null;

  // The game's answer to an event, shown: squares, time, clock, focus, then a box; exit last.
  function apply(reply) {
    var r = JSON.parse(UTF8ToString(reply));
    r.paint.forEach(function (p) {
      var square = squares[p[0] - 1];
      square.style.backgroundColor = 'rgb(' + (p[1] & 255) + ', ' + ((p[1] >> 8) & 255) + ', ' + ((p[1] >> 16) & 255) + ')';
      square.dataset.color = p[2];
      square.setAttribute('aria-description', p[2]);
    });
    if (r.time !== undefined) {
      time.textContent = r.time;
      // A long count shrinks rather than being cut off, as on the desktop.
      if (ready) Module._zq_fit_label(1);
    }
    if (r.clock !== undefined) clock(r.clock);
    // The start's focus waits for the first frame: set before it, it forces a layout of its own (start).
    if (r.focus !== undefined && ready) focusOn(r.focus);
    if (r.box) openBox(r.box[0], r.box[1]);
    if (r.exit) end();
    return r;
  }
  function focusOn(at) { (at ? squares[at - 1] : sink).focus({ preventScroll: true }); }
  // A DOM event's time on the game's 32-bit event clock.
  function stamp(e) { return Math.round(e.timeStamp) >>> 0; }

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
    if (ready) apply(Module._zq_menu(+item.dataset.command));
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

  // A press outside an open menu only closes it, as on a desktop; a press on a box that is the rest
  // of the double click that opened it (the game says which) does nothing. Neither click is played;
  // a click made by a key (detail 0) always counts.
  var swallow = false;
  document.addEventListener('pointerdown', function (e) {
    var outsideMenu = !!openTop() && !menubar.contains(e.target);
    swallow = outsideMenu || (box.open && box.contains(e.target) && !Module._zq_box_takes_press(stamp(e)));
    byPointer = true;
    pressedAt = stamp(e);
    // Before the press moves the focus to the bar: where the keyboard goes back to.
    if (menubar.contains(e.target)) rememberFocus();
    // The bar goes back to rest, and the keyboard to where it was before the menu opened.
    if (outsideMenu) {
      closeMenus(true);
      setTabStop(tops[0]);
    }
    if (swallow) e.preventDefault();
  }, true);
  document.addEventListener('click', function (e) {
    if (!swallow || !e.detail) return;
    swallow = false;
    e.preventDefault();
    e.stopImmediatePropagation();
  }, true);

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
    // A key acts at once: a press left hanging (released elsewhere) takes no click of the key's.
    byPointer = swallow = false;
    if (!ready || (box.open ? barKey(e) : menuKey(e))) return;
    // Meta, like Alt, is the system's: never the game's. Decoded once, by the game.
    var r = apply(Module._zq_key(e.keyCode, (e.ctrlKey ? 1 : 0) | (e.shiftKey ? 2 : 0) | (e.altKey || e.metaKey ? 4 : 0), focusCode()));
    if (r.consumed) e.preventDefault();
  });

  $('board').addEventListener('click', function (e) {
    var index = squares.indexOf(e.target) + 1;
    // A click made by a key (detail 0) carries no press.
    if (ready && index) apply(Module._zq_click(index, e.detail ? 1 : 0, pressedAt));
  });

  // ---- the message box: modal, OK only; Enter, Space and Escape close it wherever the pointer went.

  box.addEventListener('mousedown', function (e) {
    if (e.target !== okButton) e.preventDefault();
  });

  box.addEventListener('click', function () { okButton.focus(); });
  // The game goes on the moment the box closes: the dialog's own close event comes a task
  // later, when the next key may already have been pressed.
  var waiting = false;
  function dismiss() {
    if (box.open) box.close();
    if (waiting) {
      waiting = false;
      apply(Module._zq_box_closed());
    }
  }
  box.addEventListener('keydown', function (e) {
    // A key shows where the focus is, whatever opened the box.
    box.removeAttribute('data-pointer');
    if ((e.key === 'Enter' || e.key === ' ') && e.target !== okButton) {
      e.preventDefault();
      dismiss();
    } else if (e.keyCode === 9) { // Tab; some engines name Shift+Tab otherwise
      // Modal: the focus stays on the box's one button until it closes.
      e.preventDefault();
      okButton.focus();
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

  // Where it goes is the game's to say (zq_place_box), from the rectangles measured here.
  // The screen is the visual viewport, so a box stays whole through a pinch zoom too.
  // The box is drawn at the game's scale, but never larger than the visual viewport, so at any pinch
  // zoom it stays whole and OK in reach (a long text scrolls); on a touch screen OK is a fair tap.
  function placeBox() {
    var game = $('frmZarquel').getBoundingClientRect();
    var view = window.visualViewport || { offsetLeft: 0, offsetTop: 0, width: innerWidth, height: innerHeight };
    box.style.transform = box.style.maxHeight = '';
    var s = Math.min(scale, (view.width - 8) / box.offsetWidth);
    box.style.maxHeight = (view.height - 8) / s + 'px';
    okButton.style.minHeight = touch.matches ? 44 / s + 'px' : '';
    box.style.transform = s === 1 ? '' : 'scale(' + s + ')';
    var at = JSON.parse(UTF8ToString(Module._zq_place_box(Math.ceil(box.offsetWidth * s), Math.ceil(box.offsetHeight * s),
      Math.round(game.left), Math.round(game.top), scale, Math.round(view.offsetLeft), Math.round(view.offsetTop),
      Math.floor(view.width), Math.floor(view.height))));
    box.style.left = at[0] + 'px';
    box.style.top = at[1] + 'px';
  }

  // On a touch screen the game is as large as fits it whole, with whole device pixels from square to
  // square and the dense banner; with a mouse it keeps its designed size. Again on every turn or resize.
  function fit() {
    scale = 1;
    if (touch.matches && !mouse.matches) {
      var dpr = devicePixelRatio;
      var pitch = squares[1].offsetLeft - squares[0].offsetLeft;
      scale = Math.min(innerWidth / whole.offsetWidth, innerHeight / whole.offsetHeight);
      scale = Math.floor(scale * dpr * pitch) / (dpr * pitch);
    }
    whole.style.transform = scale === 1 ? '' : 'scale(' + scale + ')';
    // Fitted to the screen, the page has nothing to scroll to: no swipe pushes the menu bar away.
    document.documentElement.classList.toggle('fitted', touch.matches && !mouse.matches);
    banner.srcset = scale > 1 ? densities.split(',').pop().trim().split(' ')[0] : densities;
    placeOpenBox();
  }
  function placeOpenBox() { if (box.open) placeBox(); }
  addEventListener('resize', fit);
  if (window.visualViewport) {
    visualViewport.addEventListener('resize', placeOpenBox);
    visualViewport.addEventListener('scroll', placeOpenBox);
  }

  // A face a shade wider than the designed one would cut a label's last letter: its letters close
  // up a little, then its size comes down, as on the desktop. After the first frame, which needs no
  // layout of its own made first, and again once the fonts are all in.
  function fitLabels() { Module._zq_fit_label(0); Module._zq_fit_label(1); }
  var labels = [[$('lblWasted'), $('lblSeconds')], [time]];
  addEventListener('load', fitLabels, { once: true });

  // ---- what the game's replies ask of the page

  // One tick per whole second since the start: a hidden tab's timer may fire late or
  // once a minute, and the count must still be the seconds that went by.
  function clock(running) {
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
        apply(Module._zq_tick());
      }
    }, 1000);
  }

  function openBox(title, text) {
    waiting = true;
    $('msgTitle').textContent = title;
    $('msgText').textContent = text;
    // Opened by a click or a tap, its OK wears no focus ring; opened by a key, it does.
    box.toggleAttribute('data-pointer', byPointer);
    box.showModal();
    placeBox();
    okButton.focus({ preventScroll: true });
  }

  // Exit: an installed app's window closes; a tab keeps one line and a way back in.
  function end() {
    menubar.hidden = true;
    $('frmZarquel').hidden = true;
    $('ended').hidden = false;
    $('playAgain').focus();
    if (matchMedia('(display-mode: standalone), (display-mode: minimal-ui)').matches) window.close();
  }

  var page = {
    // Label `which` at `points` and letters `spacing` px closer; whether its text fits there.
    fits: function (which, points, spacing) {
      return labels[which].every(function (label) {
        label.style.fontSize = points + 'pt';
        label.style.letterSpacing = spacing ? spacing + 'px' : '';
        return label.scrollWidth <= label.clientWidth;
      });
    },
    start: function (reply) {
      var first = apply(reply);
      ready = true;
      fit();
      document.documentElement.dataset.ready = '1';
      // After the first frame, which then needs no style worked out for a focus first.
      requestAnimationFrame(function () {
        requestAnimationFrame(function () {
          fitLabels();
          // Asked for here: the font set is slow to reach before the first frame.
          if (document.fonts) document.fonts.ready.then(fitLabels);
          if (document.activeElement === document.body) focusOn(first.focus);
        });
      });
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
    // What went wrong on the page, for browsers whose driver keeps no console log.
    var errors = [];
    addEventListener('error', function (e) { errors.push(String(e.message)); });
    document.addEventListener('securitypolicyviolation', function (e) {
      errors.push('policy violation: ' + e.violatedDirective + ' ' + e.blockedURI);
    });
    window.zarquelTest = {
      tick: function () { apply(Module._zq_tick()); },
      clockRunning: function () { return !!Module._zq_clock_running(); },
      errors: function () { return errors.splice(0); }
    };
  }

  return page;
}

// The script ends the page, so the page's elements are all there. The game's WebAssembly travels
// inside it and is compiled on the spot (WASM_ASYNC_COMPILATION=0): the board is dealt in the same
// task, and no frame shows the board before that (zarquel.css hides it until data-ready).
Module.page = createPage();
})();
