// <tavro-set src="doll.lzh"></tavro-set>: a player of a set on any page of a site that carries
// this folder. Until it is tapped (or, with `autoplay`, scrolled into view) it is a button over
// an optional `poster` picture and loads nothing; then it becomes a frame of the page in its
// `&embed` mode, sized to the set's playfield once known. The element carries the player's
// state in `data-tavro-state`, as the page does: "waiting" before it starts.
//
//   <script type="module" src="/tavro/embed.js"></script>
//   <tavro-set src="sets/doll.lzh" poster="sets/doll.png"></tavro-set>
//
// `clock="still"` holds the player's clock at 0, as the page's `?clock=still` does (for tests).

const here = new URL('.', import.meta.url);

// The default playfield's shape, until the set says its own.
const kDefaultAspect = '448 / 320';

const STYLE = `
:host { display: block; width: 100%; aspect-ratio: ${kDefaultAspect}; position: relative;
  background: #777 center / contain no-repeat; contain: content; }
button { position: absolute; inset: 0; margin: auto; width: 5em; height: 5em; border-radius: 50%;
  border: 0; background: #000a; color: #fff; font-size: 1em; cursor: pointer; }
button:focus-visible { outline: 3px solid Highlight; }
iframe { border: 0; width: 100%; height: 100%; display: block; }
`;

/**
 * The page's address for one player.
 * @param {string} src the set, as the element gives it (resolved against the element's page)
 * @param {string} baseUrl the element's page
 * @param {string | null} clock a test's still clock
 */
export function playerUrl(src, baseUrl, clock) {
  const page = new URL('index.html', here);
  const params = new URLSearchParams({open: new URL(src, baseUrl).href});
  if (clock === 'still') params.set('clock', 'still');
  return `${page.href}?${params}&embed`;
}

class TavroSet extends HTMLElement {
  constructor() {
    super();
    /** @type {HTMLIFrameElement | null} */
    this.frame = null;
    /** @type {IntersectionObserver | null} */
    this.watch = null;
    this.onMessage = this.onMessage.bind(this);
  }

  connectedCallback() {
    if (this.shadowRoot) return;
    const root = this.attachShadow({mode: 'open'});
    const style = document.createElement('style');
    style.textContent = STYLE;
    const play = document.createElement('button');
    play.type = 'button';
    play.textContent = '▶ Play';
    play.setAttribute('aria-label', `Play ${this.getAttribute('src') || 'the set'}`);
    play.addEventListener('click', () => this.start(true));
    root.append(style, play);
    const poster = this.getAttribute('poster');
    if (poster) this.style.backgroundImage = `url("${new URL(poster, document.baseURI).href}")`;
    this.dataset.tavroState = 'waiting';
    if (this.hasAttribute('autoplay') && 'IntersectionObserver' in window) {
      this.watch = new IntersectionObserver((seen) => {
        if (seen.some((s) => s.isIntersecting)) this.start();
      });
      this.watch.observe(this);
    }
  }

  disconnectedCallback() {
    this.watch?.disconnect();
    window.removeEventListener('message', this.onMessage);
  }

  /**
   * Becomes the player: the page in a frame of its own, loaded only now. A tap hands it the
   * keys; scrolling past leaves them where they are.
   * @param {boolean} [tapped]
   */
  start(tapped = false) {
    if (this.frame || !this.shadowRoot) return;
    this.watch?.disconnect();
    const src = this.getAttribute('src');
    if (!src) {
      this.dataset.tavroState = 'failed';
      return;
    }
    const frame = document.createElement('iframe');
    frame.title = this.getAttribute('title') || `Doll set ${src}`;
    frame.allow = 'fullscreen; clipboard-write';
    frame.src = playerUrl(src, document.baseURI, this.getAttribute('clock'));
    window.addEventListener('message', this.onMessage);
    this.frame = frame;
    this.dataset.tavroState = 'starting';
    this.shadowRoot.replaceChildren(this.shadowRoot.querySelector('style') || '', frame);
    if (tapped) frame.focus();
  }

  /** @param {MessageEvent} event */
  onMessage(event) {
    if (!this.frame || event.source !== this.frame.contentWindow) return;
    const data = event.data;
    if (!data || data.tavro !== 'embed') return;
    if (typeof data.state === 'string') this.dataset.tavroState = data.state;
    const width = Number(data.width);
    const height = Number(data.height);
    if (width > 0 && height > 0) this.style.aspectRatio = `${width} / ${height}`;
  }
}

if (!customElements.get('tavro-set')) customElements.define('tavro-set', TavroSet);
