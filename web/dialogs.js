// The page's modal boxes, titled and marked as the window's are: the core's messages and the
// scripts' "debug(" texts with the exclamation mark under the application's title, information
// and inspection without a mark, the load report, the "Select CNF File" choice, the Zoom dialog
// and About. They take turns in the one <dialog>, so only one is ever open; a refusal of the
// Zoom dialog's field shows over it, as the window's box shows over its dialog.

export const APP_TITLE = 'TAVRO32';

/** @typedef {'exclamation' | 'information' | 'none'} Mark */

/**
 * @typedef {object} Button
 * @property {string} value  the dialog's return value when it closes the box
 * @property {string} label
 * @property {boolean} [closes]  false for a button that acts without closing the box
 * @property {() => void} [act]
 */

/**
 * What one box shows.
 * @typedef {object} BoxShape
 * @property {string} caption
 * @property {string} [text]
 * @property {Mark} [mark]
 * @property {Button[]} [buttons]   OK alone when not given
 * @property {(extra: HTMLElement, close: (value: string) => void) => void} [fill]
 * @property {string} [cancel]      the value Escape closes it with
 * @property {(dialog: HTMLDialogElement) => boolean} [accept]  may refuse a closing button
 */

/**
 * A row of the load report.
 * @typedef {object} ReportRow
 * @property {string} file
 * @property {number} line
 * @property {string} kind
 * @property {string} detail
 */

/** @type {Array<keyof ReportRow>} */
export const REPORT_COLUMNS = ['file', 'line', 'kind', 'detail'];
const REPORT_HEADINGS = ['File', 'Line', 'Kind', 'Detail'];

/**
 * The rows in the order of one column, numbers as numbers ("10" after "9"); equal ones keep
 * their order.
 * @param {ReportRow[]} rows
 * @param {keyof ReportRow} column
 * @param {boolean} ascending
 * @returns {ReportRow[]}
 */
export function sortedRows(rows, column, ascending) {
  const sign = ascending ? 1 : -1;
  return rows.map((row, i) => ({row, i})).sort((a, b) => {
    const x = a.row[column];
    const y = b.row[column];
    const order = typeof x === 'number' && typeof y === 'number' ? x - y : String(x).localeCompare(String(y));
    return order * sign || a.i - b.i;
  }).map((e) => e.row);
}

/**
 * The report as the window's Copy gives it: "file:line: kind: detail", a line each.
 * @param {ReportRow[]} rows
 * @returns {string}
 */
export function reportText(rows) {
  return rows.map((r) => `${r.file}:${r.line}: ${r.kind}: ${r.detail}\n`).join('');
}

/**
 * The report's heading line, as the window's.
 * @param {number} count
 * @returns {string}
 */
export function reportSummary(count) {
  return count === 0 ? 'The last load met no problem.' : `The last load met ${count} problem${count === 1 ? '' : 's'}:`;
}

/**
 * A whole number typed into the Zoom dialog, or null for anything else (blanks around it are
 * allowed, as in the window).
 * @param {string} text
 * @returns {number | null}
 */
export function parseFactor(text) {
  const digits = text.trim();
  if (!/^[0-9]+$/.test(digits)) return null;
  return Math.min(Number(digits), 0xffffffff);
}

/**
 * The boxes of one page. Nothing touches the document until a box is shown.
 * @param {Document} doc
 */
