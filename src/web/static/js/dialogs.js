// The modal dialogs of a window: message boxes, the input box, the reject-note dialog and the
// host's windows (list, selection, related bills, data). Each resolves with the answer the
// host waits for; the reject-note dialog talks to the host while the person types.
import { h } from './api.js';

const BUTTON_CAPTIONS = { 1: '确定', 2: '取消', 3: '终止', 4: '重试', 5: '忽略', 6: '是', 7: '否' };
const ICONS = { 16: ['critical', '✖'], 32: ['question', '?'], 48: ['warning', '!'], 64: ['info', 'i'] };

// A modal frame: a title bar, the body and a row of buttons. `keys` handles keys first.
function frame({ title, kind, body, buttons, keys }) {
  const host = document.getElementById('dialogs');
  const footer = h('div.dialog-buttons', null, buttons);
  const box = h('div.dialog', { role: 'dialog', 'aria-modal': 'true', 'aria-label': title || '提示', dataset: { kind } },
    h('div.dialog-title', null, title || '提示'),
    h('div.dialog-body', null, body),
    footer);
  const overlay = h('div.overlay', null, box);
  const previous = document.activeElement;
  overlay.addEventListener('keydown', (e) => {
    if (keys && keys(e)) return;
    e.stopPropagation();
    if (e.key === 'Tab') {
      // Focus stays inside the dialog.
      const focusable = [...box.querySelectorAll('button:not([disabled]), input, textarea, select')];
      if (!focusable.length) return;
      const i = focusable.indexOf(document.activeElement);
      const next = e.shiftKey ? (i <= 0 ? focusable.length - 1 : i - 1) : (i + 1) % focusable.length;
      focusable[next].focus();
      e.preventDefault();
    }
  });
  host.append(overlay);
  return {
    box,
    close() {
      overlay.remove();
      if (previous && previous.isConnected) previous.focus();
    },
  };
}

function button(caption, onclick, attrs = {}) {
  return h('button', { type: 'button', onclick, ...attrs }, caption);
}

export function messageBox(d) {
  return new Promise((resolve) => {
    const [iconClass, glyph] = ICONS[d.icon] || ICONS[64];
    let f;
    const done = (result) => {
      f.close();
      resolve({ result });
    };
    const buttons = d.buttons.map((b) => button(BUTTON_CAPTIONS[b] || String(b), () => done(b), { dataset: { result: b } }));
    const escape = d.buttons.includes(2) ? 2 : d.buttons.length === 1 ? d.buttons[0] : null;
    f = frame({
      title: d.title,
      kind: 'msgbox',
      body: h('div.msgbox', null, h(`span.icon.${iconClass}`, null, glyph), h('div.text', null, d.text)),
      buttons,
      keys(e) {
        if (e.key === 'Escape' && escape !== null) {
          done(escape);
          return true;
        }
        return false;
      },
    });
    (buttons[d.defaultButton] || buttons[0]).focus();
  });
}

export function inputBox(d) {
  return new Promise((resolve) => {
    const input = h('input', { type: 'text', value: d.text || '' });
    let f;
    const done = (answer) => {
      f.close();
      resolve(answer);
    };
    f = frame({
      title: d.title,
      kind: 'input',
      body: [h('label.prompt', null, d.prompt), input],
      buttons: [button('确定', () => done({ ok: true, text: input.value })), button('取消', () => done({ ok: false }))],
      keys(e) {
        if (e.key === 'Enter') done({ ok: true, text: input.value });
        else if (e.key === 'Escape') done({ ok: false });
        else return false;
        return true;
      },
    });
    input.select();
    input.focus();
  });
}

