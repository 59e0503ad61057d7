// What a test does with the page, the same in every engine. Each driver supplies the few steps
// its protocol does its own way (navigating, evaluating, mouse, keys, files, screenshots); the
// rest is built on evaluating functions in the page, so the three engines read the page alike.

// Runs in the page: the canvas's pixels, base64 in slices small enough for String.fromCharCode,
// once what the calls before drew has arrived from the core's worker (where the page says).
async function readCanvas() {
  await window.tavro?.settled?.();
  const c = /** @type {HTMLCanvasElement} */ (document.getElementById('playfield'));
  const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  let s = '';
  for (let i = 0; i < d.length; i += 8192) s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));
  return {width: c.width, height: c.height, data: btoa(s)};
}

// Runs in the page: where the canvas pixel [x, y] is in the viewport, whatever the zoom.
function canvasPoint([x, y]) {
  const c = document.getElementById('playfield');
  const r = c.getBoundingClientRect();
  return {x: r.left + (x + 0.5) * r.width / c.width, y: r.top + (y + 0.5) * r.height / c.height};
}

const pageState = () => document.documentElement.dataset.tavroState;

export class Tab {
  /** @param {string} engine */
  constructor(engine) {
    this.engine = engine;
  }

  /** Waits until `data-tavro-state` is one of `states` and returns it. */
  async state(...states) {
    const deadline = Date.now() + 30000;
    let seen;
    while (!states.includes(seen = await this.evaluate(pageState))) {
      if (Date.now() > deadline) throw new Error(`${this.engine}: state ${seen}, not ${states.join(' or ')}`);
      await new Promise((ok) => setTimeout(ok, 50));
    }
    return seen;
  }

  /** Waits until `fn(arg)`, evaluated in the page, is true. */
  async until(fn, arg, what = String(fn)) {
    const deadline = Date.now() + 30000;
    while (!await this.evaluate(fn, arg)) {
      if (Date.now() > deadline) throw new Error(`${this.engine}: timed out waiting for ${what}`);
      await new Promise((ok) => setTimeout(ok, 50));
    }
  }

  /** The canvas as {width, height, rgba}. */
  async pixels() {
    const {width, height, data} = await this.evaluate(readCanvas);
    return {width, height, rgba: Buffer.from(data, 'base64')};
  }

  /** Pointer down, move or up at canvas pixel (x, y): the mouse moves there first. */
  async pointer(kind, x, y) {
    const at = await this.evaluate(canvasPoint, [x, y]);
    await this.mouse(kind, Math.round(at.x), Math.round(at.y));
  }

  /** A finger drag from canvas pixel `from` to `to` in `steps` moves, where the driver has touch. */
  async touchDrag(from, to, steps = 5) {
    const point = (p) => this.evaluate(canvasPoint, p);
    const start = await point(from);
    await this.touch('down', start.x, start.y);
    for (let i = 1; i <= steps; ++i) {
      const p = await point([from[0] + (to[0] - from[0]) * i / steps, from[1] + (to[1] - from[1]) * i / steps]);
      await this.touch('move', p.x, p.y);
    }
    await this.touch('up', start.x, start.y);
  }

  /** A drag from canvas pixel `from` to `to` in `steps` moves. */
  async drag(from, to, steps = 5) {
    await this.pointer('down', ...from);
    for (let i = 1; i <= steps; ++i) {
      await this.pointer('move', Math.round(from[0] + (to[0] - from[0]) * i / steps),
        Math.round(from[1] + (to[1] - from[1]) * i / steps));
    }
    await this.pointer('up', ...to);
  }
}

// A tab whose driver speaks Playwright's and Puppeteer's common dialect of page, mouse and keys.
export class PageTab extends Tab {
  /** @param {string} engine */
  constructor(engine, page) {
    super(engine);
    this.page = page;
  }

  evaluate(fn, arg) { return this.page.evaluate(fn, arg); }

  async mouse(kind, x, y) {
    await this.page.mouse.move(x, y);
    if (kind === 'down') await this.page.mouse.down();
    if (kind === 'up') await this.page.mouse.up();
  }

  click(selector) { return this.page.click(selector); }
  press(key) { return this.page.keyboard.press(key); }
  screenshot(path) { return this.page.screenshot({path}); }
}