export function createDialogs(doc) {
  const $ = (/** @type {string} */ id) => /** @type {HTMLElement} */ (doc.getElementById(id));
  const dialog = /** @type {HTMLDialogElement} */ ($('message'));
  const title = $('message-title');
  const text = $('message-text');
  const extra = $('message-extra');
  const buttons = $('message-buttons');
  /** @type {Array<() => void>} */
  const waiting = [];

  const showNext = () => {
    if (dialog.open) return;
    waiting.shift()?.();
  };

  /**
   * A button of the box's row.
   * @param {Button} button
   * @param {(value: string) => void} close
   */
  const makeButton = (button, close) => {
    const b = doc.createElement('button');
    b.type = 'button';
    b.value = button.value;
    b.id = `message-${button.value}`;
    b.textContent = button.label;
    b.addEventListener('click', () => {
      button.act?.();
      if (button.closes !== false) close(button.value);
    });
    return b;
  };

  /**
   * Shows one box at its turn (at once when no other is open); resolves with the value it was
   * closed with.
   * @param {BoxShape} shape
   * @returns {Promise<string>}
   */
  const box = (shape) => new Promise((resolve) => {
    waiting.push(() => {
      title.textContent = shape.caption;
      text.textContent = shape.text ?? '';
      text.hidden = !shape.text;
      dialog.classList.remove('exclamation', 'information');
      if (shape.mark && shape.mark !== 'none') dialog.classList.add(shape.mark);
      extra.replaceChildren();
      buttons.replaceChildren();
      const close = (/** @type {string} */ value) => {
        if (value !== shape.cancel && shape.accept && !shape.accept(dialog)) return;
        dialog.close(value);
      };
      for (const b of shape.buttons ?? [{value: 'ok', label: 'OK'}]) buttons.append(makeButton(b, close));
      shape.fill?.(extra, close);
      dialog.returnValue = '';
      const onCancel = (/** @type {Event} */ e) => {
        // Escape closes a box with its cancel value; a box without one closes as with OK.
        e.preventDefault();
        dialog.close(shape.cancel ?? buttons.querySelector('button')?.value ?? '');
      };
      dialog.addEventListener('cancel', onCancel);
      dialog.addEventListener('close', () => {
        dialog.removeEventListener('cancel', onCancel);
        resolve(dialog.returnValue);
        showNext();
      }, {once: true});
      dialog.showModal();
      /** @type {HTMLElement | null} */ (extra.querySelector('[data-focus]') ?? buttons.querySelector('button'))?.focus();
    });
    showNext();
  });

  /**
   * A box of its own over whatever is open (the window's box over its dialog).
   * @param {string} message
   * @returns {Promise<void>}
   */
  const overBox = (message) => new Promise((resolve) => {
    const over = doc.createElement('dialog');
    over.className = 'exclamation over';
    const h = Object.assign(doc.createElement('h2'), {textContent: APP_TITLE});
    const p = Object.assign(doc.createElement('pre'), {textContent: message, className: 'text'});
    const menu = doc.createElement('menu');
    const ok = Object.assign(doc.createElement('button'), {type: 'button', textContent: 'OK', value: 'ok'});
    ok.addEventListener('click', () => over.close());
    menu.append(ok);
    over.append(h, p, menu);
    over.addEventListener('close', () => {
      over.remove();
      resolve();
    });
    doc.body.append(over);
    over.showModal();
    ok.focus();
  });

  return {
    /** Whether a box is open or waiting. */
    get busy() { return dialog.open || waiting.length > 0; },

    /**
     * Messages of the core (the open's, a save's, a recording's): each in a box of its own, in
     * order, under the application's title with the exclamation mark.
     * @param {string[]} messages
     * @param {Mark} [mark]
     */
    showMessages(messages, mark = 'exclamation') {
      return Promise.all(messages.filter((m) => m).map((m) => box({caption: APP_TITLE, text: m, mark})));
    },

    /**
     * A message with the exclamation mark and a link under it (where a file can be fetched by
     * hand), opened in a tab of its own.
     * @param {string} message
     * @param {string} href
     */
    showMessageWithLink(message, href) {
      return box({caption: APP_TITLE, text: message, mark: 'exclamation', fill: (extra) => {
        const a = Object.assign(doc.createElement('a'), {href, textContent: href, target: '_blank',
          rel: 'noopener', id: 'message-link'});
        a.setAttribute('download', '');
        extra.append(a);
      }});
    },

    /**
     * A box with the window's plain look: no mark, the caption given or the application's.
     * @param {string} caption
     * @param {string} body
     */
    showText(caption, body) {
      return box({caption: caption || APP_TITLE, text: body, mark: 'none'});
    },

    /**
     * A Yes/No question with the exclamation mark; resolves true for Yes.
     * @param {string} question
     */
    async askYesNo(question) {
      const value = await box({caption: APP_TITLE, text: question, mark: 'exclamation', cancel: 'no',
        buttons: [{value: 'yes', label: 'Yes'}, {value: 'no', label: 'No'}]});
      return value === 'yes';
    },

    /**
     * The load report: a table sortable by any column (by line at first), with Copy.
     * @param {ReportRow[]} rows
     * @param {(text: string) => Promise<void>} copy
     */
    showReport(rows, copy) {
      /** @type {{column: keyof ReportRow, ascending: boolean}} */
      const order = {column: 'line', ascending: true};
      /** @type {ReportRow[]} */
      let shown = sortedRows(rows, order.column, order.ascending);
      return box({
        caption: 'Load Report', text: reportSummary(rows.length), mark: 'none', cancel: 'close',
        buttons: [{value: 'copy', label: 'Copy', closes: false, act: () => { copy(reportText(shown)); }},
          {value: 'close', label: 'Close'}],
        fill: (extra) => {
          if (rows.length === 0) return;
          const table = doc.createElement('table');
          const head = table.createTHead().insertRow();
          const body = table.createTBody();
          const draw = () => {
            shown = sortedRows(rows, order.column, order.ascending);
            body.replaceChildren();
            for (const row of shown) {
              const tr = body.insertRow();
              for (const c of REPORT_COLUMNS) tr.insertCell().textContent = String(row[c]);
            }
            [...head.cells].forEach((th, i) => th.setAttribute('aria-sort', REPORT_COLUMNS[i] !== order.column ? 'none'
              : order.ascending ? 'ascending' : 'descending'));
          };
          REPORT_COLUMNS.forEach((column, i) => {
            const th = doc.createElement('th');
            const b = Object.assign(doc.createElement('button'), {type: 'button', textContent: REPORT_HEADINGS[i]});
            b.addEventListener('click', () => {
              order.ascending = order.column === column ? !order.ascending : true;
              order.column = column;
              draw();
            });
            th.append(b);
            head.append(th);
          });
          draw();
          const scroll = Object.assign(doc.createElement('div'), {className: 'scroll'});
          scroll.append(table);
          extra.append(scroll);
        },
      });
    },

    /**
     * The "Select CNF File" choice: the names in the order given, the first selected; OK, Enter
     * or a double click opens the selected one, Cancel or Escape cancels. Resolves with its
     * index, -1 when cancelled or nothing was selected.
     * @param {string[]} names
     * @returns {Promise<number>}
     */
    async chooseConfig(names) {
      let selected = names.length ? 0 : -1;
      const value = await box({
        caption: 'Select CNF File', mark: 'none', cancel: 'cancel',
        buttons: [{value: 'ok', label: 'OK'}, {value: 'cancel', label: 'Cancel'}],
        fill: (extra, close) => {
          const list = Object.assign(doc.createElement('ul'), {className: 'choices', tabIndex: 0});
          list.setAttribute('role', 'listbox');
          list.setAttribute('aria-label', 'Configuration files');
          list.dataset.focus = '';
          const mark = () => [...list.children].forEach((li, i) => li.setAttribute('aria-selected', String(i === selected)));
          names.forEach((name, i) => {
            const li = Object.assign(doc.createElement('li'), {textContent: name});
            li.setAttribute('role', 'option');
            li.addEventListener('click', () => { selected = i; mark(); });
            li.addEventListener('dblclick', () => { selected = i; mark(); close('ok'); });
            list.append(li);
          });
          list.addEventListener('keydown', (e) => {
            if (e.key === 'Enter') close('ok');
            else if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
              selected = Math.max(0, Math.min(names.length - 1, selected + (e.key === 'ArrowDown' ? 1 : -1)));
              mark();
              list.children[selected]?.scrollIntoView({block: 'nearest'});
            } else return;
            e.preventDefault();
          });
          mark();
          extra.append(list);
        },
      });
      return value === 'ok' ? selected : -1;
    },

    /**
     * The Zoom dialog: the factor typed in, held to `low` to `high` with the window's refusals
     * (the dialog stays open, the field selected); null on Cancel.
     * @param {number} factor
     * @param {number} low
     * @param {number} high
     * @returns {Promise<number | null>}
     */
    async askZoom(factor, low, high) {
      const field = Object.assign(doc.createElement('input'), {type: 'text', value: String(factor),
        inputMode: 'numeric', id: 'zoom-factor'});
      field.setAttribute('aria-label', 'Zoom factor');
      field.dataset.focus = '';
      let chosen = factor;
      const value = await box({
        caption: 'Zoom', mark: 'none', cancel: 'cancel',
        buttons: [{value: 'ok', label: 'OK'}, {value: 'cancel', label: 'Cancel'}],
        fill: (extra, close) => {
          field.addEventListener('keydown', (e) => {
            if (e.key !== 'Enter') return;
            e.preventDefault();
            close('ok');
          });
          extra.append(field);
          queueMicrotask(() => field.select());
        },
        accept: () => {
          const typed = parseFactor(field.value);
          const refusal = typed === null ? 'Please enter an integer.'
            : typed < low || typed > high ? `Please enter an integer between ${low} and ${high}.` : '';
          if (!refusal) {
            chosen = /** @type {number} */ (typed);
            return true;
          }
          overBox(refusal).then(() => {
            field.focus();
            field.select();
          });
          return false;
        },
      });
      return value === 'ok' ? chosen : null;
    },

    /**
     * The About box.
     * @param {string} version
     */
    showAbout(version) {
      return box({
        caption: 'TAVRO', mark: 'none', buttons: [{value: 'ok', label: 'Ok'}],
        fill: (extra) => {
          const about = Object.assign(doc.createElement('div'), {className: 'about'});
          const icon = Object.assign(doc.createElement('img'), {src: 'icon.svg', alt: '', width: 32, height: 32});
          const lines = doc.createElement('div');
          for (const line of [`TAVRO32 Version ${version}`, 'Mivo doll set viewer', 'in the browser']) {
            lines.append(Object.assign(doc.createElement('p'), {textContent: line}));
          }
          about.append(icon, lines);
          extra.append(about);
        },
      });
    },

    /**
     * One of `options` as buttons (the recording's length and kind); resolves with its index,
     * -1 when the box is closed otherwise.
     * @param {string} caption
     * @param {string[]} options
     * @returns {Promise<number>}
     */
    async chooseOne(caption, options) {
      const value = await box({
        caption, mark: 'none', cancel: 'cancel', buttons: [{value: 'cancel', label: 'Cancel'}],
        fill: (extra, close) => {
          options.forEach((option, i) => {
            const b = Object.assign(doc.createElement('button'), {type: 'button', value: String(i), textContent: option});
            b.className = 'option';
            b.addEventListener('click', () => close(String(i)));
            extra.append(b);
          });
        },
      });
      return value === 'cancel' || value === '' ? -1 : Number(value);
    },
  };
}

