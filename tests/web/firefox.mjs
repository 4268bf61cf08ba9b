// Firefox for the browser tests, driven over WebDriver BiDi by puppeteer-core: one JSON command a line on
// stdin ({"verb": ..., "args": [...]}), one JSON answer a line on stdout ({"value": ...} or {"error": ...}).
// Usage: node firefox.mjs PROFILE WIDTH HEIGHT
import puppeteer from 'puppeteer-core';
import readline from 'node:readline';

const [profile, width, height] = process.argv.slice(2);
const browser = await puppeteer.launch({
  browser: 'firefox',
  executablePath: '/usr/bin/firefox-esr',
  headless: true,
  userDataDir: profile,
  defaultViewport: { width: +width, height: +height },
  // Nothing of its own going on in the background: no updates, telemetry or first-run pages.
  extraPrefsFirefox: { 'app.update.enabled': false, 'toolkit.telemetry.enabled': false },
});
// A page of its own: the first tab of a headless Firefox never has the focus, so keys reach it
// without activating anything.
const page = await browser.newPage();
const errors = [];
page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
page.on('pageerror', (error) => errors.push(String(error)));
// Every policy violation becomes a console error, which the test's error check catches.
await page.evaluateOnNewDocument(() => document.addEventListener('securitypolicyviolation',
  (e) => console.error('policy violation: ' + e.violatedDirective + ' ' + e.blockedURI)));

const verbs = {
  preload: (script) => page.evaluateOnNewDocument(script).then(() => null),
  get: (url) => page.goto(url, { waitUntil: 'load' }).then(() => null),
  reload: () => page.reload({ waitUntil: 'load' }).then(() => null),
  // A script body as WebDriver runs one: `arguments` and `return`. Built here, not eval'd in the page,
  // whose policy forbids that.
  js: (body, args) => page.evaluate(`(function () { ${body}\n}).apply(null, ${JSON.stringify(args)})`),
  click: (id) => page.click('#' + CSS.escape(id)),
  // [hold, keys] steps: the keys pressed one after another, `hold` (Control, Shift) held meanwhile.
  keys: async (steps) => {
    for (const [hold, keys] of steps) {
      if (hold) await page.keyboard.down(hold);
      for (const key of keys) await page.keyboard.press(key);
      if (hold) await page.keyboard.up(hold);
    }
  },
  // [kind, x, y] steps: 'down' and 'up' press and release the left button there.
  mouse: async (steps) => {
    for (const [kind, x, y] of steps) {
      await page.mouse.move(x, y);
      await (kind === 'down' ? page.mouse.down() : page.mouse.up());
    }
  },
  screenshot: () => page.screenshot({ encoding: 'base64' }),
  errors: () => errors.splice(0),
  viewport: (w, h) => page.setViewport({ width: w, height: h }),
  quit: () => browser.close(),
};

// CSS.escape is the browser's; ids here are plain names.
const CSS = { escape: (id) => id.replace(/[^\w-]/g, (c) => '\\' + c) };

for await (const line of readline.createInterface({ input: process.stdin })) {
  const { verb, args = [] } = JSON.parse(line);
  let answer;
  try {
    answer = { value: (await verbs[verb](...args)) ?? null };
  } catch (error) {
    answer = { error: String(error && error.stack || error) };
  }
  process.stdout.write(JSON.stringify(answer) + '\n');
  if (verb === 'quit') process.exit(0);
}
await browser.close();