// The library's reject-note form: every change of the text goes to it (`exchange` answers
// {action: "text"} and returns the host's outcome), and its OK state comes back.
export function rejectNote(d, exchange) {
  return new Promise((resolve) => {
    const text = h('textarea', { rows: 5, value: d.text || '' });
    const ok = button(d.okCaption || '确定', () => finish({ answer: { action: 'ok', text: text.value } }));
    const cancel = button(d.cancelCaption || '取消', () => finish({ answer: { action: 'cancel' } }));
    ok.disabled = !d.okEnabled;
    let f;
    let sent = 0;
    let chain = Promise.resolve();
    const finish = (r) => {
      f.close();
      chain.then(() => resolve(r));
    };
    text.addEventListener('input', () => {
      const mine = ++sent;
      const value = text.value;
      chain = chain.then(async () => {
        const outcome = await exchange({ action: 'text', text: value });
        if (!outcome.dialog) {
          f.close();
          resolve({ outcome });
          return;
        }
        if (mine === sent) ok.disabled = !outcome.dialog.okEnabled;
      });
    });
    f = frame({
      title: d.caption,
      kind: 'rejectNote',
      body: [h('label.prompt', null, d.label), text],
      buttons: [ok, cancel],
      keys(e) {
        if (e.key === 'Escape') {
          finish({ answer: { action: 'cancel' } });
          return true;
        }
        return false;
      },
    });
    text.focus();
  });
}

function table(columns, rows, { widths } = {}) {
  return h('div.table-wrap', null,
    h('table.data', null,
      h('thead', null, h('tr', null, columns.map((c, i) => h('th', widths && widths[i] ? { style: `min-width:${Math.round(widths[i] / 15)}px` } : null, c)))),
      h('tbody', null, rows.map((r) => h('tr', null, r.map((c) => h('td', null, c)))))));
}

function closeOnly(title, kind, body) {
  return new Promise((resolve) => {
    let f;
    const done = () => {
      f.close();
      resolve({ ok: true });
    };
    const close = button('关闭', done);
    f = frame({
      title, kind, body, buttons: [close],
      keys(e) {
        if (e.key === 'Escape') {
          done();
          return true;
        }
        return false;
      },
    });
    close.focus();
  });
}

export function listWindow(d) {
  return closeOnly(d.title || '列表', 'list', table(d.titles, d.rows, { widths: d.widths }));
}

const COLUMN_CAPTIONS = { FNumber: '编码', FName: '名称', FBillNo: '单据编号', FDate: '日期' };

export function selectWindow(d) {
  // A column repeating the one before it in every row (a bill's number as its name) says nothing.
  const shown = d.columns.map((c, i) => i === 0 || d.rows.some((r) => r.cells[i] !== r.cells[i - 1]));
  d = {
    ...d,
    columns: d.columns.filter((c, i) => shown[i]).map((c) => COLUMN_CAPTIONS[c] || c),
    rows: d.rows.map((r) => ({ ...r, cells: r.cells.filter((c, i) => shown[i]) })),
  };
  return new Promise((resolve) => {
    const checked = new Set(d.checked || []);
    const filter = h('input.filter', { type: 'search', placeholder: '查找' });
    const boxes = [];
    const body = h('tbody');
    for (const row of d.rows) {
      const box = h('input', { type: d.single ? 'radio' : 'checkbox', name: 'pick', checked: checked.has(row.id) });
      box.dataset.id = row.id;
      boxes.push(box);
      const tr = h('tr', { dataset: { id: row.id } }, h('td', null, box), row.cells.map((c) => h('td', null, c)));
      tr.addEventListener('click', (e) => {
        if (e.target !== box) box.checked = d.single ? true : !box.checked;
      });
      body.append(tr);
    }
    filter.addEventListener('input', () => {
      const q = filter.value.trim().toLowerCase();
      for (const tr of body.children) tr.hidden = q !== '' && !tr.textContent.toLowerCase().includes(q);
    });
    let f;
    const done = (answer) => {
      f.close();
      resolve(answer);
    };
    const ok = button('确定', () => done({ ok: true, ids: boxes.filter((b) => b.checked).map((b) => Number(b.dataset.id)) }));
    f = frame({
      title: d.title || '选择',
      kind: 'select',
      body: [filter, h('div.table-wrap', null, h('table.data.select', null,
        h('thead', null, h('tr', null, h('th'), d.columns.map((c) => h('th', null, c)))), body))],
      buttons: [ok, button('取消', () => done({ ok: false }))],
      keys(e) {
        if (e.key === 'Escape') {
          done({ ok: false });
          return true;
        }
        return false;
      },
    });
    filter.focus();
  });
}

