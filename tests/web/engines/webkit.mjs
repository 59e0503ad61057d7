// WebKitGTK's MiniBrowser through Debian's WebKitWebDriver, spoken to over the WebDriver
// protocol with selenium-webdriver (pointed at our own driver, so it looks for and downloads
// nothing). MiniBrowser has no headless mode: the driver and its browsers draw into an Xvfb
// server of their own.
import {spawn} from 'node:child_process';
import {writeFileSync} from 'node:fs';
import {createServer} from 'node:net';
import {createInterface} from 'node:readline';
import {Builder, By, Key, Origin} from 'selenium-webdriver';
import {Tab} from './tab.mjs';

const miniBrowser = process.env.MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// Classic WebDriver reports neither console messages nor page errors, so the page keeps them
// itself from the moment the driver hands it over (errors while it loads are not seen).
function watchProblems() {
  const seen = window.tavroProblems = [];
  addEventListener('error', (e) => seen.push(`page error: ${e.message}`));
  addEventListener('unhandledrejection', (e) => seen.push(`page error: ${e.reason}`));
  const error = console.error;
  console.error = (...args) => { seen.push(`console: ${args.join(' ')}`); error.apply(console, args); };
}

const keys = {Enter: Key.ENTER, Escape: Key.ESCAPE, Shift: Key.SHIFT, Control: Key.CONTROL,
  ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT, ArrowUp: Key.ARROW_UP,
  ArrowDown: Key.ARROW_DOWN, Tab: Key.TAB, Backspace: Key.BACK_SPACE};

class WebKitTab extends Tab {
  constructor(driver) {
    super('webkit');
    this.driver = driver;
  }

  evaluate(fn, arg) { return this.driver.executeScript(`return (${fn}).apply(null, arguments)`, arg); }

  async mouse(kind, x, y) {
    const actions = this.driver.actions({async: true}).move({x, y, origin: Origin.VIEWPORT});
    if (kind === 'down') actions.press();
    if (kind === 'up') actions.release();
    await actions.perform();
  }

  async click(selector) { await (await this.driver.findElement(By.css(selector))).click(); }

  // WebDriver sizes the whole window: the page's viewport is made the size asked for by
  // adding what the browser's own frame takes.
  async resize(width, height) {
    const window = this.driver.manage().window();
    await window.setRect({width, height});
    const inner = await this.evaluate(() => [innerWidth, innerHeight]);
    await window.setRect({width: 2 * width - inner[0], height: 2 * height - inner[1]});
  }

  async press(key) {
    const k = keys[key] ?? key;
    await this.driver.actions({async: true}).keyDown(k).keyUp(k).perform();
  }

  // A file input takes its paths as typed text, one a line; hidden inputs are allowed.
  async setFiles(selector, paths) {
    await (await this.driver.findElement(By.css(selector))).sendKeys(paths.join('\n'));
  }

  async screenshot(path) { writeFileSync(path, Buffer.from(await this.driver.takeScreenshot(), 'base64')); }
  async problems() { return this.evaluate(() => window.tavroProblems || ['the problem watch is gone']); }
  close() { return this.driver.quit(); }
}

const freePort = () => new Promise((ok, fail) => {
  const s = createServer().once('error', fail).listen(0, '127.0.0.1', () => {
    const {port} = s.address();
    s.close(() => ok(port));
  });
});

export async function startWebKit() {
  const children = [];
  const stop = () => { for (const c of children.reverse()) if (c.exitCode === null) c.kill(); };
  process.once('exit', stop);
  try {
    // Xvfb picks a free display and writes its number on fd 3.
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
      {stdio: ['ignore', 'ignore', 'inherit', 'pipe']});
    children.push(xvfb);
    const display = await new Promise((ok, fail) => {
      xvfb.once('exit', () => fail(new Error('Xvfb did not start')));
      xvfb.stdio[3].once('data', (d) => ok(String(d).trim()));
    });
    const port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${port}`, '--host=127.0.0.1'], {
      env: {...process.env, DISPLAY: `:${display}`, NO_AT_BRIDGE: '1'},
      stdio: ['ignore', 'ignore', 'pipe'],
    });
    children.push(driver);
    // The browser's complaints about what a desktop would have (a session bus, media plugins)
    // say nothing about the page; anything else is passed on.
    createInterface({input: driver.stderr}).on('line', (line) => {
      if (!/dbus-launch|session D-Bus|GStreamer|WebVTT|^\s*$/.test(line)) process.stderr.write(`webkit: ${line}\n`);
    });
    const server = `http://127.0.0.1:${port}`;
    for (let tries = 0; ; ++tries) {
      try {
        if ((await fetch(`${server}/status`)).ok) break;
      } catch (e) {
        if (tries > 100 || driver.exitCode !== null) throw new Error(`WebKitWebDriver did not start: ${e}`);
      }
      await new Promise((ok) => setTimeout(ok, 50));
    }
    return {
      name: 'webkit',
      async open(url) {
        // A browser of its own per tab: nothing carried from one test to the next.
        const session = await new Builder().usingServer(server).withCapabilities({
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': {binary: miniBrowser, args: ['--automation']},
        }).build();
        await session.manage().window().setRect({width: 1024, height: 768});
        const tab = new WebKitTab(session);
        await session.get(url);
        await tab.evaluate(watchProblems);
        return tab;
      },
      async close() { stop(); },
    };
  } catch (e) {
    stop();
    throw e;
  }
}
