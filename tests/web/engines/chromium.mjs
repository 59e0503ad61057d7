// Debian's chromium through playwright-core, started as the other browser tests start it.
import {launch, openPage} from '../harness.mjs';
import {Tab} from './tab.mjs';

class ChromiumTab extends Tab {
  constructor(page) {
    super('chromium');
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
  setFiles(selector, paths) { return this.page.setInputFiles(selector, paths); }
  screenshot(path) { return this.page.screenshot({path}); }
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
