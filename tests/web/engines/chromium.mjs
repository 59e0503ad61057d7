// Debian's chromium through playwright-core, started as the other browser tests start it.
import {launch, openPage} from '../harness.mjs';
import {PageTab} from './tab.mjs';

class ChromiumTab extends PageTab {
  constructor(page) {
    super('chromium', page);
  }

  setFiles(selector, paths) { return this.page.setInputFiles(selector, paths); }
  resize(width, height) { return this.page.setViewportSize({width, height}); }

  // Real touch input through the DevTools protocol (Playwright's own touchscreen only taps).
  async touch(kind, x, y) {
    this.cdp ??= await this.page.context().newCDPSession(this.page);
    const type = {down: 'touchStart', move: 'touchMove', up: 'touchEnd'}[kind];
    await this.cdp.send('Input.dispatchTouchEvent', {type, touchPoints: kind === 'up' ? [] : [{x, y}]});
  }
  async problems() { return this.page.problems; }
  close() { return this.page.context().close(); }
}

export async function startChromium() {
  const browser = await launch();
  return {
    name: 'chromium',
    async open(url) {
      const tab = new ChromiumTab(await openPage(browser, {viewport: {width: 1024, height: 768}}));
      await tab.page.goto(url);
      return tab;
    },
    close: () => browser.close(),
  };
}
