// The toolbar's own behaviour, apart from the commands it runs: Open… and Folder… as real
// buttons in front of the file inputs, the sets and colour groups as compact pickers that follow
// their buttons, and the menu that holds the rest on a small screen.

/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/**
 * A picker standing in for a row of buttons: an option for each, the pressed one selected,
 * the disabled ones disabled; choosing one clicks its button, so that the command is the
 * button's own.
 * @param {HTMLSelectElement} picker
 * @param {HTMLElement} row
 * @param {string} label
 */
function followButtons(picker, row, label) {
  const sync = () => {
    const buttons = /** @type {HTMLButtonElement[]} */ ([...row.children]);
    while (picker.options.length < buttons.length) {
      const n = picker.options.length;
      picker.append(new Option(`${label} ${n}`, String(n)));
    }
    buttons.forEach((b, n) => {
      picker.options[n].disabled = b.disabled;
      if (b.getAttribute('aria-pressed') === 'true') picker.selectedIndex = n;
    });
    picker.disabled = buttons.every((b) => b.disabled);
  };
  new MutationObserver(sync).observe(row, {subtree: true, childList: true, attributes: true,
    attributeFilter: ['disabled', 'aria-pressed']});
  picker.addEventListener('change', () => {
    /** @type {HTMLButtonElement | undefined} */ (row.children[picker.selectedIndex])?.click();
    // The picker shows what the core made of it (a set without cels stays unchosen).
    sync();
  });
  sync();
}

/**
 * Wired at once, before the core has loaded: what is picked meanwhile waits for it.
 */
export function wireToolbar() {
  // The buttons open the inputs' pickers. Where the browser lets the page pick a folder itself
  // (so that Save can write into it), the opening module does that instead.
  $('open').addEventListener('click', () => $('open-files').click());
  $('folder').addEventListener('click', () => {
    if (!(/** @type {any} */ (window).showDirectoryPicker)) $('open-folder').click();
  });

  // A small screen has no room for Folder… in the bar: the menu holds it.
  $('menu-folder').addEventListener('click', () => $('folder').click());

  followButtons(/** @type {HTMLSelectElement} */ ($('set-picker')), $('sets'), 'Set');
  followButtons(/** @type {HTMLSelectElement} */ ($('group-picker')), $('groups'), 'Colour');

  const bar = $('toolbar');
  const menuButton = $('menu-button');
  /** @param {boolean} open */
  const showMenu = (open) => {
    bar.classList.toggle('menu-open', open);
    menuButton.setAttribute('aria-expanded', String(open));
  };
  menuButton.addEventListener('click', () => showMenu(!bar.classList.contains('menu-open')));
  // A command chosen from the menu closes it, as does a press anywhere else or Escape.
  $('menu').addEventListener('click', (e) => {
    if (/** @type {HTMLElement} */ (e.target).closest('button')) showMenu(false);
  });
  document.addEventListener('pointerdown', (e) => {
    if (!bar.contains(/** @type {Node} */ (e.target))) showMenu(false);
  });
  document.addEventListener('keydown', (e) => {
    if (e.key === 'Escape' && bar.classList.contains('menu-open')) {
      showMenu(false);
      menuButton.focus();
    }
  });
}