// A value the host handed over: texts, dictionaries (as key/value tables, or as a table when
// every item is a record with the same keys) and recordsets.
export function renderValue(v) {
  if (v === null || v === undefined) return '';
  if (typeof v !== 'object') return String(v);
  if (v.table) return table(v.table.columns, v.table.rows.map((r) => r.map(plain)));
  if (v.dict) {
    const records = v.dict.map(([, x]) => x);
    if (records.length && records.every((x) => x && x.dict)) {
      const keys = records[0].dict.map(([k]) => k);
      const same = records.every((x) => x.dict.length === keys.length && x.dict.every(([k], i) => k === keys[i]));
      if (same) return table(keys, records.map((x) => x.dict.map(([, c]) => plain(c))));
    }
    return h('table.data.pairs', null, h('tbody', null, v.dict.map(([k, x]) => h('tr', null, h('th', null, k), h('td', null, renderValue(x))))));
  }
  return JSON.stringify(v);
}

function plain(v) {
  return v !== null && typeof v === 'object' ? renderValue(v) : v === null ? '' : String(v);
}

function item(dict, key) {
  if (!dict || !dict.dict) return undefined;
  const hit = dict.dict.find(([k]) => k.toLowerCase() === key.toLowerCase());
  return hit ? hit[1] : undefined;
}

// The records of a value: a recordset's rows, or a dictionary of records (dictionaries), each
// as a function from a field name (any letter case) to its value.
function records(v) {
  if (v && v.table) {
    const cols = v.table.columns.map((c) => c.toLowerCase());
    return v.table.rows.map((r) => (field) => r[cols.indexOf(field.toLowerCase())]);
  }
  if (v && v.dict) return v.dict.map(([, x]) => x).filter((x) => x && x.dict).map((x) => (field) => item(x, field));
  return [];
}

// The related-bill window: the bill's title items (FName / FValue) and the related records under
// the columns of the entry dictionary's "Header" (items of FName / FField, or caption to field).
export function relatedWindow(d) {
  const parts = [h('div.related-title', null, d.titleName)];
  const titles = d.titleDict && d.titleDict.dict ? d.titleDict.dict.map(([, x]) => x).filter((x) => item(x, 'FName') !== undefined) : [];
  if (titles.length) {
    parts.push(h('dl.related-items', null, titles.map((x) => [h('dt', null, plain(item(x, 'FName'))), h('dd', null, plain(item(x, 'FValue')))])));
  } else if (d.titleDict) {
    parts.push(renderValue(d.titleDict));
  }
  const header = item(d.entryDict, 'Header');
  const rest = d.entryDict && d.entryDict.dict ? d.entryDict.dict.filter(([k]) => k.toLowerCase() !== 'header') : [];
  const found = rest.map(([, x]) => x).find((x) => x && (x.table || x.dict));
  if (header && header.dict && found) {
    const columns = header.dict.map(([caption, x]) => (x && x.dict ? [plain(item(x, 'FName')), plain(item(x, 'FField'))] : [caption, plain(x)]));
    parts.push(table(columns.map(([caption]) => caption), records(found).map((get) => columns.map(([, field]) => plain(get(field) ?? null)))));
  } else if (d.entryDict) {
    parts.push(renderValue(d.entryDict));
  }
  return closeOnly(d.caption || '关联单据', 'related', parts);
}

export function dataWindow(d) {
  return closeOnly(d.caption || '数据', 'data', renderValue(d.data));
}

// A message of the browser host itself (an operation that failed); needs no answer.
export function notice(title, text) {
  return messageBox({ title, text, buttons: [1], icon: 48, defaultButton: 0 });
}

// Shows the host's dialog `d`; resolves with {answer} for the host, or {outcome} when a
// dialog that talks to the host while open saw the operation end.
export async function showDialog(d, exchange) {
  switch (d.kind) {
    case 'msgbox': return { answer: await messageBox(d) };
    case 'input': return { answer: await inputBox(d) };
    case 'rejectNote': return rejectNote(d, exchange);
    case 'list': return { answer: await listWindow(d) };
    case 'select': return { answer: await selectWindow(d) };
    case 'related': return { answer: await relatedWindow(d) };
    case 'data': return { answer: await dataWindow(d) };
    default: return { answer: null };
  }
}

export function toast(title, text) {
  const host = document.getElementById('toasts');
  const t = h('div.toast', null, title ? h('strong', null, title) : null, h('div', null, text));
  host.append(t);
  setTimeout(() => t.remove(), 5000);
}
