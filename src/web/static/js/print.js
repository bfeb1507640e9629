// The printout of a bill: its title, the header's fields in the form's order, and each grid's
// rows under the grid's columns with the column totals, laid out for paper. The preview shows
// it with its buttons; print hands it to the browser's print at once.
import { h } from './api.js';

const STAMPS = { 1: '已审核', 2: '已关闭' };

function escape(text) {
  return String(text ?? '').replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[c]));
}

// A grid's table as markup: a bill of ten thousand rows is drawn in one go.
function table(grid) {
  const cls = (c) => (c.type === 'number' ? ' class="num"' : '');
  const head = `<thead><tr><th class="rowno">序号</th>${grid.columns.map((c) => `<th${cls(c)}>${escape(c.caption)}</th>`).join('')}</tr></thead>`;
  const rows = grid.rows.map((r, i) => `<tr><td class="rowno">${i + 1}</td>${r.map((t, j) => `<td${cls(grid.columns[j])}>${escape(t)}</td>`).join('')}</tr>`).join('');
  const foot = `<tfoot><tr><td class="rowno">合计</td>${grid.totals.map((t, j) => `<td${cls(grid.columns[j])}>${escape(t)}</td>`).join('')}</tr></tfoot>`;
  const el = h('table.print-rows');
  el.innerHTML = head + `<tbody>${rows}</tbody>` + foot;
  return el;
}

// Shows the printout `doc`; resolves when it is closed.
export function showPrint(doc) {
  return new Promise((resolve) => {
    const close = () => {
      view.remove();
      document.body.classList.remove('printing');
      window.removeEventListener('afterprint', afterPrint);
      resolve();
    };
    const afterPrint = () => {
      if (!doc.preview) close();
    };
    const actions = h('div.print-actions', null,
      h('button', { type: 'button', dataset: { action: 'print' }, onclick: () => window.print() }, '打印'),
      h('button', { type: 'button', dataset: { action: 'close' }, onclick: close }, '关闭'));
    const view = h('div.print-view', { role: 'dialog', 'aria-label': `${doc.title} 打印`, dataset: { preview: doc.preview ? '1' : '0' } },
      actions,
      h('article.print-page', null,
        h('h1.print-title', null, doc.title, STAMPS[doc.audited] ? h('span.print-stamp', null, STAMPS[doc.audited]) : null),
        h('dl.print-head', null, doc.head.map(([caption, text]) => h('div', null, h('dt', null, caption), h('dd', null, text)))),
        doc.grids.map(table)));
    view.addEventListener('keydown', (e) => {
      if (e.key === 'Escape') close();
    });
    document.body.append(view);
    document.body.classList.add('printing');
    actions.querySelector('button').focus();
    window.addEventListener('afterprint', afterPrint);
    if (!doc.preview) window.print();
  });
}
