// The progress of a long open, as the window's progress dialog shows it: nothing for an open
// that is over within half a second, then a link's download, the members unpacked, then the cels loaded, with a
// Cancel button (or Escape) that ends the open and leaves an empty document.

/** An open shorter than this shows no progress, as in the window. */
export const kProgressDelayMs = 500;

/**
 * The dialog's text for a step.
 * @param {import('./worker/core-engine.js').ProgressEvent} step
 */
export function progressText({phase, count, total}) {
  if (phase === 'download') {
    const size = (/** @type {number} */ n) => (n >= 1024 * 1024 ? `${(n / (1024 * 1024)).toFixed(1)} MiB`
      : `${Math.ceil(n / 1024)} KiB`);
    return total ? `Downloading the set: ${size(count)} of ${size(Math.max(count, total))}`
      : `Downloading the set: ${size(count)}`;
  }
  return phase === 'unpack' ? `Unpacking the archive: ${count} files`
    : `Loading cels: ${count} of ${Math.max(count, total)}`;
}

/**
 * Watches one open: the returned `done` closes the dialog. `cancel` is called when the person
 * cancels.
 * @param {import('./core-client.js').CoreClient} client
 * @param {() => void} cancel
 */
export function watchOpen(client, cancel) {
  const dialog = /** @type {HTMLDialogElement} */ (document.getElementById('progress'));
  const label = /** @type {HTMLElement} */ (document.getElementById('progress-text'));
  const bar = /** @type {HTMLProgressElement} */ (document.getElementById('progress-bar'));
  const started = performance.now();
  /** @type {import('./worker/core-engine.js').ProgressEvent|null} */
  let last = null;
  let over = false;
  let shown = false;  // this watch opened the dialog: a close is then the person's or its own
  const show = () => {
    if (over || !last) return;
    label.textContent = progressText(last);
    // How many members there are is not known until the last, nor a download's size where the
    // site does not say: the bar just shows it is busy.
    if (last.phase === 'unpack' || (last.phase === 'download' && !last.total)) {
      bar.removeAttribute('value');
    } else {
      bar.max = Math.max(1, last.total, last.count);
      bar.value = last.count;
    }
    if (!dialog.open) dialog.showModal();
    shown = true;
  };
  const timer = setTimeout(show, kProgressDelayMs);
  client.on('progress', (step) => {
    last = step;
    if (performance.now() - started >= kProgressDelayMs) show();
  });
  const onClose = () => {
    // The close of a dialog an earlier watch had open comes as a task of its own, possibly
    // after this watch began: it is not this open's Cancel.
    if (over || !shown) return;
    over = true;
    cancel();
  };
  dialog.addEventListener('close', onClose);
  return {
    done() {
      over = true;
      clearTimeout(timer);
      dialog.removeEventListener('close', onClose);
      if (dialog.open) dialog.close();
    },
  };
}
