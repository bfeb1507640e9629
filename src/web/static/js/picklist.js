// The pick list of a base-data field: the records of the field's base table, searched by
// number and name as the person types. Resolves with the chosen record ({id, number, name})
// or null.
import { h } from './api.js';

export function pickList(client, key, row, caption, initial = '') {
  return new Promise((resolve) => {
    const search = h('input.filter', { type: 'search', placeholder: '编码或名称', value: initial });
    const body = h('tbody');
    let records = [];
    let current = 0;
    let asked = 0;
    const previous = document.activeElement;

    const done = (record) => {
      overlay.remove();
      if (previous && previous.isConnected) previous.focus();
      resolve(record);
    };
    const mark = () => {
      [...body.children].forEach((tr, i) => tr.classList.toggle('current', i === current));
      body.children[current]?.scrollIntoView({ block: 'nearest' });
    };
    const query = async () => {
      const mine = ++asked;
      const outcome = await client.run({ op: 'pick', key, row, q: search.value });
      if (mine !== asked || !outcome || !outcome.result || !outcome.result.rows) return;
      records = outcome.result.rows;
      current = 0;
      body.replaceChildren(...records.map((r, i) => {
        const tr = h('tr', { dataset: { number: r.number } }, h('td', null, r.number), h('td', null, r.name));
        tr.addEventListener('click', () => {
          current = i;
          mark();
        });
        tr.addEventListener('dblclick', () => done(r));
        return tr;
      }));
      mark();
    };
    let timer = 0;
    search.addEventListener('input', () => {
      clearTimeout(timer);
      timer = setTimeout(query, 120);
    });
    const box = h('div.dialog.picklist', { role: 'dialog', 'aria-label': caption, dataset: { kind: 'pick' } },
      h('div.dialog-title', null, `选择${caption}`),
      h('div.dialog-body', null, search,
        h('div.table-wrap', null, h('table.data', null, h('thead', null, h('tr', null, h('th', null, '编码'), h('th', null, '名称'))), body))),
      h('div.dialog-buttons', null,
        h('button', { type: 'button', onclick: () => done(records[current] || null) }, '确定'),
        h('button', { type: 'button', onclick: () => done(null) }, '取消')));
    const overlay = h('div.overlay', null, box);
    overlay.addEventListener('keydown', (e) => {
      e.stopPropagation();
      if (e.key === 'ArrowDown') current = Math.min(current + 1, records.length - 1);
      else if (e.key === 'ArrowUp') current = Math.max(current - 1, 0);
      else if (e.key === 'Enter') return done(records[current] || null);
      else if (e.key === 'Escape') return done(null);
      else return;
      e.preventDefault();
      mark();
    });
    document.getElementById('dialogs').append(overlay);
    search.focus();
    query();
  });
}