/** @typedef {ReturnType<typeof createDialogs>} Dialogs */

// The page's one set of boxes, over its one <dialog> (none where there is no document: the pure
// functions above are tested without one).
const boxes = typeof document === 'undefined' ? null : createDialogs(document);
const page = () => /** @type {Dialogs} */ (boxes);

/** @param {string[]} messages @param {Mark} [mark] */
export const showMessages = (messages, mark) => page().showMessages(messages, mark);
/** @param {string} message @param {string} href */
export const showMessageWithLink = (message, href) => page().showMessageWithLink(message, href);
/** The scripts' "debug(" texts, as the window's exclamation boxes. @param {string[]} texts */
export const showWarnings = (texts) => page().showMessages(texts, 'exclamation');
/** @param {string} caption @param {string} body */
export const showText = (caption, body) => page().showText(caption, body);
/** @param {string} question */
export const askYesNo = (question) => page().askYesNo(question);
/** @param {ReportRow[]} rows @param {(text: string) => Promise<void>} copy */
export const showReport = (rows, copy) => page().showReport(rows, copy);
/** @param {string[]} names */
export const chooseConfig = (names) => page().chooseConfig(names);
/** @param {string} caption @param {string[]} options */
export const chooseOne = (caption, options) => page().chooseOne(caption, options);
/** @param {number} factor @param {number} low @param {number} high */
export const askZoom = (factor, low, high) => page().askZoom(factor, low, high);
/** @param {string} version */
export const showAbout = (version) => page().showAbout(version);
/** Whether a box is open or waiting: keys and the pointer are the box's meanwhile. */
export const boxesBusy = () => page().busy;
