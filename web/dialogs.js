// @ts-nocheck: its boxes are being rewritten with their types; until then it is left unchecked.
// The page's modal boxes: the core's messages one after another, texts, tables and a choice,
// all in the one <dialog> so that only one is ever open.
const dialog = document.getElementById('message');
const title = document.getElementById('message-title');
const text = document.getElementById('message-text');
const extra = document.getElementById('message-extra');
const ok = document.getElementById('message-ok');

const waiting = [];  // boxes not yet shown: [fill, resolve]

function showNext() {
  if (dialog.open || waiting.length === 0) return;
  const [fill, resolve] = waiting.shift();
  extra.replaceChildren();
  text.textContent = '';
  dialog.classList.remove('exclamation');
  ok.hidden = false;
  fill();
  dialog.returnValue = '';
  dialog.addEventListener('close', () => {
    resolve(dialog.returnValue);
    showNext();
  }, {once: true});
  dialog.showModal();
  (ok.hidden ? extra.querySelector('button') : ok)?.focus();
}

// Shows one box at its turn (at once when no other is open); resolves with the dialog's return
// value when it closes.
function box(fill) {
  const closed = new Promise((resolve) => waiting.push([fill, resolve]));
  showNext();
  return closed;
}

// Each message in a box of its own, in order; resolves once all are closed. The first box is
// open when this returns where no other box was open.
export function showMessages(messages) {
  return Promise.all(messages.filter((m) => m).map((m) => box(() => {
    title.textContent = 'Tavro';
    text.textContent = m;
  })));
}

// The scripts' "debug(" texts: each in a box of its own with the exclamation sign.
export function showWarnings(messages) {
  return Promise.all(messages.map((m) => box(() => {
    title.textContent = 'Tavro';
    text.textContent = m;
    dialog.classList.add('exclamation');
  })));
}

// A Yes/No question with the exclamation sign; resolves true for Yes.
export async function askYesNo(question) {
  const value = await box(() => {
    title.textContent = 'Tavro';
    text.textContent = question;
    dialog.classList.add('exclamation');
    ok.hidden = true;
    for (const [answer, label] of [['yes', 'Yes'], ['no', 'No']]) {
      extra.append(Object.assign(document.createElement('button'), {value: answer, textContent: label}));
    }
  });
  return value === 'yes';
}

export function showText(caption, body) {
  return box(() => {
    title.textContent = caption;
    text.textContent = body;
  });
}

export function showTable(caption, headings, rows, empty) {
  return box(() => {
    title.textContent = caption;
    text.textContent = empty;
    if (!rows.length) return;
    const table = document.createElement('table');
    const head = table.createTHead().insertRow();
    for (const h of headings) head.append(Object.assign(document.createElement('th'), {textContent: h}));
    const body = table.createTBody();
    for (const row of rows) {
      const tr = body.insertRow();
      for (const cell of row) tr.insertCell().textContent = String(cell);
    }
    const scroll = Object.assign(document.createElement('div'), {className: 'scroll'});
    scroll.append(table);
    extra.append(scroll);
  });
}

// One of `options` as buttons; resolves with its index, -1 when the box is closed otherwise.
export async function chooseOne(caption, options) {
  const value = await box(() => {
    title.textContent = caption;
    options.forEach((option, i) => {
      const b = Object.assign(document.createElement('button'), {value: String(i), textContent: option});
      b.style.display = 'block';
      b.style.margin = '4px 0';
      extra.append(b);
    });
  });
  return value === '' || value === 'ok' ? -1 : Number(value);
}
